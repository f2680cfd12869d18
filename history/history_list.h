// The search history list: past keywords, newest first. No Windows needed.
#pragma once
#include <cstring>

#include "base/text.h"

constexpr int kHistoryLimit = 50;        // the largest Max
constexpr size_t kHistoryTextSize = 128; // a stored value holds at most 127 bytes
constexpr size_t kHistoryMenuCut = 56;   // longer texts are cut in the menu

// One element of the doubly linked list; the head element holds no text.
struct HistoryEntry {
    HistoryEntry* next = nullptr;
    HistoryEntry* prev = nullptr;
    char text[kHistoryTextSize] = {};
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

using HistoryCompare = int (*)(const char*, const char*);

// Creates the head of an empty list (frees what the list held before). False, with the list
// left empty, when there is no memory for it; every function below takes that list.
bool InitHistory(SearchHistory& list);
// Appends a text (cut to 127 bytes) at the end of the list; false when out of memory.
bool AppendHistoryEntry(SearchHistory& list, const char* text);
// Number of entries.
int HistoryCount(const SearchHistory& list);
// Text of the entry at 0-based position n, or nullptr when the list is shorter.
const char* HistoryItemAt(const SearchHistory& list, int n);
// Records a keyword: nothing when max is 0; an equal entry (by compare) moves to the front;
// otherwise the keyword goes in front and the list is cut to max entries. Out of memory,
// the keyword is not recorded.
void AddToHistory(SearchHistory& list, const char* keyword, int max,
                  HistoryCompare compare = std::strcmp);
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
// Menu text of an entry: more than 56 bytes are cut and " ... (続く)" is appended.
using HistoryMenuLabel = FixedText<kHistoryMenuCut + sizeof " ... (続く)">;
HistoryMenuLabel HistoryMenuText(const char* text);
