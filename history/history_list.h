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

// One element of the doubly linked list; the head element holds no text.
struct HistoryEntry {
    HistoryEntry* next = nullptr;
    HistoryEntry* prev = nullptr;
    char16_t text[kHistoryTextSize] = {};
};

// Owns its head and entries. Empty (no head) until InitHistory or CopyHistory.
class SearchHistory {
  public:
    SearchHistory() = default;
    SearchHistory(const SearchHistory&) = delete;
    SearchHistory& operator=(const SearchHistory&) = delete;
    SearchHistory(SearchHistory&& other) noexcept : head(other.head) { other.head = nullptr; }
    SearchHistory& operator=(SearchHistory&& other) noexcept;
    ~SearchHistory();

    HistoryEntry* head = nullptr;
};

// Compares two history texts; 0 when they are the same entry.
using HistoryCompare = int (*)(const char16_t*, const char16_t*);
// Unit by unit: equal only when every unit is.
int CompareHistoryUnits(const char16_t* a, const char16_t* b);

// Creates the head of an empty list (frees what the list held before). False, with the list
// left empty, when there is no memory for it; every function below takes that list.
bool InitHistory(SearchHistory& list);
// Appends a text (cut to a weight of 127, never inside a surrogate pair) at the end of the
// list; false when out of memory.
bool AppendHistoryEntry(SearchHistory& list, std::u16string_view text);
// Number of entries.
int HistoryCount(const SearchHistory& list);
// Text of the entry at 0-based position n, or nullptr when the list is shorter.
const char16_t* HistoryItemAt(const SearchHistory& list, int n);
// Records a keyword (cut as AppendHistoryEntry cuts): nothing when max is 0; an equal entry
// (by compare) moves to the front; otherwise the keyword goes in front and the list is cut to
// max entries. Out of memory, the keyword is not recorded.
void AddToHistory(SearchHistory& list, std::u16string_view keyword, int max,
                  HistoryCompare compare = CompareHistoryUnits);
// Unlinks and frees the entry at position n; false when there is none.
bool RemoveHistoryEntry(SearchHistory& list, int n);
// Swaps the entries at positions n and n + step (step -1 or +1); false when either is
// missing, and then the list is unchanged.
bool SwapHistoryEntries(SearchHistory& list, int n, int step);
// Deep copy: destination gets a new head and a copy of each entry in order (out of memory,
// as many as there was room for).
void CopyHistory(SearchHistory& destination, const SearchHistory& source);
// Frees every entry and the head.
void FreeHistory(SearchHistory& list);

// Key of the entry at position n (0..49): "HistoryA".."HistoryZ", "HistoryAA".."HistoryXA".
FixedText<16> HistoryKeyName(int n);
// Menu text of an entry: a text weighing more than 56 is cut to the whole characters within
// 56 and " ... (続く)" is appended.
constexpr char16_t kHistoryMenuMore[] = u" ... (続く)";
using HistoryMenuLabel = WideText<kHistoryMenuCut + sizeof kHistoryMenuMore / sizeof(char16_t)>;
HistoryMenuLabel HistoryMenuText(const char16_t* text);
