// The program's one state object: what start-up establishes and every window works on. It is
// built by the start-up and handed down to each window; nothing of it is global.
#pragma once
#include <windows.h>

#include "base/settings.h"
#include "platform/win_text.h"
#include "engines/catalogue.h"
#include "engines/engine_entry.h"
#include "history/history_list.h"
#include "query/search_action.h"

// The program directory, the data directory (where the settings file and the engine files
// are read and written) and the files found there by name. Windows' own paths, UTF-16: any
// folder Windows allows.
struct ProgramPaths {
    wchar_t programDir[MAX_PATH] = {}; // ends with a backslash
    wchar_t dataDir[MAX_PATH] = {};    // ends with a backslash; the program directory unless it
                                       // cannot be written (platform/data_folder.h)
    wchar_t iniPath[MAX_PATH] = {};    // data directory + "vantu.ini"
    wchar_t helpPath[MAX_PATH] = {};   // program directory + "vantu.hlp"
};

// Sets the program directory and the paths built from it; the data directory is the program
// directory until SetDataDirectory says otherwise.
void SetProgramDirectory(ProgramPaths& paths, const wchar_t* dir);
// Sets the data directory (with its trailing backslash) and the settings file in it.
void SetDataDirectory(ProgramPaths& paths, const wchar_t* dir);

struct AppState {
    HINSTANCE instance = nullptr; // the module whose resources the windows use
    ProgramPaths paths;
    Settings settings;
    EngineFileCatalogue catalogue;
    EngineSet activeSet; // the bar's engines, read from the catalogue's current file
    SearchHistory history;
    LastSearch lastSearch = {WideKeyword(), -1, 0, false};
    // The entry last copied in the engine file editor; it outlives the editor's window and
    // counts as empty while its Name is empty.
    EngineEntry copiedEntry = {};
    EngineExtras copiedExtras = {}; // its keyword
    // The program's modal dialog in front of the bar, if any: activation requests from the
    // tray and from other processes go to it. Set only through ScopedFrontDialog.
    HWND frontDialog = nullptr;
};
