#include "ui/common/about_box.h"

#include <shellapi.h>

#include "base/text.h"
#include "morvel_version.h"
#include "ui/common/front_dialog.h"
#include "ui/common/resource.h"
#include "platform/win_text.h"
#include "ui/common/window_helpers.h"

namespace {

struct AboutBox {
    AppState& app;
    ScopedFrontDialog front;
    WindowSubclass link;
};

// The home-page link: a hand pointer, and a click opens the page (the box stays open).
LRESULT CALLBACK LinkProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    switch (msg) {
    case WM_SETCURSOR:
        // Shared cursor from the program's resources: not destroyed.
        SetCursor(LoadCursorW(reinterpret_cast<HINSTANCE>(data), MAKEINTRESOURCEW(IDC_HAND_LINK)));
        return 0;
    case WM_LBUTTONDOWN:
        ShellExecuteW(GetParent(wnd), nullptr, L"" MORVEL_HOME_PAGE, nullptr, nullptr, SW_SHOW);
        return 0;
    default:
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
}

void Init(HWND dlg, AboutBox& box) {
    box.front.Set(dlg);
    HINSTANCE instance = box.app.instance;
    // LoadIcon gives the shared icon of the resource: nothing to destroy.
    SendDlgItemMessageW(dlg, IDC_ABOUT_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_MORVEL))),
                        0);
    SetDlgItemTextW(dlg, IDC_ABOUT_LINK, L"" MORVEL_HOME_PAGE);
    SetDlgItemTextW(dlg, IDC_ABOUT_NAME, L"" MORVEL_TITLE);
    SetDlgItemTextW(dlg, IDC_ABOUT_VERSION, L"" MORVEL_VERSION_TEXT);
    // Where the settings and the engine files are kept (a long path is shortened in the
    // middle on screen; the text is whole).
    WinText<MAX_PATH + 32> data(L"データの保存先: ");
    data.Append(View(box.app.paths.dataDir));
    SetDlgItemTextW(dlg, IDC_ABOUT_DATA, data.c_str());
    box.link.Install(GetDlgItem(dlg, IDC_ABOUT_LINK), LinkProc,
                     reinterpret_cast<DWORD_PTR>(instance));
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    AboutBox* box = BoundState<AboutBox>(dlg, msg, lParam);
    if (!box) return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        Init(dlg, *box);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ABOUT_OK) {
            SendMessageW(dlg, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE; // Escape (IDCANCEL) leaves the box open
    case WM_CLOSE:
        box->link.Remove();
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

void RunAboutBox(HWND owner, AppState& app) {
    AboutBox box{app, ScopedFrontDialog(app.frontDialog), {}};
    DialogBoxParamW(app.instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc,
                    reinterpret_cast<LPARAM>(&box));
}
