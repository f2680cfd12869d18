// The search history in the History section of the settings file.
//
// An entry that Shift-JIS can say is stored as its Shift-JIS bytes under its key ("HistoryA",
// ...). Any other entry is stored twice: under its key as Shift-JIS with "?" for each
// character Shift-JIS cannot say (what an older version shows), and under the key with "U"
// appended ("HistoryAU", ...) exactly, as its UTF-16 units in upper-case hexadecimal, four
// digits each. The U key is read only while the plain key still holds what it was written
// with, so a list an older version rewrote is read from its plain keys.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/profile_document.h"
#include "history/history_list.h"

// Entries shown and stored: the first max, never more keys than exist.
int StoredHistoryLimit(int max);
// Empties the list and fills it from the settings file's document: at most max entries, a gap
// ends it. A max above 50 becomes 50.
void LoadHistory(SearchHistory& history, uint8_t& max, const ProfileDocument& doc);
// Sets the first max entries under the history keys; false when any of them did not fit.
bool SaveHistory(const SearchHistory& history, int max, ProfileDocument& doc);
// The program's compare of history texts: the system's locale-aware, case-sensitive compare
// (lstrcmpW).
int CompareHistoryTexts(const char16_t* a, const char16_t* b);
