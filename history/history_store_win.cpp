#include "history/history_store.h"

#include <algorithm>

namespace {

const char kSection[] = "History";

} // namespace

int StoredHistoryLimit(int max) {
    return std::min<int>(max, kHistoryLimit);
}

void LoadHistory(SearchHistory& history, uint8_t& max, const char* iniPath) {
    InitHistory(history);
    if (max == 0) return;
    if (max > kHistoryLimit) max = kHistoryLimit;
    for (int n = 0; n < max; ++n) {
        char text[kHistoryTextSize] = {};
        GetPrivateProfileStringA(kSection, HistoryKeyName(n).c_str(), "", text, sizeof text,
                                 iniPath);
        if (text[0] == '\0') break; // a gap ends the list
        AppendHistoryEntry(history, text);
    }
}

void SaveHistory(SearchHistory& history, int max, const char* iniPath) {
    const int limit = StoredHistoryLimit(max);
    for (int n = 0; n < limit; ++n) {
        const char* text = HistoryItemAt(history, n);
        if (!text) break;
        WritePrivateProfileStringA(kSection, HistoryKeyName(n).c_str(), text, iniPath);
    }
    FreeHistory(history);
}
