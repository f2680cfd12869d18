#include "ui/search_bar.h"

#include "app/globals.h"
#include "app/settings.h"
#include "app/text.h"
#include "engines/engine_files.h"
#include "ui/resource.h"

namespace {

HWND g_bar = nullptr;

int StoredEngineIndex(const char* fileName) {
    return static_cast<int>(GetPrivateProfileIntA("SEFIndex", fileName, 0, g_iniPath));
}

} // namespace

void FillEngineCombo(int index) {
    HWND combo = GetDlgItem(g_bar, IDC_ENGINE);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int k = 0; k < g_activeSet.count; ++k) {
        const std::string name = FieldText(g_activeSet.entries[k].Name);
        SendMessageA(combo, CB_INSERTSTRING, k, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (index < 0 || index >= g_activeSet.count) index = 0;
    SendMessageA(combo, CB_SETCURSEL, index, 0);
}

INT_PTR CALLBACK SearchBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        g_bar = wnd;
        SendDlgItemMessageA(wnd, IDC_KEYWORD, EM_LIMITTEXT, 120, 0);
        SendDlgItemMessageA(wnd, IDC_MODE, CB_INSERTSTRING, 0,
                            reinterpret_cast<LPARAM>("すべて含む"));
        SendDlgItemMessageA(wnd, IDC_MODE, CB_INSERTSTRING, 1,
                            reinterpret_cast<LPARAM>("どれか含む"));
        SendDlgItemMessageA(wnd, IDC_MODE, CB_SETCURSEL, 0, 0);
        FillEngineCombo(StoredEngineIndex(g_catalogue.names[g_catalogue.current]));
        return TRUE;
    }
    case WM_CLOSE:
        SaveSettings(wnd);
        EndDialog(wnd, 0);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    case WM_APP_ACTIVATE:
        ShowWindow(wnd, SW_RESTORE);
        SetForegroundWindow(wnd);
        return TRUE;
    default:
        (void)wParam;
        return FALSE;
    }
}
