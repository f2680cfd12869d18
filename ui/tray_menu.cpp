#include "ui/tray_menu.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/globals.h"
#include "app/handles.h"
#include "app/settings.h"
#include "app/text.h"
#include "engines/engine_files.h"
#include "history/history.h"
#include "query/search.h"
#include "ui/bar_logic.h"
#include "ui/editor_window.h"
#include "ui/open_dialog.h"
#include "ui/resource.h"
#include "ui/search_bar.h"
#include "ui/settings_sheet.h"

namespace {

constexpr UINT kTrayIconId = 1;

// The engine file list: one item per used catalogue slot, the current file checked.
void AppendEngineFileItems(HMENU menu) {
    const int files = CatalogueSize(g_catalogue);
    for (int n = 0; n < files; ++n) {
        const auto label = EngineFileLabel(g_catalogue.names[n]);
        UINT flags = MF_STRING;
        if (n == g_catalogue.current) flags |= MF_CHECKED;
        AppendMenuA(menu, flags, IDM_ENGINE_FILE_FIRST + n, label.c_str());
    }
}

UniqueMenu BuildMainMenu(bool withSearch) {
    UniqueMenu menu(CreatePopupMenu());
    if (withSearch) {
        UniqueMenu search(CreatePopupMenu());
        for (int k = 0; k < g_activeSet.count; ++k) {
            const auto name = FieldText(g_activeSet.entries[k].Name);
            AppendMenuA(search.get(), MF_STRING, IDM_ENGINE_FIRST + k, name.c_str());
        }
        AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(search.release()), "検索(&S)");
    }
    if (g_settings.Max > 0) {
        UniqueMenu history(CreatePopupMenu());
        AppendHistoryMenuItems(history.get());
        AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(history.release()),
                    "検索履歴(&I)");
    }
    UniqueMenu files(CreatePopupMenu());
    AppendEngineFileItems(files.get());
    AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(files.release()),
                "エンジンファイル変更(&C)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, IDM_SETTINGS, "設定(&O)");
    AppendMenuA(menu.get(), MF_STRING, IDM_EDITOR, "エンジンファイル編集(&E)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, IDM_HELP, "ヘルプ(&H)");
    AppendMenuA(menu.get(), MF_STRING, IDM_ABOUT, "Morvelについて(&A)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, IDM_EXIT, "終了(&X)");
    return menu;
}

UniqueMenu BuildEngineFileMenu() {
    UniqueMenu menu(CreatePopupMenu());
    AppendEngineFileItems(menu.get());
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, IDM_EDITOR, "編集(&E)");
    return menu;
}

// Tracks the menu at pt; the chosen item arrives as WM_COMMAND. The menu and its
// submenus are destroyed when the owner goes out of scope.
void TrackMenu(HWND bar, UniqueMenu menu, POINT pt) {
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, bar,
                   nullptr);
    PostMessageA(bar, WM_NULL, 0, 0);
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

void AddTool(HWND bar, int controlId, const char* text) {
    HWND control = GetDlgItem(bar, controlId);
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar, nullptr,
                               g_instance, nullptr);
    if (!tip) return; // owned by the bar: it goes when the bar is destroyed
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = bar;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.hinst = g_instance;
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 300);
}

} // namespace

void SetTrayIcon(HWND bar, bool present) {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_APP_TRAYNOTIFY;
    nid.hIcon = SearchBarSmallIcon();
    CopyBounded(nid.szTip, sizeof nid.szTip, MORVEL_TITLE);
    Shell_NotifyIconA(present ? NIM_ADD : NIM_DELETE, &nid);
}

BOOL HandleTrayNotify(HWND bar, LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        ActivateFront();
        return TRUE;
    case WM_RBUTTONUP: {
        if (OpenDialog()) {
            ActivateFront();
            return TRUE;
        }
        SetForegroundWindow(bar); // a hidden bar stays hidden
        const bool withSearch = GetWindowTextLengthA(GetDlgItem(bar, IDC_KEYWORD)) > 0;
        POINT pt = {};
        GetCursorPos(&pt);
        TrackMenu(bar, BuildMainMenu(withSearch), pt);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL HandleContextMenu(HWND bar, HWND control, LPARAM position) {
    if (control == GetDlgItem(bar, IDC_SEARCH)) {
        TrackMenu(bar, BuildMainMenu(false), MenuPosition(control, position));
        return TRUE;
    }
    if (control == GetDlgItem(bar, IDC_ENGINE)) {
        TrackMenu(bar, BuildEngineFileMenu(), MenuPosition(control, position));
        return TRUE;
    }
    return FALSE;
}

void ChangeSystemMenu(HWND bar) {
    HMENU sys = GetSystemMenu(bar, FALSE); // the window's own copy: freed with the window
    DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
    InsertMenuA(sys, 0, MF_BYPOSITION | MF_STRING, IDM_SETTINGS, "設定(&S)");
    InsertMenuA(sys, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void CreateTooltips(HWND bar) {
    AddTool(bar, IDC_ENGINE, "使用する検索エンジン\r\n(右クリックでエンジンファイル変更)");
    AddTool(bar, IDC_MODE, "検索オプション");
    AddTool(bar, IDC_KEYWORD, "検索キーワードを入力\r\n複数あるときはスペースで区切る");
    AddTool(bar, IDC_SEARCH, "検索開始\n(右クリックでメニュー表示)");
}

void RunSettingsCommand(HWND bar) {
    // Only another process can ask while a dialog is open: a second sheet over the first
    // would let each confirm over the other's edits, so the open one comes forward instead.
    if (OpenDialog()) {
        ActivateFront();
        return;
    }
    RestoreSearchBar();
    if (ShowSettingsSheet(bar)) {
        SetHideOnClose(g_settings.NotWinClose != 0);
        SetTrayIcon(bar, g_settings.TrayMode == 0);
    }
    UpdateHistoryCompletion();
    SetFocus(GetDlgItem(bar, IDC_KEYWORD));
}

// The engine file editor: the bar's engine file is noted by name, since the editor may add
// and remove catalogue names; afterwards the bar finds it again (or falls back to slot 0)
// and reloads it from disk, keeping the selected position.
void RunEditorCommand(HWND bar) {
    if (OpenDialog()) { // only another process can ask while a dialog is open
        ActivateFront();
        return;
    }
    char noted[kCatalogueNameSize] = {};
    if (g_catalogue.current >= 0 && g_catalogue.current < kMaxEngineFiles)
        CopyBounded(noted, sizeof noted, g_catalogue.names[g_catalogue.current]);
    const int selection =
        static_cast<int>(SendDlgItemMessageA(bar, IDC_ENGINE, CB_GETCURSEL, 0, 0));
    RestoreSearchBar();
    OpenEngineFileEditor(bar);
    g_lastSearch.engine = -1;
    g_catalogue.current = 0;
    const int slot = FindCatalogueName(g_catalogue, noted, CompareNames);
    if (slot >= 0) g_catalogue.current = slot;
    if (LoadEngineFileByName(g_catalogue.names[g_catalogue.current]) < 1) {
        MessageBoxA(bar, "エンジンデータ切り替えに失敗しました。", MORVEL_TITLE,
                    MB_OK | MB_ICONERROR);
        return;
    }
    FillEngineCombo(selection);
    SetFocus(GetDlgItem(bar, IDC_KEYWORD));
}
