#include "ui/settings/history_page.h"

#include <commctrl.h>

#include "base/text.h"
#include "ui/common/resource.h"
#include "ui/common/window_helpers.h"
#include "ui/settings/settings_logic.h"

namespace {

int ItemCount(const HistoryPage& state) {
    return static_cast<int>(SendMessageW(state.list, LB_GETCOUNT, 0, 0));
}

int Selection(const HistoryPage& state) {
    return static_cast<int>(SendMessageW(state.list, LB_GETCURSEL, 0, 0));
}

void Select(const HistoryPage& state, int n) {
    SendMessageW(state.list, LB_SETCURSEL, static_cast<WPARAM>(n), 0);
}

void ShowCount(HWND page, int count) {
    wchar_t text[16];
    wsprintfW(text, L"%d件", count); // at most 11 digits and sign, the unit and the NUL
    SetDlgItemTextW(page, IDC_HIST_COUNT, text);
}

void Disable(HWND page, int id) {
    HWND button = GetDlgItem(page, id);
    const bool hadFocus = GetFocus() == button;
    EnableWindow(button, FALSE);
    // A disabled button cannot keep the keyboard: the list takes it.
    if (hadFocus)
        SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(page, IDC_HIST_LIST)),
                     TRUE);
}

// Buttons are only ever disabled here: the count only goes down while the page is open.
void UpdateButtons(HWND page, int count) {
    const HistoryButtons b = HistoryButtonsFor(count);
    if (b.deleteOff) {
        Disable(page, IDC_HIST_DELETE);
        Disable(page, IDC_HIST_DELETE_ALL);
    }
    if (b.moveOff) {
        Disable(page, IDC_HIST_UP);
        Disable(page, IDC_HIST_DOWN);
    }
}

void DeleteSelected(HWND page, HistoryPage& state) {
    const int n = Selection(state);
    if (n < 0 || n >= kHistoryLimit) return;
    if (!RemoveHistoryEntry(state.working, n)) return;
    {
        ScopedRedrawOff redraw(state.list);
        SendMessageW(state.list, LB_DELETESTRING, n, 0);
    }
    const int count = ItemCount(state);
    ShowCount(page, count);
    UpdateButtons(page, count);
    Select(state, SelectionAfterDelete(n, count));
}

void DeleteAll(HWND page, HistoryPage& state) {
    SendMessageW(state.list, LB_RESETCONTENT, 0, 0);
    UpdateButtons(page, 0);
    ShowCount(page, 0);
    state.working.count = 0;
}

void MoveSelected(HistoryPage& state, int step) {
    const int n = Selection(state);
    const int target = MoveTarget(n, step, ItemCount(state));
    if (target < 0) return;
    const char16_t* entry = HistoryItemAt(state.working, n);
    if (!entry) return;
    const WideText<kHistoryTextSize> text(entry);
    if (!SwapHistoryEntries(state.working, n, step)) return;
    {
        ScopedRedrawOff redraw(state.list);
        SendMessageW(state.list, LB_DELETESTRING, n, 0);
        SendMessageW(state.list, LB_INSERTSTRING, target, reinterpret_cast<LPARAM>(text.c_str()));
    }
    Select(state, target);
}

// The list box's keys: Delete deletes, Shift+Up and Shift+Down move the selected entry.
LRESULT CALLBACK ListKeysProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR ref) {
    auto* state = reinterpret_cast<HistoryPage*>(ref);
    if (msg == WM_KEYDOWN) {
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        HWND page = GetParent(list);
        if (wParam == VK_DELETE) {
            DeleteSelected(page, *state);
            return 0;
        }
        if (shift && (wParam == VK_UP || wParam == VK_DOWN)) {
            MoveSelected(*state, wParam == VK_UP ? -1 : 1);
            return 0;
        }
    }
    return DefSubclassProc(list, msg, wParam, lParam);
}

void Init(HWND page, HistoryPage& state) {
    state.list = GetDlgItem(page, IDC_HIST_LIST);
    state.keys.Install(state.list, ListKeysProc, reinterpret_cast<DWORD_PTR>(&state));
    state.working = state.sheet->app.history;
    for (int n = 0; n < kHistoryLimit; ++n) {
        const char16_t* text = HistoryItemAt(state.working, n);
        if (!text) break;
        SendMessageW(state.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    Select(state, 0);
    const int count = ItemCount(state);
    UpdateButtons(page, count);
    ShowCount(page, count);
}

void Confirm(HistoryPage& state) {
    state.sheet->app.history = state.working;
    state.keys.Remove();
    state.sheet->applied = true;
}

BOOL OnCommand(HWND page, HistoryPage& state, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_HIST_UP:
        MoveSelected(state, -1);
        return TRUE;
    case IDC_HIST_DOWN:
        MoveSelected(state, 1);
        return TRUE;
    case IDC_HIST_DELETE:
        DeleteSelected(page, state);
        return TRUE;
    case IDC_HIST_DELETE_ALL:
        DeleteAll(page, state);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK HistoryPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    HistoryPage* state = PageState<HistoryPage>(page, msg, lParam);
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
            Confirm(*state);
            return PageResult(page, PSNRET_NOERROR);
        case PSN_RESET:
            state->keys.Remove();
            return TRUE;
        case PSN_HELP:
            ShowPageHelp(page, *state->sheet, HELP_CTX_HISTORY);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
