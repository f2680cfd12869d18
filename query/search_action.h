// The search action without the window: the bar is reached through a small port.
#pragma once
#include <string_view>

#include "base/settings.h"
#include "base/text.h"
#include "engines/engine_entry.h"
#include "history/history_list.h"
#include "query/compose.h"
#include "query/keyword.h"

// The last completed search; an automatic start repeats it on another engine.
struct LastSearch {
    WideKeyword keyword; // the keyword text exactly as read from the box
    int engine;          // engine index; -1 = none
    int mode;            // 0 = URL1, 1 = URL2 (after the entry's URL2 rule)
    bool valid;
};

// A keyword's Shift-JIS bytes.
using KeywordBuffer = FixedText<kKeywordSize>;

// What the action needs of the search bar and the platform.
class SearchPort {
  public:
    virtual ~SearchPort() = default;
    virtual WideKeyword KeywordText() = 0; // weighing at most 127
    virtual int ModeSelection() = 0;       // -1 when the mode combo has no selection
    virtual int EngineSelection() = 0;     // index into the active engine set
    virtual void Beep() = 0;               // the default beep
    virtual void FocusKeyword(bool clear) = 0;
    virtual bool ShiftHeld() = 0;
    virtual void OpenUrl(const char* url) = 0;
    virtual void OpenWideUrl(std::u16string_view url) = 0;
    // The keyword holds a character (one or two units) that the entry's character code
    // (codeName: "Shift-JIS" or "EUC-JP") cannot say: nothing was searched.
    virtual void Refuse(std::u16string_view character, const char* codeName) = 0;
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
// The normalised keyword goes out as Shift-JIS bytes, as it always has, when Shift-JIS can say
// it. Otherwise UTF-8 engines get it as UTF-8, engines without encoding get a UTF-16 URL, and
// the Shift-JIS and EUC-JP engines refuse it (Refuse; no search, no count, no history).
void RunSearchAction(bool automatic, SearchPort& port, const SearchContext& context);
