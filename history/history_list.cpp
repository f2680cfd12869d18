#include "history/history_list.h"

#include <new>

#include "base/text.h"

SearchHistory::~SearchHistory() {
    FreeHistory(*this);
}

namespace {

HistoryEntry* NewEntry(std::u16string_view text) {
    auto* e = new (std::nothrow) HistoryEntry;
    if (!e) return nullptr;
    const size_t n = KeywordUnitsWithin(text, kHistoryTextSize - 1);
    for (size_t i = 0; i < n; ++i)
        e->text[i] = text[i];
    return e;
}

std::u16string_view TextOf(const char16_t* text) {
    size_t n = 0;
    while (n < kHistoryTextSize - 1 && text[n] != u'\0')
        ++n;
    return std::u16string_view(text, n);
}

void Unlink(HistoryEntry* e) {
    e->prev->next = e->next;
    if (e->next) e->next->prev = e->prev;
    e->next = e->prev = nullptr;
}

void InsertAfter(HistoryEntry* at, HistoryEntry* e) {
    e->prev = at;
    e->next = at->next;
    if (at->next) at->next->prev = e;
    at->next = e;
}

} // namespace

int CompareHistoryUnits(const char16_t* a, const char16_t* b) {
    while (*a != u'\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b ? 0 : (*a < *b ? -1 : 1);
}

bool InitHistory(SearchHistory& list) {
    FreeHistory(list);
    list.head = new (std::nothrow) HistoryEntry;
    return list.head != nullptr;
}

bool AppendHistoryEntry(SearchHistory& list, std::u16string_view text) {
    if (!list.head && !InitHistory(list)) return false;
    HistoryEntry* last = list.head;
    while (last->next)
        last = last->next;
    HistoryEntry* e = NewEntry(text);
    if (!e) return false;
    InsertAfter(last, e);
    return true;
}

int HistoryCount(const SearchHistory& list) {
    int n = 0;
    for (const HistoryEntry* e = list.head ? list.head->next : nullptr; e; e = e->next)
        ++n;
    return n;
}

const char16_t* HistoryItemAt(const SearchHistory& list, int n) {
    if (!list.head || n < 0) return nullptr;
    const HistoryEntry* e = list.head;
    for (int k = 0; k <= n && e; ++k)
        e = e->next;
    return e ? e->text : nullptr;
}

void AddToHistory(SearchHistory& list, std::u16string_view keyword, int max,
                  HistoryCompare compare) {
    if (max <= 0) return;
    if (!list.head && !InitHistory(list)) return;
    // Compared as it would be stored: cut and terminated.
    WideText<kHistoryTextSize> text(
        std::u16string_view(keyword.data(), KeywordUnitsWithin(keyword, kHistoryTextSize - 1)));
    for (HistoryEntry* e = list.head->next; e; e = e->next) {
        if (compare(e->text, text.c_str()) == 0) {
            Unlink(e);
            InsertAfter(list.head, e);
            return;
        }
    }
    HistoryEntry* added = NewEntry(text);
    if (!added) return;
    InsertAfter(list.head, added);
    // Cut the list so that it ends at position max - 1.
    HistoryEntry* e = list.head;
    for (int k = 0; k < max && e; ++k)
        e = e->next;
    if (!e) return;
    HistoryEntry* rest = e->next;
    e->next = nullptr;
    while (rest) {
        HistoryEntry* next = rest->next;
        delete rest;
        rest = next;
    }
}

namespace {

HistoryEntry* EntryAt(const SearchHistory& list, int n) {
    if (!list.head || n < 0) return nullptr;
    HistoryEntry* e = list.head;
    for (int k = 0; k <= n && e; ++k)
        e = e->next;
    return e;
}

} // namespace

bool RemoveHistoryEntry(SearchHistory& list, int n) {
    HistoryEntry* e = EntryAt(list, n);
    if (!e) return false;
    Unlink(e);
    delete e;
    return true;
}

bool SwapHistoryEntries(SearchHistory& list, int n, int step) {
    if (step != 1 && step != -1) return false;
    HistoryEntry* first = EntryAt(list, step < 0 ? n - 1 : n);
    if (!first || !first->next) return false;
    // The later entry goes in front of the earlier one.
    HistoryEntry* second = first->next;
    Unlink(second);
    InsertAfter(first->prev, second);
    return true;
}

void CopyHistory(SearchHistory& destination, const SearchHistory& source) {
    if (&destination == &source) return;
    if (!InitHistory(destination)) return;
    HistoryEntry* last = destination.head;
    for (const HistoryEntry* e = source.head ? source.head->next : nullptr; e; e = e->next) {
        HistoryEntry* copy = NewEntry(TextOf(e->text));
        if (!copy) return;
        InsertAfter(last, copy);
        last = copy;
    }
}

void FreeHistory(SearchHistory& list) {
    HistoryEntry* e = list.head;
    while (e) {
        HistoryEntry* next = e->next;
        delete e;
        e = next;
    }
    list.head = nullptr;
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
