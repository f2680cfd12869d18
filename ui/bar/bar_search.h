// The search action on the search bar: reads its controls, composes the URL, opens it and
// records the search.
#pragma once
#include <windows.h>

#include "ui/bar/bar_state.h"

// Explicit start (button, tray menu, WM_APP_SETOPTION 2): automatic = false.
// Automatic start (engine combo changed with AutoSearch on): automatic = true.
// Reads the bar's keyword box, mode and engine combos and uses the active set.
void RunSearch(SearchBar& bar, bool automatic);
