/* Baseline for the summon benchmark: the "loaded" dialog of the start-up benchmark (common
   controls 6 through the bar's manifest, the bar's two drop-down lists, a tooltip, a tray
   icon) with an edit box holding some text, registering the summon key given as its argument
   (the hotkey control's value: low byte the virtual key, high byte HOTKEYF_* modifiers). On
   the key it does the least a summons must: restores itself, comes to the front, selects the
   box's text and focuses it. */
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdlib.h>

#define BOX_ID 1001
#define KEY_ID 1

static NOTIFYICONDATAA g_icon;
static UINT g_key;

static void SetUp(HWND wnd) {
    InitCommonControls();
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, wnd,
                               NULL, GetModuleHandleA(NULL), NULL);
    TOOLINFOA ti = {0};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = wnd;
    ti.uId = (UINT_PTR)GetDlgItem(wnd, BOX_ID);
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
    SetDlgItemTextA(wnd, BOX_ID, "morvel summon baseline");
    const UINT hot = g_key >> 8;
    const UINT mods = ((hot & HOTKEYF_SHIFT) ? MOD_SHIFT : 0) |
                      ((hot & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
                      ((hot & HOTKEYF_ALT) ? MOD_ALT : 0);
    RegisterHotKey(wnd, KEY_ID, mods, g_key & 0xFF);
}

static void Close(HWND wnd) {
    UnregisterHotKey(wnd, KEY_ID);
    Shell_NotifyIconA(NIM_DELETE, &g_icon);
    EndDialog(wnd, 0);
}

static INT_PTR CALLBACK BaselineProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        SetUp(wnd);
        return TRUE;
    case WM_HOTKEY:
        if (wParam != KEY_ID) return FALSE;
        ShowWindow(wnd, SW_RESTORE);
        SetForegroundWindow(wnd);
        SendDlgItemMessageA(wnd, BOX_ID, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(wnd, BOX_ID));
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
    (void)show;
    g_key = (UINT)strtoul(cmd, NULL, 0);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(100), NULL, BaselineProc, 0);
    return 0;
}
