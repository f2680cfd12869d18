#include "ui/about_box.h"

#include <shellapi.h>

#include "app/globals.h"
#include "ui/open_dialog.h"
#include "ui/resource.h"

namespace {

WNDPROC g_previousLinkProc = nullptr;

// The home-page link: a hand pointer, and a click opens the page (the box stays open).
LRESULT CALLBACK LinkProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETCURSOR:
        // Shared cursor from the program's resources: not destroyed.
        SetCursor(LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_HAND_LINK)));
        return 0;
    case WM_LBUTTONDOWN:
        ShellExecuteA(GetParent(wnd), nullptr, MORVEL_HOME_PAGE, nullptr, nullptr, SW_SHOW);
        return 0;
    default:
        return CallWindowProcA(g_previousLinkProc, wnd, msg, wParam, lParam);
    }
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        SetOpenDialog(dlg);
        // LoadIcon gives the shared icon of the resource: nothing to destroy.
        SendDlgItemMessageA(
            dlg, IDC_ABOUT_ICON, STM_SETICON,
            reinterpret_cast<WPARAM>(LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_MORVEL))), 0);
        SetDlgItemTextA(dlg, IDC_ABOUT_LINK, MORVEL_HOME_PAGE);
        SetDlgItemTextA(dlg, IDC_ABOUT_NAME, MORVEL_TITLE);
        SetDlgItemTextA(dlg, IDC_ABOUT_VERSION, MORVEL_VERSION_TEXT);
        g_previousLinkProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(dlg, IDC_ABOUT_LINK), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ABOUT_OK) {
            SendMessageA(dlg, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE; // Escape (IDCANCEL) leaves the box open
    case WM_CLOSE:
        if (g_previousLinkProc) {
            SetWindowLongPtrA(GetDlgItem(dlg, IDC_ABOUT_LINK), GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(g_previousLinkProc));
            g_previousLinkProc = nullptr;
        }
        SetOpenDialog(nullptr);
        EndDialog(dlg, 0);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dlg, IDC_ABOUT_LINK)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 255));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void RunAboutBox(HWND owner) {
    DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc, 0);
}
