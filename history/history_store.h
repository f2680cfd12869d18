// The search history in the History section of the settings file.
#pragma once
#include <windows.h>

#include <cstdint>

#include "history/history_list.h"

// Entries shown and stored: the first max, never more keys than exist.
int StoredHistoryLimit(int max);
// Creates the list and fills it from the settings file: at most max entries, a gap ends it.
// A max above 50 becomes 50.
void LoadHistory(SearchHistory& history, uint8_t& max, const char* iniPath);
// Writes the first max entries under the history keys and frees the list.
void SaveHistory(SearchHistory& history, int max, const char* iniPath);
