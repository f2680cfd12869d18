#include "app/startup.h"

#include <commctrl.h>

#include "app/globals.h"
#include "app/settings.h"
#include "app/text.h"
#include "engines/engine_files.h"
#include "ui/resource.h"
#include "ui/search_bar.h"

namespace {

// Loads the current file, else the first file of the catalogue that loads.
bool LoadStartupEngineFile() {
    const int current = g_catalogue.current;
    if (g_catalogue.count > 0 && current >= 0 && current < kMaxEngineFiles &&
        g_catalogue.names[current][0] != '\0' &&
        LoadEngineFileByName(g_catalogue.names[current]) >= 1)
        return true;
    for (int i = 0; i < g_catalogue.count && i < kMaxEngineFiles; ++i) {
        if (g_catalogue.names[i][0] == '\0') break;
        if (LoadEngineFileByName(g_catalogue.names[i]) >= 1) {
            g_catalogue.current = i;
            return true;
        }
    }
    return false;
}

} // namespace

int RunStartup(HINSTANCE instance, int /*showState*/) {
    g_instance = instance;

    // Held for the life of this process; never released or closed.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "vantux");
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND bar = FindWindowA("#32770", MORVEL_TITLE)) {
            SetForegroundWindow(bar);
            SendMessageA(bar, WM_APP_ACTIVATE, 0, 0);
        }
        return 0;
    }

    InitCommonControls();

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0';
    TrimToDirectory(path);
    SetProgramDirectory(path);

    g_activeSet = EngineSet();
    LoadSettings();
    EnumerateEngineFiles();
    if (!LoadStartupEngineFile()) {
        MessageBoxA(nullptr, "正常なデータファイル(*.sef)が見つかりません。", MORVEL_TITLE,
                    MB_OK | MB_ICONERROR);
        return 1;
    }

    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SEARCHBAR), nullptr, SearchBarProc, 0);

    g_activeSet = EngineSet();
    return 0;
}
