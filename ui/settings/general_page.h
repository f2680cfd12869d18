// Page 全般 of the settings sheet: topmost, tray, hiding and tooltips.
#pragma once
#include <windows.h>

#include "ui/settings/page_helpers.h"

struct GeneralPage {
    SettingsSheetShared* sheet = nullptr;
};

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
