#include "history/history_list.h"

#include <new>

#include "base/text.h"

SearchHistory::~SearchHistory() {
    FreeHistory(*this);
}

namespace {

HistoryEntry* NewEntry(const char* text) {
    auto* e = new (std::nothrow) HistoryEntry;
    if (e) CopyBounded(e->text, sizeof e->text, text, kHistoryTextSize - 1);
    return e;
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

bool InitHistory(SearchHistory& list) {
    FreeHistory(list);
    list.head = new (std::nothrow) HistoryEntry;
    return list.head != nullptr;
}

bool AppendHistoryEntry(SearchHistory& list, const char* text) {
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

const char* HistoryItemAt(const SearchHistory& list, int n) {
    if (!list.head || n < 0) return nullptr;
    const HistoryEntry* e = list.head;
    for (int k = 0; k <= n && e; ++k)
        e = e->next;
    return e ? e->text : nullptr;
}

void AddToHistory(SearchHistory& list, const char* keyword, int max, HistoryCompare compare) {
    if (max <= 0) return;
    if (!list.head && !InitHistory(list)) return;
    for (HistoryEntry* e = list.head->next; e; e = e->next) {
        if (compare(e->text, keyword) == 0) {
            Unlink(e);
            InsertAfter(list.head, e);
            return;
        }
    }
    HistoryEntry* added = NewEntry(keyword);
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
        HistoryEntry* copy = NewEntry(e->text);
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

HistoryMenuLabel HistoryMenuText(const char* text) {
    const size_t len = FieldLength(text, kHistoryTextSize);
    if (len <= kHistoryMenuCut) return HistoryMenuLabel(std::string_view(text, len));
    // Keep whole characters: a cut that would end on a lead byte drops that byte.
    size_t cut = 0;
    while (cut < kHistoryMenuCut) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[cut])) ? 2 : 1;
        if (cut + step > kHistoryMenuCut) break;
        cut += step;
    }
    HistoryMenuLabel label(std::string_view(text, cut));
    label.Append(" ... (続く)");
    return label;
}
