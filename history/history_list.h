// The search history list: past keywords as UTF-16, newest first. No Windows needed.
#pragma once
#include <string_view>

#include "base/text.h"
#include "base/wide_text.h"

constexpr int kHistoryLimit = 50; // the largest Max
// An entry weighs at most 127 (KeywordWeight: its Shift-JIS bytes when Shift-JIS can say it),
// so it has at most 127 units.
constexpr size_t kHistoryTextSize = 128;
constexpr size_t kHistoryMenuCut = 56; // heavier texts are cut in the menu

// One entry, its text terminated.
struct HistoryEntry {
    char16_t text[kHistoryTextSize] = {};
};

// The list holds its entries in place, newest first: no allocation, and a copy is an
// assignment.
struct SearchHistory {
    int count = 0;
    HistoryEntry entries[kHistoryLimit];
};

// Compares two history texts; 0 when they are the same entry.
using HistoryCompare = int (*)(const char16_t*, const char16_t*);
// Unit by unit: equal only when every unit is.
int CompareHistoryUnits(const char16_t* a, const char16_t* b);

// Appends a text (cut to a weight of 127, never inside a surrogate pair) at the end of the
// list; false when the list is full.
bool AppendHistoryEntry(SearchHistory& list, std::u16string_view text);
// Text of the entry at 0-based position n, or nullptr when the list is shorter.
const char16_t* HistoryItemAt(const SearchHistory& list, int n);
// Records a keyword (cut as AppendHistoryEntry cuts): nothing when max is 0; an equal entry
// (by compare) moves to the front; otherwise the keyword goes in front and the list is cut to
// max entries (at most 50).
void AddToHistory(SearchHistory& list, std::u16string_view keyword, int max,
                  HistoryCompare compare = CompareHistoryUnits);
// Removes the entry at position n; false when there is none.
bool RemoveHistoryEntry(SearchHistory& list, int n);
// Swaps the entries at positions n and n + step (step -1 or +1); false when either is
// missing, and then the list is unchanged.
bool SwapHistoryEntries(SearchHistory& list, int n, int step);

// Key of the entry at position n (0..49): "HistoryA".."HistoryZ", "HistoryAA".."HistoryXA".
FixedText<16> HistoryKeyName(int n);
// Menu text of an entry: a text weighing more than 56 is cut to the whole characters within
// 56 and " ... (続く)" is appended.
constexpr char16_t kHistoryMenuMore[] = u" ... (続く)";
using HistoryMenuLabel = WideText<kHistoryMenuCut + sizeof kHistoryMenuMore / sizeof(char16_t)>;
HistoryMenuLabel HistoryMenuText(const char16_t* text);
