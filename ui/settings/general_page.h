// Page 全般 of the settings sheet: topmost, tray, hiding, tooltips, the summon key and starting
// with Windows.
#pragma once
#include <windows.h>

#include "ui/settings/page_helpers.h"

struct GeneralPage {
    SettingsSheetShared* sheet = nullptr;
    bool runAtLogon = false; // what the registry held when the page opened
};

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
