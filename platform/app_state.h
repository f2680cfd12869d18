// The program's one state object: what start-up establishes and every window works on. It is
// built by the start-up and handed down to each window; nothing of it is global.
#pragma once
#include <windows.h>

#include "base/settings.h"
#include "engines/catalogue.h"
#include "engines/engine_entry.h"
#include "history/history_list.h"
#include "query/search_action.h"

// The program directory, the data directory (where the settings file and the engine files
// are read and written) and the files found there by name.
struct ProgramPaths {
    char programDir[MAX_PATH] = {}; // ends with a backslash
    char dataDir[MAX_PATH] = {};    // ends with a backslash; the program directory unless it
                                    // cannot be written (platform/data_folder.h)
    char iniPath[MAX_PATH] = {};    // data directory + "vantu.ini"
    char helpPath[MAX_PATH] = {};   // program directory + "vantu.hlp"
};

// Sets the program directory and the paths built from it; the data directory is the program
// directory until SetDataDirectory says otherwise.
void SetProgramDirectory(ProgramPaths& paths, const char* dir);
// Sets the data directory (with its trailing backslash) and the settings file in it.
void SetDataDirectory(ProgramPaths& paths, const char* dir);

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
    // The program's modal dialog in front of the bar, if any: activation requests from the
    // tray and from other processes go to it. Set only through ScopedFrontDialog.
    HWND frontDialog = nullptr;
};
