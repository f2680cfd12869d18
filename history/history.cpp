#include "history/history.h"

#include <algorithm>

#include "app/globals.h"
#include "app/settings.h"
#include "engines/engine_files.h"
#include "ui/resource.h"

SearchHistory g_history;

namespace {

const char kSection[] = "History";

// Entries shown and stored: the first Max, never more keys than exist.
int StoredLimit() {
    return std::min<int>(g_settings.Max, kHistoryLimit);
}

} // namespace

void LoadHistory() {
    InitHistory(g_history);
    if (g_settings.Max == 0) return;
    if (g_settings.Max > kHistoryLimit) g_settings.Max = kHistoryLimit;
    for (int n = 0; n < g_settings.Max; ++n) {
        char text[kHistoryTextSize] = {};
        GetPrivateProfileStringA(kSection, HistoryKeyName(n).c_str(), "", text, sizeof text,
                                 g_iniPath);
        if (text[0] == '\0') break; // a gap ends the list
        AppendHistoryEntry(g_history, text);
    }
}

void SaveHistory() {
    const int limit = StoredLimit();
    for (int n = 0; n < limit; ++n) {
        const char* text = HistoryItemAt(g_history, n);
        if (!text) break;
        WritePrivateProfileStringA(kSection, HistoryKeyName(n).c_str(), text, g_iniPath);
    }
    FreeHistory(g_history);
}

void AddToHistory(const char* keyword) {
    AddToHistory(g_history, keyword, g_settings.Max, CompareNames);
}

HMENU AppendHistoryMenuItems(HMENU menu) {
    const int limit = StoredLimit();
    int n = 0;
    for (; n < limit; ++n) {
        const char* text = HistoryItemAt(g_history, n);
        if (!text) break;
        AppendMenuA(menu, MF_STRING, IDM_HISTORY_FIRST + n, HistoryMenuText(text).c_str());
    }
    if (n == 0) AppendMenuA(menu, MF_STRING | MF_DISABLED | MF_GRAYED, IDM_HISTORY_NONE, "(なし)");
    return menu;
}
