// Page 履歴編集 of the settings sheet: the history editor. It works on a copy of the
// search history that replaces the live one only when the sheet is confirmed.
#pragma once
#include <windows.h>

#include "history/history_list.h"
#include "ui/common/window_helpers.h"
#include "ui/settings/page_helpers.h"

struct HistoryPage {
    SettingsSheetShared* sheet = nullptr;
    SearchHistory working;
    HWND list = nullptr;
    WindowSubclass keys;
};

INT_PTR CALLBACK HistoryPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
