#include "ui/general_page.h"

#include "app/settings.h"
#include "ui/open_dialog.h"
#include "ui/resource.h"
#include "ui/settings_logic.h"

namespace {

// The two hiding boxes apply only with a tray icon to come back from.
void EnableHidingBoxes(HWND page) {
    const bool tray = IsTicked(page, IDC_GEN_TRAY);
    EnableWindow(GetDlgItem(page, IDC_GEN_HIDE_ON_MINIMIZE), tray);
    EnableWindow(GetDlgItem(page, IDC_GEN_HIDE_ON_CLOSE), tray);
}

void Init(HWND page) {
    SetOpenDialog(GetParent(page)); // activation requests bring the sheet forward
    const Settings& s = g_settings;
    SetTicked(page, IDC_GEN_TOPMOST, s.ShowMode != 0);
    SetTicked(page, IDC_GEN_NO_TIPS, s.TipMode != 0);
    if (s.TrayMode == 0) {
        SetTicked(page, IDC_GEN_TRAY, true);
        SetTicked(page, IDC_GEN_HIDE_ON_MINIMIZE, s.TaskErase != 0);
        SetTicked(page, IDC_GEN_HIDE_ON_CLOSE, s.NotWinClose != 0);
    }
    EnableHidingBoxes(page);
}

void Confirm(HWND page, GeneralPage& state) {
    GeneralChoices c = {};
    c.topmost = IsTicked(page, IDC_GEN_TOPMOST);
    c.tray = IsTicked(page, IDC_GEN_TRAY);
    c.hideOnMin = IsTicked(page, IDC_GEN_HIDE_ON_MINIMIZE);
    c.hideOnClose = IsTicked(page, IDC_GEN_HIDE_ON_CLOSE);
    c.noTips = IsTicked(page, IDC_GEN_NO_TIPS);
    ApplyGeneralChoices(g_settings, c);
    SetWindowPos(state.sheet->bar, g_settings.ShowMode ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetOpenDialog(nullptr);
    state.sheet->applied = true;
}

} // namespace

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    GeneralPage* state = PageState<GeneralPage>(page, msg, lParam);
    switch (msg) {
    case WM_INITDIALOG:
        Init(page);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_GEN_TRAY && HIWORD(wParam) == BN_CLICKED) {
            EnableHidingBoxes(page);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        if (!state) return FALSE;
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_APPLY:
            Confirm(page, *state);
            return PageResult(page, PSNRET_NOERROR);
        case PSN_HELP:
            ShowPageHelp(page, HELP_CTX_GENERAL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
