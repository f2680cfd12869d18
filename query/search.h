// The search action: reads the search bar, composes the URL, opens it and records the search.
#pragma once
#include <cstddef>

// The keyword box holds at most 127 bytes.
constexpr size_t kKeywordSize = 128;

// The last completed search; an automatic start repeats it on another engine.
struct LastSearch {
    char keyword[kKeywordSize]; // the keyword text exactly as read from the box
    int engine;                 // engine index; -1 = none
    int mode;                   // 0 = URL1, 1 = URL2 (after the entry's URL2 rule)
    bool valid;
};

#ifdef _WIN32
#include <windows.h>

extern LastSearch g_lastSearch;

// Explicit start (button, tray menu, WM_APP_SETOPTION 2): automatic = false.
// Automatic start (engine combo changed with AutoSearch on): automatic = true.
// Reads IDC_KEYWORD, IDC_MODE and IDC_ENGINE of the bar and uses g_activeSet.
void RunSearch(bool automatic, HWND bar);
#endif
