// What the pages of one settings sheet share, and the helpers they use.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/app_state.h"
#include "ui/common/front_dialog.h"
#include "ui/common/window_helpers.h"
#include "ui/settings/sheet_hooks.h"

// Every page of one sheet: the search bar that owns it, the program's state, what the pages
// may ask of the bar, the sheet as the front dialog, and the applied flag the sheet returns.
struct SettingsSheetShared {
    SettingsSheetShared(HWND owner, AppState& state, const SheetHooks& barHooks)
        : bar(owner), app(state), hooks(barHooks), front(state.frontDialog) {}

    HWND bar;
    AppState& app;
    SheetHooks hooks;
    ScopedFrontDialog front;
    bool applied = false;
};

// The page's state (BoundState), given as the PROPSHEETPAGE's lParam.
template <typename State> State* PageState(HWND page, UINT msg, LPARAM lParam) {
    const LPARAM init =
        msg == WM_INITDIALOG ? reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam : 0;
    return BoundState<State>(page, msg, init);
}
// Answers a property sheet notification with a result and TRUE.
INT_PTR PageResult(HWND page, LONG_PTR result);
// Opens the help file at the page's help context.
void ShowPageHelp(HWND page, const SettingsSheetShared& sheet, DWORD context);
bool IsTicked(HWND page, int id);
void SetTicked(HWND page, int id, bool ticked);
