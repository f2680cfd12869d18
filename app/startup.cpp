#include "app/startup.h"

#include <commctrl.h>

#include "app/unregister.h"
#include "platform/app_state.h"
#include "platform/data_folder.h"
#include "platform/engine_store.h"
#include "platform/handles.h"
#include "platform/settings_file.h"
#include "protocol/bar_protocol.h"
#include "ui/bar/search_bar.h"

namespace {

// Loads the current file, else the first file of the catalogue that loads.
bool LoadStartupEngineFile(AppState& app) {
    EngineFileCatalogue& catalogue = app.catalogue;
    const int current = catalogue.current;
    if (catalogue.count > 0 && current >= 0 && current < kMaxEngineFiles &&
        catalogue.names[current][0] != '\0' &&
        LoadEngineFileByName(app.activeSet, app.paths.dataDir, catalogue.names[current]) >= 1)
        return true;
    for (int i = 0; i < catalogue.count && i < kMaxEngineFiles; ++i) {
        if (catalogue.names[i][0] == '\0') break;
        if (LoadEngineFileByName(app.activeSet, app.paths.dataDir, catalogue.names[i]) >= 1) {
            catalogue.current = i;
            return true;
        }
    }
    return false;
}

// The program directory: the folder of the program file, with its trailing backslash.
void FindProgramDirectory(ProgramPaths& paths) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    path[MAX_PATH - 1] = L'\0';
    wchar_t* name = path;
    for (wchar_t* c = path; *c; ++c)
        if (*c == L'\\') name = c + 1;
    *name = L'\0';
    SetProgramDirectory(paths, path);
}

} // namespace

int RunStartup(HINSTANCE instance, int showState, const StartSwitches& switches) {
    // The thread's one entry into COM and OLE, for everything the program does with them (the
    // keyword box's autocomplete, the XML parser, the bridge's registration entry points);
    // left when RunStartup returns, after every window and object has gone.
    OleSession ole;
    if (switches.unregister) {
        // Neither the instance lock nor any file: a running bar is not disturbed.
        ProgramPaths paths;
        FindProgramDirectory(paths);
        return RunUnregister(paths);
    }
    // Held for the life of the first instance.
    UniqueKernelHandle mutex(CreateMutexW(nullptr, TRUE, L"vantux"));
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        // A start at logon while the bar runs already leaves it where it is.
        if (switches.tray) return 0;
        if (HWND bar = FindWindowW(L"" MORVEL_BAR_CLASS, L"" MORVEL_TITLE)) {
            SetForegroundWindow(bar);
            SendMessageW(bar, WM_APP_ACTIVATE, 0, 0);
        }
        return 0;
    }

    InitCommonControls();

    AppState app;
    app.instance = instance;
    FindProgramDirectory(app.paths);
    // Beside the program when its folder can be written, else in the user's folder.
    ChooseDataFolder(app.paths);

    LoadSettings(app.settings, app.paths.iniPath);
    EnumerateEngineFiles(app.catalogue, app.paths.dataDir, app.settings.DefaultSEF);
    if (!LoadStartupEngineFile(app)) {
        MessageBoxW(nullptr, L"正常なデータファイル(*.sef)が見つかりません。", L"" MORVEL_TITLE,
                    MB_OK | MB_ICONERROR);
        return 1;
    }

    // At logon the bar keeps out of the way: in the tray, or minimised without a tray icon.
    if (switches.tray) showState = app.settings.TrayMode == 0 ? SW_HIDE : SW_SHOWMINNOACTIVE;
    RunSearchBar(app, showState);
    return 0;
}
