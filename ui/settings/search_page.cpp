#include "ui/settings/search_page.h"

#include <cderr.h>

#include "base/text.h"
#include "platform/file_dialogs.h"
#include "platform/win_text.h"
#include "ui/common/window_helpers.h"
#include "ui/common/resource.h"
#include "ui/settings/settings_logic.h"

namespace {

void ShowBrowser(HWND page, const SearchPage& state) {
    if (state.pendingBrowser[0])
        SetItemSjis(page, IDC_SRCH_BROWSER_NAME, FileNamePart(state.pendingBrowser));
    else
        SetDlgItemTextW(page, IDC_SRCH_BROWSER_NAME, L"関連付けされているブラウザ");
}

void Init(HWND page, SearchPage& state) {
    const Settings& s = state.sheet->app.settings;
    SendDlgItemMessageW(page, IDC_SRCH_HISTORY_SIZE, EM_LIMITTEXT, 2, 0);
    SetTicked(page, IDC_SRCH_SOUND, s.Sound != 0);
    SetTicked(page, IDC_SRCH_AUTO_SEARCH, s.AutoSearch != 0);
    SetTicked(page, IDC_SRCH_HISTORY_ON, s.Max != 0);
    if (s.Max != 0) {
        SetDlgItemInt(page, IDC_SRCH_HISTORY_SIZE, s.Max, FALSE); // 0..255
    }
    EnableWindow(GetDlgItem(page, IDC_SRCH_HISTORY_SIZE), s.Max != 0);
    SetTicked(page, IDC_SRCH_AUTOCOMPLETE, s.AutoComplete != 0);
    EnableWindow(GetDlgItem(page, IDC_SRCH_AUTOCOMPLETE), s.Max != 0);
    SetTicked(page, IDC_SRCH_SUGGEST, s.Suggest != 0);
    CopyBounded(state.pendingBrowser, sizeof state.pendingBrowser, s.Browser);
    if (state.pendingBrowser[0]) ShowBrowser(page, state);
}

void ChooseBrowser(HWND page, SearchPage& state) {
    const wchar_t kFilter[] = L"EXE File(*.exe)\0*.exe\0";
    wchar_t file[MAX_PATH] = {};
    lstrcpynW(file, FromSjis<MAX_PATH>(state.pendingBrowser).c_str(), MAX_PATH);
    if (!AskOpenPath(page, kFilter, L"exe", file, MAX_PATH)) {
        // A stored path that the dialog cannot take as a file name must not keep the user
        // from choosing: the dialog opens again without it.
        if (FileDialogError() != FNERR_INVALIDFILENAME || file[0] == L'\0') return;
        file[0] = L'\0';
        if (!AskOpenPath(page, kFilter, L"exe", file, MAX_PATH)) return; // cancelled
    }
    // The settings file keeps the path in Shift-JIS: one it cannot say is not taken.
    FixedText<MAX_PATH> said;
    if (!WideToSjis(View(file), said) || said.cut()) {
        MessageText text(L"「");
        text.Append(View(file));
        text.Append(L"」は設定ファイルに保存できない文字を含むため、ブラウザーに指定できません。");
        ShowMessage(GetParent(page), text.c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    CopyBounded(state.pendingBrowser, sizeof state.pendingBrowser, said.c_str());
    ShowBrowser(page, state);
}

void Confirm(HWND page, const SearchPage& state) {
    Settings& s = state.sheet->app.settings;
    s.Sound = IsTicked(page, IDC_SRCH_SOUND) ? 1 : 0;
    s.AutoSearch = IsTicked(page, IDC_SRCH_AUTO_SEARCH) ? 1 : 0;
    const int typed = static_cast<int>(GetDlgItemInt(page, IDC_SRCH_HISTORY_SIZE, nullptr, TRUE));
    s.Max = HistorySizeFromInput(IsTicked(page, IDC_SRCH_HISTORY_ON), typed);
    s.AutoComplete = IsTicked(page, IDC_SRCH_AUTOCOMPLETE) ? 1 : 0;
    s.Suggest = IsTicked(page, IDC_SRCH_SUGGEST) ? 1 : 0;
    CopyBounded(s.Browser, sizeof s.Browser, state.pendingBrowser);
}

BOOL OnCommand(HWND page, SearchPage& state, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_SRCH_HISTORY_ON: {
        // The size and the drop-down of the history apply only with a history.
        const bool on = IsTicked(page, IDC_SRCH_HISTORY_ON);
        EnableWindow(GetDlgItem(page, IDC_SRCH_HISTORY_SIZE), on);
        EnableWindow(GetDlgItem(page, IDC_SRCH_AUTOCOMPLETE), on);
        return TRUE;
    }
    case IDC_SRCH_SUGGEST: {
        // What is typed leaves the machine as it is typed: said once, the first time.
        Settings& s = state.sheet->app.settings;
        if (!IsTicked(page, IDC_SRCH_SUGGEST) || s.SuggestTold) return TRUE;
        s.SuggestTold = 1;
        ShowMessage(
            GetParent(page),
            L"入力中の文字は、入力するたびに、検索に使う検索エンジンの候補URLへ送られます"
            L"（キーワードで選んだときはそのエンジン、候補URLのないエンジンには送りません）。",
            MB_OK | MB_ICONINFORMATION);
        return TRUE;
    }
    case IDC_SRCH_BROWSER_DEFAULT:
        state.pendingBrowser[0] = '\0';
        ShowBrowser(page, state);
        return TRUE;
    case IDC_SRCH_BROWSER_CHANGE:
        ChooseBrowser(page, state);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK SearchPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    SearchPage* state = PageState<SearchPage>(page, msg, lParam);
    if (!state) return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        Init(page, *state);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(page, *state, wParam);
    case WM_NOTIFY:
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_APPLY:
            Confirm(page, *state);
            return PageResult(page, PSNRET_NOERROR);
        case PSN_HELP:
            ShowPageHelp(page, *state->sheet, HELP_CTX_SEARCH);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
