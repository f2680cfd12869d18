#include "ui/settings/general_page.h"

#include <initializer_list>
#include <utility>

#include "platform/run_at_logon.h"
#include "ui/common/resource.h"
#include "ui/common/window_helpers.h"
#include "ui/settings/settings_logic.h"

namespace {

// The two hiding boxes apply only with a tray icon to come back from.
void EnableHidingBoxes(HWND page) {
    const bool tray = IsTicked(page, IDC_GEN_TRAY);
    EnableWindow(GetDlgItem(page, IDC_GEN_HIDE_ON_MINIMIZE), tray);
    EnableWindow(GetDlgItem(page, IDC_GEN_HIDE_ON_CLOSE), tray);
}

void Init(HWND page, GeneralPage& state) {
    state.sheet->front.Set(GetParent(page)); // activation requests bring the sheet forward
    const Settings& s = state.sheet->app.settings;
    SetTicked(page, IDC_GEN_TOPMOST, s.ShowMode != 0);
    SetTicked(page, IDC_GEN_NO_TIPS, s.TipMode != 0);
    if (s.TrayMode == 0) {
        SetTicked(page, IDC_GEN_TRAY, true);
        SetTicked(page, IDC_GEN_HIDE_ON_MINIMIZE, s.TaskErase != 0);
        SetTicked(page, IDC_GEN_HIDE_ON_CLOSE, s.NotWinClose != 0);
    }
    EnableHidingBoxes(page);
    // A global key without Ctrl or Alt would take a letter from every other program.
    for (const auto& k : {std::pair<int, uint16_t>{IDC_GEN_HOTKEY, s.HotKey},
                          std::pair<int, uint16_t>{IDC_GEN_SELECT_HOTKEY, s.SelectHotKey}}) {
        HWND key = GetDlgItem(page, k.first);
        SendMessageW(key, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                     MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        SendMessageW(key, HKM_SETHOTKEY, k.second, 0);
    }
    // Starting with Windows is kept in the registry only: the box shows what it holds.
    wchar_t program[MAX_PATH * 2];
    state.runAtLogon = CurrentProgramPath(program) && IsRunAtLogonOn(program);
    SetTicked(page, IDC_GEN_RUN_AT_LOGON, state.runAtLogon);
}

// Writes or removes the start-up value when the user changed the box.
void ApplyRunAtLogon(HWND page, GeneralPage& state) {
    const bool on = IsTicked(page, IDC_GEN_RUN_AT_LOGON);
    if (on == state.runAtLogon) return;
    wchar_t program[MAX_PATH * 2];
    if (CurrentProgramPath(program) && SetRunAtLogon(program, on)) {
        state.runAtLogon = on;
        return;
    }
    ShowMessage(GetParent(page),
                on ? L"Windows の起動時に起動する設定をレジストリに書き込めませんでした。"
                   : L"Windows の起動時に起動する設定をレジストリから削除できませんでした。",
                MB_OK | MB_ICONERROR);
}

uint16_t KeyValue(HWND page, int id) {
    return static_cast<uint16_t>(SendDlgItemMessageW(page, id, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
}

// A summon key is registered before anything of the page is applied: a key that another
// program holds keeps the sheet open on this page, the key in the field, for another choice.
bool TakeSummonKey(HWND page, SettingsSheetShared& sheet, bool withSelection) {
    const int id = withSelection ? IDC_GEN_SELECT_HOTKEY : IDC_GEN_HOTKEY;
    const uint16_t value = KeyValue(page, id);
    const wchar_t* refusal = nullptr;
    if (withSelection && value != 0 && value == KeyValue(page, IDC_GEN_HOTKEY)) {
        refusal = L"呼び出しキーと同じキーは指定できません。\r\n別のキーを指定してください。";
    } else if (!sheet.hooks.setSummonKey ||
               sheet.hooks.setSummonKey(sheet.hooks.bar, withSelection, value)) {
        (withSelection ? sheet.app.settings.SelectHotKey : sheet.app.settings.HotKey) = value;
        return true;
    } else {
        refusal = L"この呼び出しキーは他のプログラムが使用しています。\r\n"
                  L"別のキーを指定してください。";
    }
    ShowMessage(GetParent(page), refusal, MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(page, id));
    return false;
}

void Confirm(HWND page, GeneralPage& state) {
    GeneralChoices c = {};
    c.topmost = IsTicked(page, IDC_GEN_TOPMOST);
    c.tray = IsTicked(page, IDC_GEN_TRAY);
    c.hideOnMin = IsTicked(page, IDC_GEN_HIDE_ON_MINIMIZE);
    c.hideOnClose = IsTicked(page, IDC_GEN_HIDE_ON_CLOSE);
    c.noTips = IsTicked(page, IDC_GEN_NO_TIPS);
    Settings& settings = state.sheet->app.settings;
    ApplyGeneralChoices(settings, c);
    ApplyRunAtLogon(page, state);
    SetWindowPos(state.sheet->bar, settings.ShowMode ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    state.sheet->applied = true;
}

} // namespace

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    GeneralPage* state = PageState<GeneralPage>(page, msg, lParam);
    switch (msg) {
    case WM_INITDIALOG:
        if (state) Init(page, *state);
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
            if (!TakeSummonKey(page, *state->sheet, false) ||
                !TakeSummonKey(page, *state->sheet, true))
                return PageResult(page, PSNRET_INVALID_NOCHANGEPAGE);
            Confirm(page, *state);
            return PageResult(page, PSNRET_NOERROR);
        case PSN_HELP:
            ShowPageHelp(page, *state->sheet, HELP_CTX_GENERAL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
