#include "ui/settings/search_page.h"

#include <cderr.h>

#include "base/text.h"
#include "platform/file_dialogs.h"
#include "ui/common/resource.h"
#include "ui/settings/settings_logic.h"

namespace {

const char kAssociatedBrowser[] = "関連付けされているブラウザ";

void ShowBrowser(HWND page, const SearchPage& state) {
    SetDlgItemTextA(page, IDC_SRCH_BROWSER_NAME,
                    state.pendingBrowser[0] ? FileNamePart(state.pendingBrowser)
                                            : kAssociatedBrowser);
}

void Init(HWND page, SearchPage& state) {
    const Settings& s = state.sheet->app.settings;
    SendDlgItemMessageA(page, IDC_SRCH_HISTORY_SIZE, EM_LIMITTEXT, 2, 0);
    SetTicked(page, IDC_SRCH_SOUND, s.Sound != 0);
    SetTicked(page, IDC_SRCH_AUTO_SEARCH, s.AutoSearch != 0);
    SetTicked(page, IDC_SRCH_HISTORY_ON, s.Max != 0);
    if (s.Max != 0) {
        char text[8];
        wsprintfA(text, "%u", static_cast<unsigned>(s.Max)); // 0..255
        SetDlgItemTextA(page, IDC_SRCH_HISTORY_SIZE, text);
    }
    EnableWindow(GetDlgItem(page, IDC_SRCH_HISTORY_SIZE), s.Max != 0);
    SetTicked(page, IDC_SRCH_AUTOCOMPLETE, s.AutoComplete != 0);
    EnableWindow(GetDlgItem(page, IDC_SRCH_AUTOCOMPLETE), s.Max != 0);
    CopyBounded(state.pendingBrowser, sizeof state.pendingBrowser, s.Browser);
    if (state.pendingBrowser[0]) ShowBrowser(page, state);
}

void ChooseBrowser(HWND page, SearchPage& state) {
    const char kFilter[] = "EXE File(*.exe)\0*.exe\0";
    char file[MAX_PATH] = {};
    CopyBounded(file, sizeof file, state.pendingBrowser);
    if (!AskOpenPath(page, kFilter, "exe", file, sizeof file)) {
        // A stored path that the dialog cannot take as a file name must not keep the user
        // from choosing: the dialog opens again without it.
        if (FileDialogError() != FNERR_INVALIDFILENAME || file[0] == '\0') return;
        file[0] = '\0';
        if (!AskOpenPath(page, kFilter, "exe", file, sizeof file)) return; // cancelled
    }
    CopyBounded(state.pendingBrowser, sizeof state.pendingBrowser, file);
    ShowBrowser(page, state);
}

void Confirm(HWND page, const SearchPage& state) {
    Settings& s = state.sheet->app.settings;
    s.Sound = IsTicked(page, IDC_SRCH_SOUND) ? 1 : 0;
    s.AutoSearch = IsTicked(page, IDC_SRCH_AUTO_SEARCH) ? 1 : 0;
    const int typed = static_cast<int>(GetDlgItemInt(page, IDC_SRCH_HISTORY_SIZE, nullptr, TRUE));
    s.Max = HistorySizeFromInput(IsTicked(page, IDC_SRCH_HISTORY_ON), typed);
    s.AutoComplete = IsTicked(page, IDC_SRCH_AUTOCOMPLETE) ? 1 : 0;
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
