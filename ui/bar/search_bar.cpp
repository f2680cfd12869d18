#include "ui/bar/search_bar.h"

#include "base/text.h"
#include "history/history_store.h"
#include "platform/engine_store.h"
#include "platform/profile_file.h"
#include "platform/selection_grab.h"
#include "platform/settings_file.h"
#include "query/keyword.h"
#include "ui/bar/bar_logic.h"
#include "ui/bar/bar_search.h"
#include "ui/bar/bar_suggest.h"
#include "ui/bar/hotkey_logic.h"
#include "ui/bar/bar_state.h"
#include "platform/win_text.h"
#include "ui/bar/keyword_cue.h"
#include "ui/bar/tray_menu.h"
#include "ui/common/about_box.h"
#include "ui/common/resource.h"
#include "ui/editor/editor_window.h"
#include "ui/settings/settings_sheet.h"

namespace {

// The keyword box's subclass: Page Up and Page Down step through the engines, with Shift
// through the engine files. Neither wraps around, and no search runs.
// It lies beneath the autocomplete object's own subclass, which takes the page keys and
// Enter only while its drop-down is open.
LRESULT CALLBACK PageKeyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
    SearchBar& bar = *reinterpret_cast<SearchBar*>(data);
    if (msg == WM_GETDLGCODE && lParam) {
        // Escape closes an open drop-down instead of reaching the dialog manager.
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE &&
            (bar.completion.DropDownOpen() || SuggestionsOpen(bar)))
            return DefSubclassProc(wnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
    }
    if (msg == WM_KEYDOWN && SuggestionKey(bar, static_cast<UINT>(wParam))) return 0;
    if (msg == WM_KEYDOWN && (wParam == VK_PRIOR || wParam == VK_NEXT)) {
        const int step = wParam == VK_NEXT ? 1 : -1;
        const AppState& app = bar.app;
        if (GetKeyState(VK_SHIFT) < 0) {
            const int target =
                PageStepTarget(app.catalogue.current, step, CatalogueSize(app.catalogue));
            if (target >= 0) {
                SwitchEngineFile(bar, target);
                UpdateKeywordCue(bar); // the keywords are the new file's
            }
        } else {
            const int target = PageStepTarget(EngineSelection(bar), step, app.activeSet.count);
            if (target >= 0) SelectEngine(bar, target);
        }
        return 0;
    }
    return DefSubclassProc(wnd, msg, wParam, lParam);
}

void SelectKeyword(SearchBar& bar) {
    SendMessageW(bar.keyword, EM_SETSEL, 0, -1);
}

void TakeHistoryItem(SearchBar& bar, int n) {
    const char16_t* text = HistoryItemAt(bar.app.history, n);
    if (!text) return; // only another process can ask for an item that is not there
    SetWindowTextW(bar.keyword, reinterpret_cast<const wchar_t*>(text));
    RestoreSearchBar(bar);
    SetForegroundWindow(bar.wnd);
    SelectKeyword(bar);
    SetFocus(bar.keyword);
}

void RestorePosition(SearchBar& bar) {
    const wchar_t* ini = bar.app.paths.iniPath;
    const int x = ClampStartCoordinate(ReadProfileInt(ini, "Window", "PosX", 0),
                                       GetSystemMetrics(SM_CXSCREEN), kLowestPosX);
    const int y = ClampStartCoordinate(ReadProfileInt(ini, "Window", "PosY", 0),
                                       GetSystemMetrics(SM_CYSCREEN), kLowestPosY);
    SetWindowPos(bar.wnd, bar.app.settings.ShowMode ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, 0, 0,
                 SWP_NOSIZE);
}

UniqueIcon LoadProgramIcon(HINSTANCE instance, int cx, int cy) {
    return UniqueIcon(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MORVEL), IMAGE_ICON,
                                      GetSystemMetrics(cx), GetSystemMetrics(cy), 0)));
}

BOOL SetUp(HWND wnd, SearchBar& bar) {
    AppState& app = bar.app;
    bar.wnd = wnd;
    bar.mode = GetDlgItem(wnd, IDC_MODE);
    bar.engine = GetDlgItem(wnd, IDC_ENGINE);
    bar.keyword = GetDlgItem(wnd, IDC_KEYWORD);
    bar.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    bar.hideOnClose = app.settings.NotWinClose != 0;

    bar.smallIcon = LoadProgramIcon(app.instance, SM_CXSMICON, SM_CYSMICON);
    bar.bigIcon = LoadProgramIcon(app.instance, SM_CXICON, SM_CYICON);
    SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bar.bigIcon.get()));
    SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(bar.smallIcon.get()));

    // A Unicode box: units are at most the limit's bytes; the weight is kept on each change.
    SendMessageW(bar.keyword, EM_LIMITTEXT, kKeywordBoxLimit, 0);
    SendMessageW(bar.mode, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"すべて含む"));
    SendMessageW(bar.mode, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(L"どれか含む"));
    SendMessageW(bar.mode, CB_SETCURSEL, 0, 0);

    if (!app.settings.TipMode) CreateTooltips(bar);
    bar.pageKeys.Install(bar.keyword, PageKeyProc, reinterpret_cast<DWORD_PTR>(&bar));

    FillEngineCombo(bar, StoredEngineIndex(app, CurrentFileName(app)));
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    RestorePosition(bar);
    ChangeSystemMenu(wnd);
    SetTrayIcon(bar, app.settings.TrayMode == 0);
    UpdateHistoryCompletion(bar);
    SetSummonHotKey(bar, app.settings.HotKey); // a key taken meanwhile only goes unregistered
    SetSummonHotKey(bar, app.settings.SelectHotKey, true);
    return TRUE;
}

// The summon key: the front dialog comes forward, else the bar with its keyword selected
// and focused; a message box that a window holds open comes forward in its place.
void Summon(SearchBar& bar) {
    HWND target = RestoreFront(bar);
    if (!target) return;
    if (!IsWindowEnabled(target)) {
        SetForegroundWindow(GetLastActivePopup(target));
        return;
    }
    SetForegroundWindow(target);
    if (target == bar.wnd) {
        SelectKeyword(bar);
        SetFocus(bar.keyword);
    }
}

// The summon key that brings the selection: another program's selection goes into the box as a
// browser selection does (and is searched with AutoSearch on); nothing selected, or nothing
// copied in time, brings the bar with its box as it was and a short beep. While the bar or one
// of its dialogs has the focus, the key only brings the bar forward.
void SummonWithSelection(SearchBar& bar) {
    HWND foreground = GetForegroundWindow();
    DWORD pid = 0;
    GetWindowThreadProcessId(foreground, &pid);
    if (!foreground || pid == GetCurrentProcessId()) {
        Summon(bar);
        return;
    }
    WideKeyword text;
    const GrabResult grabbed = GrabSelection(foreground, HotKeyModifiers(bar.selectValue), text);
    Summon(bar);
    if (grabbed != GrabResult::Taken) {
        MessageBeep(MB_OK);
        return;
    }
    SetWindowTextW(bar.keyword, reinterpret_cast<const wchar_t*>(text.c_str()));
    SelectKeyword(bar);
    if (bar.app.settings.AutoSearch && !bar.app.frontDialog) RunSearch(bar, false);
}

// The real close: everything the program keeps is written back.
void ExitSequence(SearchBar& bar) {
    AppState& app = bar.app;
    bar.summonKey.reset();
    bar.summonValue = 0;
    bar.selectKey.reset();
    bar.selectValue = 0;
    StopSuggestions(bar); // a request in flight is dropped, never waited for
    bar.completion.Enable(bar.keyword, false, {});
    // The page keys stay until the keyword box is destroyed: the autocomplete object's own
    // subclass may lie above them, and taking them out of the chain must not take it along.
    SetTrayIcon(bar, false);
    const BarSnapshot snapshot = {RestoredPosition(bar.wnd), CurrentFileName(app),
                                  EngineSelection(bar)};
    const bool saved = SaveSettings(app.settings, app.paths.iniPath, snapshot, app.history);
    if (!saved && !bar.endingSession) {
        MessageText text(L"設定ファイル「");
        text.Append(View(app.paths.iniPath));
        text.Append(L"」に書き込めませんでした。設定と検索履歴は保存されていません。");
        ShowMessage(bar.wnd, text.c_str(), MB_OK | MB_ICONERROR);
    }
    ShowHelp(bar.wnd, app.paths.helpPath, HELP_QUIT);
}

// The one way the bar ends, after the exit sequence. The bar's dialog loop is the program's
// loop, but a sheet, the editor or a message box may be running a modal loop of its own
// inside it (the session ends, or another program closes the bar, while one is open). So:
// EndDialog ends the bar's loop once control returns to it; DestroyWindow takes the windows
// the bar owns and then the bar down now; and WM_QUIT, posted last, makes each nested modal
// loop return in turn, so that control does return to the bar's.
void EndSearchBar(SearchBar& bar) {
    HWND wnd = bar.wnd; // cleared when the window goes
    EndDialog(wnd, 0);
    DestroyWindow(wnd);
    PostQuitMessage(0);
}

void CloseForGood(SearchBar& bar) {
    bar.hideOnClose = false;
    SendMessageW(bar.wnd, WM_CLOSE, 0, 0);
}

// What the settings sheet may ask of the bar.
bool SetSummonKeyHook(void* context, bool withSelection, uint16_t value) {
    return SetSummonHotKey(*static_cast<SearchBar*>(context), value, withSelection);
}

// Command 40004: the settings sheet. Only another process can ask while a dialog is open: a
// second sheet over the first would let each confirm over the other's edits, so the open one
// comes forward instead.
void RunSettingsCommand(SearchBar& bar) {
    if (bar.app.frontDialog) {
        ActivateFront(bar);
        return;
    }
    RestoreSearchBar(bar);
    const SheetOutcome outcome =
        RunSettingsSheet(bar.wnd, bar.app, SheetHooks{&bar, SetSummonKeyHook});
    if (outcome.applied) {
        bar.hideOnClose = bar.app.settings.NotWinClose != 0;
        SetTrayIcon(bar, bar.app.settings.TrayMode == 0);
    }
    UpdateHistoryCompletion(bar);
    SetFocus(bar.keyword);
}

// Command 40005: the engine file editor. The bar's engine file is noted by name, since the
// editor may add and remove catalogue names; afterwards the bar finds it again (or falls back
// to slot 0) and reloads it from disk, keeping the selected position.
void RunEditorCommand(SearchBar& bar) {
    AppState& app = bar.app;
    if (app.frontDialog) { // only another process can ask while a dialog is open
        ActivateFront(bar);
        return;
    }
    char noted[kCatalogueNameSize] = {};
    CopyBounded(noted, sizeof noted, CurrentFileName(app));
    const int selection = EngineSelection(bar);
    RestoreSearchBar(bar);
    RunEngineFileEditor(bar.wnd, app);
    app.lastSearch.engine = -1;
    app.catalogue.current = 0;
    const int slot = FindCatalogueName(app.catalogue, noted, CompareNames);
    if (slot >= 0) app.catalogue.current = slot;
    if (LoadEngineFileByName(app.activeSet, app.paths.dataDir,
                             app.catalogue.names[app.catalogue.current]) < 1) {
        ShowMessage(bar.wnd, L"エンジンデータ切り替えに失敗しました。", MB_OK | MB_ICONERROR);
        return;
    }
    FillEngineCombo(bar, selection);
    SetFocus(bar.keyword);
}

// The keyword box holds what 120 bytes of Shift-JIS hold: what Shift-JIS can say counts its
// bytes, any other character two for each UTF-16 unit. What does not fit is cut at its end,
// never within a character.
void KeepKeywordWithinLimit(SearchBar& bar) {
    wchar_t text[kKeywordBoxLimit + 1] = {};
    const int n = GetWindowTextW(bar.keyword, text, kKeywordBoxLimit + 1);
    const std::u16string_view typed(reinterpret_cast<const char16_t*>(text), n > 0 ? n : 0);
    if (KeywordWeight(typed) <= kKeywordBoxLimit) return;
    const size_t keep = KeywordUnitsWithin(typed, kKeywordBoxLimit);
    DWORD start = 0, end = 0;
    SendMessageW(bar.keyword, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    text[keep] = L'\0';
    SetWindowTextW(bar.keyword, text);
    const DWORD caret = end < keep ? end : static_cast<DWORD>(keep);
    SendMessageW(bar.keyword, EM_SETSEL, caret, caret);
}

BOOL OnCommand(SearchBar& bar, WPARAM wParam) {
    AppState& app = bar.app;
    if (LOWORD(wParam) == IDC_KEYWORD && HIWORD(wParam) == EN_UPDATE) {
        KeepKeywordWithinLimit(bar);
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_KEYWORD && HIWORD(wParam) == EN_CHANGE) {
        UpdateKeywordCue(bar);
        KeywordChangedForSuggestions(bar);
        return TRUE;
    }
    const BarCommandTarget c =
        ClassifyBarCommand(LOWORD(wParam), HIWORD(wParam), app.activeSet.count);
    switch (c.command) {
    case BarCommand::EngineFile:
        StopSuggestions(bar);
        SwitchEngineFile(bar, c.index);
        UpdateKeywordCue(bar); // the keywords are the new file's
        return TRUE;
    case BarCommand::History:
        TakeHistoryItem(bar, c.index);
        return TRUE;
    case BarCommand::Engine:
        SelectEngine(bar, c.index);
        RunSearch(bar, false);
        return TRUE;
    case BarCommand::Search:
        bar.completion.CloseDropDown(); // Enter searches for what the box shows
        StopSuggestions(bar);
        RunSearch(bar, false);
        return TRUE;
    case BarCommand::EngineCombo:
        if (app.settings.AutoSearch) RunSearch(bar, true);
        ApplyModeRule(bar, EngineSelection(bar));
        return TRUE;
    case BarCommand::Exit:
        CloseForGood(bar);
        return TRUE;
    case BarCommand::Help:
        ShowHelp(bar.wnd, app.paths.helpPath, HELP_FINDER);
        return TRUE;
    case BarCommand::About:
        RestoreSearchBar(bar);
        RunAboutBox(bar.wnd, app);
        return TRUE;
    case BarCommand::Settings:
        StopSuggestions(bar);
        RunSettingsCommand(bar);
        return TRUE;
    case BarCommand::Editor:
        StopSuggestions(bar);
        RunEditorCommand(bar);
        UpdateKeywordCue(bar);
        return TRUE;
    case BarCommand::None:
        break;
    }
    return FALSE; // Escape (IDCANCEL) among them: the bar neither closes nor hides
}

// WM_COPYDATA: at most 119 bytes of the text, never read beyond cbData. UTF-16 text keeps
// every character; any other kind is Shift-JIS.
void SetKeywordFromCopyData(SearchBar& bar, const COPYDATASTRUCT* cds) {
    if (cds && cds->lpData && cds->dwData == bar_protocol::kCopyDataUtf16) {
        WideKeyword text;
        KeywordFromUtf16Data(static_cast<const unsigned char*>(cds->lpData), cds->cbData,
                             kMessageKeywordLimit, text);
        SetWindowTextW(bar.keyword, reinterpret_cast<const wchar_t*>(text.c_str()));
    } else {
        char text[kMessageKeywordLimit + 1] = {};
        if (cds && cds->lpData)
            CopyBounded(text, sizeof text, static_cast<const char*>(cds->lpData), cds->cbData);
        SetSjisText(bar.keyword, text);
    }
    SelectKeyword(bar);
}

void OnSetOption(SearchBar& bar, WPARAM wParam) {
    const int value = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case bar_protocol::kOptionMode:
        // Without a range check: another value leaves no selection (some combo boxes keep
        // the old selection for an index past their items, so clear it).
        if (SendMessageW(bar.mode, CB_SETCURSEL, value, 0) == CB_ERR)
            SendMessageW(bar.mode, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        break;
    case bar_protocol::kOptionEngine:
        if (value < bar.app.activeSet.count) SelectEngine(bar, value);
        break;
    case bar_protocol::kOptionSearch:
        RunSearch(bar, false);
        break;
    default:
        break;
    }
}

// A command or option that another program sent is answered before it is carried out, so
// that a search ending in a message box, or a window opened on request, never holds the
// sender. The bar still carries it out at once and in the order the messages came.
void AnswerSender() {
    if (InSendMessage()) ReplyMessage(0);
}

INT_PTR CALLBACK SearchBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    SearchBar* state = BoundState<SearchBar>(wnd, msg, lParam);
    if (!state) return FALSE;
    SearchBar& bar = *state;
    if (msg == WM_INITDIALOG) return SetUp(wnd, bar);
    if (bar.taskbarCreated != 0 && msg == bar.taskbarCreated) {
        SetTrayIcon(bar, bar.app.settings.TrayMode == 0);
        return FALSE;
    }
    switch (msg) {
    case WM_NCDESTROY: // the keyword box is gone, and with it the autocomplete's subclass
        bar.completion.Release();
        bar.wnd = nullptr;
        return FALSE;
    case WM_HOTKEY:
        if (wParam == ID_HOTKEY_SELECT) {
            SummonWithSelection(bar);
            return TRUE;
        }
        if (wParam != ID_HOTKEY_SUMMON) return FALSE;
        Summon(bar);
        return TRUE;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            if (!bar.app.settings.TaskErase) return FALSE;
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
        if (bar.stayHidden) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        if (bar.startMinimized && (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)) {
            bar.startMinimized = false;
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
            PostMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        }
        return FALSE;
    case WM_WINDOWPOSCHANGED:
        if (bar.cue) FollowKeywordCue(bar); // it follows the bar, and goes when the bar hides
        // The drop-down stays with the box: a moved bar closes it.
        if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOMOVE) &&
            SuggestionsOpen(bar))
            StopSuggestions(bar);
        // The topmost band set before the first show may not take while the window is not
        // shown: it is set again once the bar is.
        if (!bar.shown && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)) {
            bar.shown = true;
            if (bar.app.settings.ShowMode)
                SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return FALSE;
    case WM_ACTIVATE:
        FollowKeywordCue(bar); // only the active bar shows it
        if (LOWORD(wParam) == WA_INACTIVE) StopSuggestions(bar);
        return LOWORD(wParam) == WA_INACTIVE ? TRUE : FALSE;
    case WM_CLOSE:
        if (bar.hideOnClose) {
            ShowWindow(wnd, SW_HIDE);
            return TRUE;
        }
        ExitSequence(bar);
        EndSearchBar(bar);
        return TRUE;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // The session may end: the settings are saved on the way out, and no message may
        // hold the end up.
        SetWindowLongPtrW(wnd, DWLP_MSGRESULT, TRUE);
        bar.endingSession = true;
        CloseForGood(bar);
        return TRUE;
    case WM_COPYDATA:
        SetKeywordFromCopyData(bar, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return FALSE;
    case WM_CONTEXTMENU:
        return HandleContextMenu(bar, reinterpret_cast<HWND>(wParam), lParam);
    case WM_COMMAND:
        AnswerSender();
        return OnCommand(bar, wParam);
    case WM_SYSCOMMAND:
        if (LOWORD(wParam) == IDM_SETTINGS) {
            AnswerSender();
            StopSuggestions(bar);
            RunSettingsCommand(bar);
            return TRUE;
        }
        return FALSE;
    case WM_TIMER:
        if (wParam != kSuggestTimer) return FALSE;
        RequestSuggestions(bar);
        return TRUE;
    case kSuggestionsArrived:
        ShowArrivedSuggestions(bar, static_cast<uint32_t>(wParam));
        return TRUE;
    case WM_APP_TRAYNOTIFY:
        return HandleTrayNotify(bar, lParam);
    case WM_APP_ACTIVATE:
        ActivateFront(bar);
        return TRUE;
    case WM_APP_SETOPTION:
        AnswerSender();
        OnSetOption(bar, wParam);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void RunSearchBar(AppState& app, int showState) {
    SearchBar bar(app, showState == SW_HIDE);
    bar.startMinimized = showState == SW_SHOWMINIMIZED || showState == SW_MINIMIZE ||
                         showState == SW_SHOWMINNOACTIVE || showState == SW_FORCEMINIMIZE;
    // Made with the wide functions, so that the keyword box keeps every character typed,
    // pasted or sent; the rest of the bar works as well through the ANSI functions.
    DialogBoxParamW(app.instance, MAKEINTRESOURCEW(IDD_SEARCHBAR), nullptr, SearchBarProc,
                    reinterpret_cast<LPARAM>(&bar));
}
