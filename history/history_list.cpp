#include "history/history_list.h"

#include "app/text.h"

SearchHistory::~SearchHistory() {
    FreeHistory(*this);
}

namespace {

HistoryEntry* NewEntry(const char* text) {
    auto* e = new HistoryEntry;
    e->text.assign(text, FieldLength(text, kHistoryTextSize - 1));
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

void InitHistory(SearchHistory& list) {
    FreeHistory(list);
    list.head = new HistoryEntry;
}

void AppendHistoryEntry(SearchHistory& list, const char* text) {
    if (!list.head) InitHistory(list);
    HistoryEntry* last = list.head;
    while (last->next)
        last = last->next;
    InsertAfter(last, NewEntry(text));
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
    return e ? e->text.c_str() : nullptr;
}

void AddToHistory(SearchHistory& list, const char* keyword, int max, HistoryCompare compare) {
    if (max <= 0) return;
    if (!list.head) InitHistory(list);
    for (HistoryEntry* e = list.head->next; e; e = e->next) {
        if (compare(e->text.c_str(), keyword) == 0) {
            Unlink(e);
            InsertAfter(list.head, e);
            return;
        }
    }
    InsertAfter(list.head, NewEntry(keyword));
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
    InitHistory(destination);
    HistoryEntry* last = destination.head;
    for (const HistoryEntry* e = source.head ? source.head->next : nullptr; e; e = e->next) {
        auto* copy = new HistoryEntry;
        copy->text = e->text;
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

std::string HistoryKeyName(int n) {
    std::string key = "History";
    if (n < 26) {
        key.push_back(static_cast<char>('A' + n));
    } else {
        key.push_back(static_cast<char>('A' + (n - 26)));
        key.push_back('A');
    }
    return key;
}

std::string HistoryMenuText(const char* text) {
    const size_t len = FieldLength(text, kHistoryTextSize);
    if (len <= kHistoryMenuCut) return std::string(text, len);
    // Keep whole characters: a cut that would end on a lead byte drops that byte.
    size_t cut = 0;
    while (cut < kHistoryMenuCut) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[cut])) ? 2 : 1;
        if (cut + step > kHistoryMenuCut) break;
        cut += step;
    }
    return std::string(text, cut) + " ... (続く)";
}
