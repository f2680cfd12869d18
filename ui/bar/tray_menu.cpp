#include "ui/bar/tray_menu.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/text.h"
#include "history/history_store.h"
#include "platform/handles.h"
#include "platform/win_text.h"
#include "ui/common/engine_file_menu.h"
#include "ui/common/resource.h"

namespace {

constexpr UINT kTrayIconId = 1;

UniqueMenu BuildMainMenu(const AppState& app, bool withSearch) {
    UniqueMenu menu(CreatePopupMenu());
    if (withSearch) {
        UniqueMenu search(CreatePopupMenu());
        for (int k = 0; k < app.activeSet.count; ++k) {
            const auto name = FromSjisField<kNameSize>(app.activeSet.entries[k].Name);
            AppendMenuW(search.get(), MF_STRING, IDM_ENGINE_FIRST + k, name.c_str());
        }
        AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(search.release()),
                    L"検索(&S)");
    }
    if (app.settings.Max > 0) {
        UniqueMenu history(CreatePopupMenu());
        AppendHistoryMenuItems(history.get(), app.history, app.settings.Max);
        AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(history.release()),
                    L"検索履歴(&I)");
    }
    UniqueMenu files(CreatePopupMenu());
    AppendEngineFileItems(files.get(), app.catalogue, app.catalogue.current,
                          EngineFileLabels::WithoutExtension);
    AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(files.release()),
                L"エンジンファイル変更(&C)");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IDM_SETTINGS, L"設定(&O)");
    AppendMenuW(menu.get(), MF_STRING, IDM_EDITOR, L"エンジンファイル編集(&E)");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IDM_HELP, L"ヘルプ(&H)");
    AppendMenuW(menu.get(), MF_STRING, IDM_ABOUT, L"Morvelについて(&A)");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IDM_EXIT, L"終了(&X)");
    return menu;
}

UniqueMenu BuildEngineFileMenu(const AppState& app) {
    UniqueMenu menu(CreatePopupMenu());
    AppendEngineFileItems(menu.get(), app.catalogue, app.catalogue.current,
                          EngineFileLabels::WithoutExtension);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IDM_EDITOR, L"編集(&E)");
    return menu;
}

// Tracks the menu at pt; the chosen item arrives as WM_COMMAND. The menu and its
// submenus are destroyed when the owner goes out of scope.
void TrackMenu(HWND bar, UniqueMenu menu, POINT pt) {
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, bar,
                   nullptr);
    PostMessageW(bar, WM_NULL, 0, 0);
}

// A keyboard request (lParam -1) puts the menu at the control's centre, else at the cursor.
POINT MenuPosition(HWND control, LPARAM position) {
    POINT pt = {};
    if (position == -1) {
        RECT r = {};
        GetWindowRect(control, &r);
        pt.x = r.left + (r.right - r.left) / 2;
        pt.y = r.top + (r.bottom - r.top) / 2;
    } else {
        GetCursorPos(&pt);
    }
    return pt;
}

void AddTool(const SearchBar& s, HWND tip, int controlId, const wchar_t* text) {
    TOOLINFOW ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = s.wnd;
    ti.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(s.wnd, controlId));
    ti.hinst = s.app.instance;
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

} // namespace

void SetTrayIcon(const SearchBar& bar, bool present) {
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = bar.wnd;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_APP_TRAYNOTIFY;
    nid.hIcon = bar.smallIcon.get();
    lstrcpynW(nid.szTip, L"" MORVEL_TITLE, sizeof nid.szTip / sizeof nid.szTip[0]);
    Shell_NotifyIconW(present ? NIM_ADD : NIM_DELETE, &nid);
}

BOOL HandleTrayNotify(SearchBar& bar, LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        ActivateFront(bar);
        return TRUE;
    case WM_RBUTTONUP: {
        if (bar.app.frontDialog) {
            ActivateFront(bar);
            return TRUE;
        }
        SetForegroundWindow(bar.wnd); // a hidden bar stays hidden
        const bool withSearch = GetWindowTextLengthW(bar.keyword) > 0;
        POINT pt = {};
        GetCursorPos(&pt);
        TrackMenu(bar.wnd, BuildMainMenu(bar.app, withSearch), pt);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL HandleContextMenu(SearchBar& bar, HWND control, LPARAM position) {
    if (control == GetDlgItem(bar.wnd, IDC_SEARCH)) {
        TrackMenu(bar.wnd, BuildMainMenu(bar.app, false), MenuPosition(control, position));
        return TRUE;
    }
    if (control == bar.engine) {
        TrackMenu(bar.wnd, BuildEngineFileMenu(bar.app), MenuPosition(control, position));
        return TRUE;
    }
    return FALSE;
}

void ChangeSystemMenu(HWND bar) {
    HMENU sys = GetSystemMenu(bar, FALSE); // the window's own copy: freed with the window
    DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
    InsertMenuW(sys, 0, MF_BYPOSITION | MF_STRING, IDM_SETTINGS, L"設定(&S)");
    InsertMenuW(sys, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

// One tip window for the four controls: every window the bar owns is moved along with it
// each time the bar is restored or activated, so the bar owns as few as it can.
void CreateTooltips(const SearchBar& bar) {
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar.wnd, nullptr,
                               bar.app.instance, nullptr);
    if (!tip) return; // owned by the bar: it goes when the bar is destroyed
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 300);
    AddTool(bar, tip, IDC_ENGINE, L"使用する検索エンジン\r\n(右クリックでエンジンファイル変更)");
    AddTool(bar, tip, IDC_MODE, L"検索オプション");
    AddTool(bar, tip, IDC_KEYWORD, L"検索キーワードを入力\r\n複数あるときはスペースで区切る");
    AddTool(bar, tip, IDC_SEARCH, L"検索開始\n(右クリックでメニュー表示)");
}

HMENU AppendHistoryMenuItems(HMENU menu, const SearchHistory& history, int max) {
    const int limit = StoredHistoryLimit(max);
    int n = 0;
    for (; n < limit; ++n) {
        const char16_t* text = HistoryItemAt(history, n);
        if (!text) break;
        AppendMenuW(menu, MF_STRING, IDM_HISTORY_FIRST + n,
                    reinterpret_cast<const wchar_t*>(HistoryMenuText(text).c_str()));
    }
    if (n == 0) AppendMenuW(menu, MF_STRING | MF_DISABLED | MF_GRAYED, IDM_HISTORY_NONE, L"(なし)");
    return menu;
}
