// The settings sheet: a modal property sheet "設定" with the pages 全般, 検索, IE連携 and
// 履歴編集. It edits the in-memory settings and the history list only.
#pragma once
#include <windows.h>

#include <commctrl.h>

// What every page of one sheet shares: the search bar that owns it and the applied flag
// that the sheet returns.
struct SettingsSheetShared {
    HWND bar = nullptr;
    bool applied = false;
};

// Runs the sheet modally, owned by the search bar; returns the applied flag (set when a
// page other than 検索 was confirmed).
bool ShowSettingsSheet(HWND bar);

// Helpers the pages share.
// The page's state, kept in DWLP_USER from WM_INITDIALOG (lParam is the PROPSHEETPAGE).
template <typename State> State* PageState(HWND page, UINT msg, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* psp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        SetWindowLongPtrA(page, DWLP_USER, psp->lParam);
    }
    return reinterpret_cast<State*>(GetWindowLongPtrA(page, DWLP_USER));
}
// Answers a property sheet notification with a result and TRUE.
INT_PTR PageResult(HWND page, LONG_PTR result);
// Opens the help file at the page's help context.
void ShowPageHelp(HWND page, DWORD context);
bool IsTicked(HWND page, int id);
void SetTicked(HWND page, int id, bool ticked);
