#include "app/startup.h"

#include <commctrl.h>

#include "base/text.h"
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

} // namespace

int RunStartup(HINSTANCE instance, int showState) {
    // Held for the life of the first instance.
    UniqueKernelHandle mutex(CreateMutexA(nullptr, TRUE, "vantux"));
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND bar = FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE)) {
            SetForegroundWindow(bar);
            SendMessageA(bar, WM_APP_ACTIVATE, 0, 0);
        }
        return 0;
    }

    InitCommonControls();

    AppState app;
    app.instance = instance;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0';
    TrimToDirectory(path);
    SetProgramDirectory(app.paths, path);
    // Beside the program when its folder can be written, else in the user's folder.
    ChooseDataFolder(app.paths);

    LoadSettings(app.settings, app.paths.iniPath);
    EnumerateEngineFiles(app.catalogue, app.paths.dataDir, app.settings.DefaultSEF);
    if (!LoadStartupEngineFile(app)) {
        MessageBoxA(nullptr, "正常なデータファイル(*.sef)が見つかりません。", MORVEL_TITLE,
                    MB_OK | MB_ICONERROR);
        return 1;
    }

    RunSearchBar(app, showState);
    return 0;
}
