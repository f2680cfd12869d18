// The settings file "vantu.ini": read once at start-up, written once at a real exit. It is
// Shift-JIS on every system (platform/profile_file.h).
#pragma once
#include <windows.h>

#include "base/settings.h"
#include "history/history_list.h"

// Reads every setting; a missing key takes its default.
void LoadSettings(Settings& s, const wchar_t* iniPath);

// What the search bar contributes at its real exit besides the settings.
struct BarSnapshot {
    POINT position;          // the bar's restored position on the screen
    const char* currentFile; // the current engine file's name ("" for none)
    int engineSelection;     // the engine selected in the bar, -1 for none
};

// A window's restored (not minimised) position on the screen, as the settings file keeps it.
POINT RestoredPosition(HWND window);

// Writes the settings, the bar's position and, unless turned off, the default engine file and
// the selected engine of the current file, and the history (its section holds its size and
// the first Max entries), in one replacement of the file. False when any of it could not be
// written.
bool SaveSettings(const Settings& s, const wchar_t* iniPath, const BarSnapshot& bar,
                  const SearchHistory& history);
// The history as the settings file keeps it (history/history_store.h).
void LoadHistoryFile(SearchHistory& history, uint8_t& max, const wchar_t* iniPath);
