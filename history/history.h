// The process-wide search history, stored in the History section of the settings file.
#pragma once
#include <windows.h>

#include "history/history_list.h"

extern SearchHistory g_history;

// Creates g_history and fills it from the settings file (Max above 50 becomes 50).
void LoadHistory();
// Writes g_history under the history keys (first Max entries) and frees it.
void SaveHistory();
// Records the keyword of a search in g_history (uses g_settings.Max).
void AddToHistory(const char* keyword);
// Appends the history items (40200 + n) or the disabled "(なし)" item to menu.
HMENU AppendHistoryMenuItems(HMENU menu);
