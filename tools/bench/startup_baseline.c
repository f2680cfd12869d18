/* Baselines for the start-up benchmark: the smallest modal dialog program, built the same
   way as vantu (MinGW, static, stripped), with a dialog of the search bar's size. Built with
   BASELINE_FULL it also loads what the search bar must load: common controls 6 through its
   manifest, the bar's two drop-down lists, a tooltip and a tray icon. */
#include <windows.h>
#ifdef BASELINE_FULL
#include <commctrl.h>
#include <shellapi.h>

static NOTIFYICONDATAA g_icon;

static void SetUpFull(HWND wnd) {
    InitCommonControls();
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, wnd,
                               NULL, GetModuleHandleA(NULL), NULL);
    TOOLINFOA ti = {0};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = wnd;
    ti.uId = (UINT_PTR)GetDlgItem(wnd, 1001);
    ti.lpszText = (LPSTR) "Baseline";
    SendMessageA(tip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
    g_icon.cbSize = sizeof g_icon;
    g_icon.hWnd = wnd;
    g_icon.uID = 1;
    g_icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    g_icon.uCallbackMessage = WM_APP + 100;
    g_icon.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    lstrcpynA(g_icon.szTip, "Baseline", sizeof g_icon.szTip);
    Shell_NotifyIconA(NIM_ADD, &g_icon);
}
#endif

static void Close(HWND wnd) {
#ifdef BASELINE_FULL
    Shell_NotifyIconA(NIM_DELETE, &g_icon);
#endif
    EndDialog(wnd, 0);
}

static INT_PTR CALLBACK BaselineProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
#ifdef BASELINE_FULL
        SetUpFull(wnd);
#endif
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) Close(wnd);
        return TRUE;
    case WM_CLOSE:
        Close(wnd);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show) {
    (void)prev;
    (void)cmd;
    (void)show;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(100), NULL, BaselineProc, 0);
    return 0;
}
