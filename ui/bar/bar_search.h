// The search action on the search bar: reads its controls, composes the URL, opens it and
// records the search.
#pragma once
#include <windows.h>

#include "platform/app_state.h"

// Explicit start (button, tray menu, WM_APP_SETOPTION 2): automatic = false.
// Automatic start (engine combo changed with AutoSearch on): automatic = true.
// Reads IDC_KEYWORD, IDC_MODE and IDC_ENGINE of the bar and uses the active set.
void RunSearch(AppState& app, bool automatic, HWND bar);
