#include "ui/search_bar.h"

#include "app/globals.h"
#include "app/handles.h"
#include "app/settings.h"
#include "app/text.h"
#include "engines/engine_files.h"
#include "history/history.h"
#include "query/search.h"
#include "ui/about_box.h"
#include "ui/bar_logic.h"
#include "ui/history_complete.h"
#include "ui/hotkey_logic.h"
#include "ui/open_dialog.h"
#include "ui/resource.h"
#include "ui/tray_menu.h"

namespace {

HWND g_bar = nullptr;
HWND g_keyword = nullptr;
HWND g_mode = nullptr;
HWND g_engine = nullptr;
UINT g_taskbarCreated = 0;
UniqueIcon g_smallIcon;
UniqueIcon g_bigIcon;
int g_hideOnClose = 0;
WNDPROC g_previousEditProc = nullptr;
HWND g_openDialog = nullptr;
// Set when the starting process asked for a hidden start (the browser bridge does):
// the dialog manager's own first show is then refused until something restores the bar.
bool g_stayHidden = false;
// The summon key as registered now (0: none), and its registration.
uint16_t g_summonValue = 0;
HotKeyRegistration g_summonKey;
// The past keywords offered in the keyword box while typing.
HistoryCompletion g_completion;

int StoredEngineIndex(const char* fileName) {
    return static_cast<int>(GetPrivateProfileIntA("SEFIndex", fileName, 0, g_iniPath));
}

const char* CurrentFileName() {
    const int n = g_catalogue.current;
    if (n < 0 || n >= kMaxEngineFiles) return "";
    return g_catalogue.names[n];
}

int EngineSelection() {
    return static_cast<int>(SendMessageA(g_engine, CB_GETCURSEL, 0, 0));
}

void SelectEngine(int index) {
    SendMessageA(g_engine, CB_SETCURSEL, index, 0);
    ApplyModeRule(index);
}

// The keyword box's subclass: Page Up and Page Down step through the engines, with Shift
// through the engine files. Neither wraps around, and no search runs.
// It lies beneath the autocomplete object's own subclass, which takes the page keys and
// Enter only while its drop-down is open.
LRESULT CALLBACK PageKeyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETDLGCODE && lParam) {
        // Escape closes an open drop-down instead of reaching the dialog manager.
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE && g_completion.DropDownOpen())
            return CallWindowProcA(g_previousEditProc, wnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
    }
    if (msg == WM_KEYDOWN && (wParam == VK_PRIOR || wParam == VK_NEXT)) {
        const int step = wParam == VK_NEXT ? 1 : -1;
        if (GetKeyState(VK_SHIFT) < 0) {
            const int target =
                PageStepTarget(g_catalogue.current, step, CatalogueSize(g_catalogue));
            if (target >= 0) SwitchEngineFile(target);
        } else {
            const int target = PageStepTarget(EngineSelection(), step, g_activeSet.count);
            if (target >= 0) SelectEngine(target);
        }
        return 0;
    }
    return CallWindowProcA(g_previousEditProc, wnd, msg, wParam, lParam);
}

void TakeHistoryItem(int n) {
    const char* text = HistoryItemAt(g_history, n);
    if (!text) return; // only another process can ask for an item that is not there
    SetWindowTextA(g_keyword, text);
    RestoreSearchBar();
    SetForegroundWindow(g_bar);
    SendMessageA(g_keyword, EM_SETSEL, 0, -1);
    SetFocus(g_keyword);
}

void RestorePosition() {
    const int x = ClampStartCoordinate(GetPrivateProfileIntA("Window", "PosX", 0, g_iniPath),
                                       GetSystemMetrics(SM_CXSCREEN), kLowestPosX);
    const int y = ClampStartCoordinate(GetPrivateProfileIntA("Window", "PosY", 0, g_iniPath),
                                       GetSystemMetrics(SM_CYSCREEN), kLowestPosY);
    SetWindowPos(g_bar, g_settings.ShowMode ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, 0, 0,
                 SWP_NOSIZE);
}

bool StartedHidden() {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    return (si.dwFlags & STARTF_USESHOWWINDOW) && si.wShowWindow == SW_HIDE;
}

BOOL SetUp(HWND wnd) {
    g_bar = wnd;
    g_mode = GetDlgItem(wnd, IDC_MODE);
    g_engine = GetDlgItem(wnd, IDC_ENGINE);
    g_keyword = GetDlgItem(wnd, IDC_KEYWORD);
    g_stayHidden = StartedHidden();
    g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    g_hideOnClose = g_settings.NotWinClose ? 1 : 0;

    g_smallIcon.reset(static_cast<HICON>(LoadImageA(g_instance, MAKEINTRESOURCEA(IDI_MORVEL),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), 0)));
    g_bigIcon.reset(static_cast<HICON>(LoadImageA(g_instance, MAKEINTRESOURCEA(IDI_MORVEL),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), 0)));
    SendMessageA(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_bigIcon.get()));
    SendMessageA(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_smallIcon.get()));

    SendMessageA(g_keyword, EM_LIMITTEXT, 120, 0);
    SendMessageA(g_mode, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("すべて含む"));
    SendMessageA(g_mode, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("どれか含む"));
    SendMessageA(g_mode, CB_SETCURSEL, 0, 0);

    if (!g_settings.TipMode) CreateTooltips(wnd);

    g_previousEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g_keyword, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PageKeyProc)));

    FillEngineCombo(StoredEngineIndex(CurrentFileName()));
    LoadHistory();
    RestorePosition();
    ChangeSystemMenu(wnd);
    SetTrayIcon(wnd, g_settings.TrayMode == 0);
    UpdateHistoryCompletion();
    SetSummonHotKey(g_settings.HotKey); // a key taken meanwhile only goes unregistered
    return TRUE;
}

void OfferKeywords(OfferedKeywords& keywords) {
    keywords.count = 0;
    for (int n = 0; n < g_settings.Max && n < kHistoryLimit; ++n) {
        const char* text = HistoryItemAt(g_history, n);
        if (!text) break;
        CopyBounded(keywords.text[keywords.count++], kHistoryTextSize, text);
    }
}

// The window that comes to the front, shown and restored: the open dialog, else the bar.
HWND RestoreFront() {
    HWND target = g_openDialog ? g_openDialog : g_bar;
    if (!target) return nullptr;
    if (target == g_bar)
        RestoreSearchBar();
    else
        ShowWindow(target, SW_RESTORE);
    return target;
}

// The summon key: the open dialog comes forward, else the bar with its keyword selected
// and focused; a message box that a window holds open comes forward in its place.
void Summon() {
    HWND target = RestoreFront();
    if (!target) return;
    if (!IsWindowEnabled(target)) {
        SetForegroundWindow(GetLastActivePopup(target));
        return;
    }
    SetForegroundWindow(target);
    if (target == g_bar) {
        SendMessageA(g_keyword, EM_SETSEL, 0, -1);
        SetFocus(g_keyword);
    }
}

// The real close: everything the program keeps is written back.
void ExitSequence(HWND wnd) {
    g_summonKey.reset();
    g_summonValue = 0;
    g_completion.Enable(g_keyword, false, nullptr);
    // With the autocomplete object's subclass above it, the page-key procedure stays in the
    // chain (passing everything on) until the edit is destroyed.
    if (g_previousEditProc &&
        GetWindowLongPtrA(g_keyword, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(PageKeyProc)) {
        SetWindowLongPtrA(g_keyword, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previousEditProc));
        g_previousEditProc = nullptr;
    }
    SetTrayIcon(wnd, false);
    SaveSettings(wnd);
    SaveHistory();
    WinHelpA(wnd, g_helpPath, HELP_QUIT, 0);
}

void CloseForGood(HWND wnd) {
    g_hideOnClose = 0;
    SendMessageA(wnd, WM_CLOSE, 0, 0);
}

BOOL OnCommand(HWND wnd, WPARAM wParam) {
    const BarCommandTarget c =
        ClassifyBarCommand(LOWORD(wParam), HIWORD(wParam), g_activeSet.count);
    switch (c.command) {
    case BarCommand::EngineFile:
        SwitchEngineFile(c.index);
        return TRUE;
    case BarCommand::History:
        TakeHistoryItem(c.index);
        return TRUE;
    case BarCommand::Engine:
        SelectEngine(c.index);
        RunSearch(false, wnd);
        return TRUE;
    case BarCommand::Search:
        g_completion.CloseDropDown(); // Enter searches for what the box shows
        RunSearch(false, wnd);
        return TRUE;
    case BarCommand::EngineCombo:
        if (g_settings.AutoSearch) RunSearch(true, wnd);
        ApplyModeRule(EngineSelection());
        return TRUE;
    case BarCommand::Exit:
        CloseForGood(wnd);
        return TRUE;
    case BarCommand::Help:
        WinHelpA(wnd, g_helpPath, HELP_FINDER, 0);
        return TRUE;
    case BarCommand::About:
        RestoreSearchBar();
        RunAboutBox(wnd);
        return TRUE;
    case BarCommand::Settings:
        RunSettingsCommand(wnd);
        return TRUE;
    case BarCommand::Editor:
        RunEditorCommand(wnd);
        return TRUE;
    case BarCommand::None:
        break;
    }
    return FALSE; // Escape (IDCANCEL) among them: the bar neither closes nor hides
}

// WM_COPYDATA: at most 119 bytes of the text, never read beyond cbData.
void SetKeywordFromCopyData(const COPYDATASTRUCT* cds) {
    char text[120] = {};
    if (cds && cds->lpData)
        CopyBounded(text, sizeof text, static_cast<const char*>(cds->lpData), cds->cbData);
    SetWindowTextA(g_keyword, text);
    SendMessageA(g_keyword, EM_SETSEL, 0, -1);
}

void OnSetOption(WPARAM wParam) {
    const int value = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case 0: // mode, without a range check: another value leaves no selection (some combo
            // boxes keep the old selection for an index past their items, so clear it)
        if (SendMessageA(g_mode, CB_SETCURSEL, value, 0) == CB_ERR)
            SendMessageA(g_mode, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        break;
    case 1:
        if (value < g_activeSet.count) SelectEngine(value);
        break;
    case 2:
        RunSearch(false, g_bar);
        break;
    default:
        break;
    }
}

} // namespace

HWND SearchBarWindow() {
    return g_bar;
}
HICON SearchBarSmallIcon() {
    return g_smallIcon.get();
}

HWND OpenDialog() {
    return g_openDialog;
}
void SetOpenDialog(HWND dialog) {
    g_openDialog = dialog;
}

void RestoreSearchBar() {
    g_stayHidden = false;
    if (g_bar) ShowWindow(g_bar, SW_RESTORE);
}

bool SetSummonHotKey(uint16_t value) {
    if (value == g_summonValue && (value == 0 || g_summonKey.registered())) return true;
    const uint16_t old = g_summonValue;
    g_summonKey.reset();
    g_summonValue = 0;
    if (value == 0 || !g_bar) return value == 0;
    if (g_summonKey.Register(g_bar, ID_HOTKEY_SUMMON, HotKeyModifiers(value),
                             HotKeyVirtualKey(value))) {
        g_summonValue = value;
        return true;
    }
    // Taken: the key held before stays in force.
    if (old != 0 &&
        g_summonKey.Register(g_bar, ID_HOTKEY_SUMMON, HotKeyModifiers(old), HotKeyVirtualKey(old)))
        g_summonValue = old;
    return false;
}

void UpdateHistoryCompletion() {
    if (!g_keyword) return;
    g_completion.Enable(g_keyword, g_settings.AutoComplete != 0 && g_settings.Max != 0,
                        OfferKeywords);
}

void SetHideOnClose(bool hide) {
    g_hideOnClose = hide ? 1 : 0;
}

void ActivateFront() {
    if (HWND target = RestoreFront()) SetForegroundWindow(target);
}

void ApplyModeRule(int index) {
    bool enable = false;
    if (index >= 0 && index < g_activeSet.count) {
        const EngineEntry& e = g_activeSet.entries[index];
        enable = e.UrlMode == 0 && HasUrl2(e);
    }
    EnableWindow(g_mode, enable);
}

void FillEngineCombo(int index) {
    SendMessageA(g_engine, CB_RESETCONTENT, 0, 0);
    for (int k = 0; k < g_activeSet.count; ++k) {
        const auto name = FieldText(g_activeSet.entries[k].Name);
        SendMessageA(g_engine, CB_INSERTSTRING, k, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (index < 0 || index >= g_activeSet.count) index = 0;
    SelectEngine(index);
}

void SwitchEngineFile(int n) {
    if (n == g_catalogue.current || n < 0 || n >= kMaxEngineFiles) return;
    if (LoadEngineFileByName(g_catalogue.names[n]) < 1) {
        MessageBoxA(g_bar, "指定したデータファイルが不正です。", MORVEL_TITLE,
                    MB_OK | MB_ICONERROR);
        return;
    }
    if (!g_settings.NotSaveIS) WriteIntKey("SEFIndex", CurrentFileName(), EngineSelection());
    g_catalogue.current = n;
    FillEngineCombo(StoredEngineIndex(CurrentFileName()));
}

INT_PTR CALLBACK SearchBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_taskbarCreated != 0 && msg == g_taskbarCreated) {
        SetTrayIcon(wnd, g_settings.TrayMode == 0);
        return FALSE;
    }
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        g_bar = nullptr;
        return TRUE;
    case WM_NCDESTROY: // the keyword box is gone, and with it the autocomplete's subclass
        g_completion.Release();
        return FALSE;
    case WM_HOTKEY:
        if (wParam != ID_HOTKEY_SUMMON) return FALSE;
        Summon();
        return TRUE;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            if (!g_settings.TaskErase) return FALSE;
            ShowWindow(wnd, SW_HIDE);
            return TRUE;
        }
        if (wParam == SIZE_MAXIMIZED) {
            ShowWindow(wnd, SW_RESTORE);
            return TRUE;
        }
        return FALSE;
    case WM_WINDOWPOSCHANGING:
        // A hidden start stays hidden until the bar is restored on purpose.
        if (g_stayHidden) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return FALSE;
    case WM_ACTIVATE:
        return LOWORD(wParam) == WA_INACTIVE ? TRUE : FALSE;
    case WM_CLOSE:
        if (g_hideOnClose) {
            ShowWindow(wnd, SW_HIDE);
            return TRUE;
        }
        ExitSequence(wnd);
        EndDialog(wnd, 0);
        DestroyWindow(wnd);
        return TRUE;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // The session may end: the settings are saved on the way out.
        SetWindowLongPtrA(wnd, DWLP_MSGRESULT, TRUE);
        CloseForGood(wnd);
        return TRUE;
    case WM_COPYDATA:
        SetKeywordFromCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return FALSE;
    case WM_CONTEXTMENU:
        return HandleContextMenu(wnd, reinterpret_cast<HWND>(wParam), lParam);
    case WM_INITDIALOG:
        return SetUp(wnd);
    case WM_COMMAND:
        return OnCommand(wnd, wParam);
    case WM_SYSCOMMAND:
        if (LOWORD(wParam) == IDM_SETTINGS) {
            RunSettingsCommand(wnd);
            return TRUE;
        }
        return FALSE;
    case WM_APP_TRAYNOTIFY:
        return HandleTrayNotify(wnd, lParam);
    case WM_APP_ACTIVATE:
        ActivateFront();
        return TRUE;
    case WM_APP_SETOPTION:
        OnSetOption(wParam);
        return FALSE;
    default:
        return FALSE;
    }
}
