// The settings file "vantu.ini": read once at start-up, written once at a real exit.
#pragma once
#include <windows.h>

#include "base/settings.h"

// Reads every setting; a missing key takes its default.
void LoadSettings(Settings& s, const char* iniPath);

// What the search bar contributes at its real exit besides the settings.
struct BarSnapshot {
    POINT position;          // the bar's restored position on the screen
    const char* currentFile; // the current engine file's name ("" for none)
    int engineSelection;     // the engine selected in the bar, -1 for none
};

// A window's restored (not minimised) position on the screen, as the settings file keeps it.
POINT RestoredPosition(HWND window);

// Writes the settings, the bar's position and, unless turned off, the default engine file and
// the selected engine of the current file; empties the history section but for its size.
// False when any of it could not be written.
bool SaveSettings(const Settings& s, const char* iniPath, const BarSnapshot& bar);

// False when the key could not be written.
bool WriteIntKey(const char* iniPath, const char* section, const char* key, int value);
