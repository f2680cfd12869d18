// The search action without the window: the bar is reached through a small port.
#pragma once
#include "base/settings.h"
#include "base/text.h"
#include "engines/engine_entry.h"
#include "history/history_list.h"
#include "query/compose.h"
#include "query/keyword.h"

// The last completed search; an automatic start repeats it on another engine.
struct LastSearch {
    char keyword[kKeywordSize]; // the keyword text exactly as read from the box
    int engine;                 // engine index; -1 = none
    int mode;                   // 0 = URL1, 1 = URL2 (after the entry's URL2 rule)
    bool valid;
};

// What the action needs of the search bar and the platform.
using KeywordBuffer = FixedText<kKeywordSize>;

class SearchPort {
  public:
    virtual ~SearchPort() = default;
    virtual KeywordBuffer KeywordText() = 0; // at most 127 bytes
    virtual int ModeSelection() = 0;         // -1 when the mode combo has no selection
    virtual int EngineSelection() = 0;       // index into the active engine set
    virtual void Beep() = 0;                 // the default beep
    virtual void FocusKeyword(bool clear) = 0;
    virtual bool ShiftHeld() = 0;
    virtual void OpenUrl(const char* url) = 0;
};

struct SearchContext {
    const EngineSet* engines;
    Settings* settings; // Sound, Max and the counter Count
    LastSearch* last;
    SearchHistory* history;
    HistoryCompare compare; // equality of history texts
    ComposeOptions compose;
};

// Explicit start (automatic false) or automatic start on an engine change (true).
void RunSearchAction(bool automatic, SearchPort& port, const SearchContext& context);
