#include "history/history_list.h"

#include "base/text.h"

namespace {

std::u16string_view TextOf(const char16_t* text) {
    size_t n = 0;
    while (n < kHistoryTextSize - 1 && text[n] != u'\0')
        ++n;
    return std::u16string_view(text, n);
}

// The entry's text: the given one cut to what an entry holds, terminated.
void SetText(HistoryEntry& e, std::u16string_view text) {
    const size_t n = KeywordUnitsWithin(text, kHistoryTextSize - 1);
    for (size_t i = 0; i < n; ++i)
        e.text[i] = text[i];
    e.text[n] = u'\0';
}

// Moves the entries from..to-1 one place on, so that `from` is free (to < kHistoryLimit).
void OpenGap(SearchHistory& list, int from, int to) {
    for (int i = to; i > from; --i)
        list.entries[i] = list.entries[i - 1];
}

} // namespace

int CompareHistoryUnits(const char16_t* a, const char16_t* b) {
    while (*a != u'\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b ? 0 : (*a < *b ? -1 : 1);
}

bool AppendHistoryEntry(SearchHistory& list, std::u16string_view text) {
    if (list.count >= kHistoryLimit) return false;
    SetText(list.entries[list.count++], text);
    return true;
}

const char16_t* HistoryItemAt(const SearchHistory& list, int n) {
    if (n < 0 || n >= list.count) return nullptr;
    return list.entries[n].text;
}

void AddToHistory(SearchHistory& list, std::u16string_view keyword, int max,
                  HistoryCompare compare) {
    if (max <= 0) return;
    if (max > kHistoryLimit) max = kHistoryLimit;
    HistoryEntry added;
    SetText(added, keyword); // compared as it would be stored: cut and terminated
    int at = 0;
    while (at < list.count && compare(list.entries[at].text, added.text) != 0)
        ++at;
    if (at < list.count) { // an equal entry moves to the front as it is
        added = list.entries[at];
    } else { // a new one goes in front, the list cut to max entries
        at = list.count < max ? list.count : max - 1;
        list.count = at + 1;
    }
    OpenGap(list, 0, at);
    list.entries[0] = added;
}

bool RemoveHistoryEntry(SearchHistory& list, int n) {
    if (n < 0 || n >= list.count) return false;
    for (int i = n + 1; i < list.count; ++i)
        list.entries[i - 1] = list.entries[i];
    --list.count;
    return true;
}

bool SwapHistoryEntries(SearchHistory& list, int n, int step) {
    if (step != 1 && step != -1) return false;
    const int first = step < 0 ? n - 1 : n;
    if (first < 0 || first + 1 >= list.count) return false;
    const HistoryEntry later = list.entries[first + 1];
    list.entries[first + 1] = list.entries[first];
    list.entries[first] = later;
    return true;
}

FixedText<16> HistoryKeyName(int n) {
    FixedText<16> key("History");
    if (n < 26) {
        key.Append(static_cast<char>('A' + n));
    } else {
        key.Append(static_cast<char>('A' + (n - 26)));
        key.Append('A');
    }
    return key;
}

HistoryMenuLabel HistoryMenuText(const char16_t* text) {
    const std::u16string_view whole = TextOf(text);
    if (KeywordWeight(whole) <= kHistoryMenuCut) return HistoryMenuLabel(whole);
    HistoryMenuLabel label(std::u16string_view(text, KeywordUnitsWithin(whole, kHistoryMenuCut)));
    label.Append(kHistoryMenuMore);
    return label;
}
