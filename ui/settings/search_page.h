// Page 検索 of the settings sheet: sound, automatic search, history size and browser.
#pragma once
#include <windows.h>

#include "ui/settings/page_helpers.h"

struct SearchPage {
    SettingsSheetShared* sheet = nullptr;
    char pendingBrowser[MAX_PATH] = {}; // the browser chosen while the sheet is open
};

INT_PTR CALLBACK SearchPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
