#include "query/search_action.h"

#include "base/text.h"
#include "query/engine_keyword.h"
#include "query/text_ops.h"

namespace {

// The code of the entries that refuse a keyword Shift-JIS cannot say: EUC-JP, and Shift-JIS
// for every other value.
const char* CodeName(uint8_t character) {
    return character == kCharEuc ? "EUC-JP" : "Shift-JIS";
}

// Whether an entry can search a keyword of which Shift-JIS says the first `sayable` units.
bool CanSay(const EngineEntry& entry, const WideKeyword& keyword, size_t sayable) {
    return sayable == keyword.size() || entry.Character == kCharUtf8 ||
           entry.Character == kCharNone;
}

// Opens the search of one entry for a normalised keyword, given its Shift-JIS bytes and how
// many of its units Shift-JIS says; false when the entry's code cannot say it (Refuse was
// called).
bool OpenSearchOf(const EngineEntry& entry, int mode, const WideKeyword& keyword,
                  const KeywordBuffer& bytes, size_t sayableUnits, SearchPort& port,
                  const ComposeOptions& options) {
    if (!CanSay(entry, keyword, sayableUnits)) {
        port.Refuse(std::u16string_view(keyword.c_str() + sayableUnits,
                                        CharacterUnits(keyword, sayableUnits)),
                    CodeName(entry.Character));
        return false;
    }
    const bool sayable = sayableUnits == keyword.size();
    // A keyword within the box's limit always makes a whole URL.
    if (sayable) {
        port.OpenUrl(BuildSearchUrl(bytes, mode, entry, options).c_str());
    } else if (entry.Character == kCharUtf8) {
        port.OpenUrl(BuildUtf8SearchUrl(keyword, mode, entry, options).c_str());
    } else {
        port.OpenWideUrl(BuildWideSearchUrl(keyword, mode, entry, options));
    }
    return true;
}

void CountSearch(Settings& settings) {
    settings.Count = static_cast<int32_t>(static_cast<uint32_t>(settings.Count) + 1u);
}

// Text that begins with a keyword: the rest goes to each entry of the keyword, each in its own
// code; the keyword alone opens their top pages. The history keeps the whole text, so that a
// recalled entry goes to the same engines.
void SearchByKeyword(const KeywordRoute& route, const WideKeyword& text, SearchPort& port,
                     const SearchContext& context) {
    const ComposeOptions& options = context.compose;
    Settings& settings = *context.settings;
    const WideKeyword keyword = NormaliseKeyword(route.rest);
    KeywordBuffer bytes;
    const size_t sayable = options.toCp932(keyword, bytes);
    int opened = 0;
    bool sounded = false;
    for (int k = 0; k < route.count; ++k) {
        const EngineEntry& entry = context.engines->entries[route.engines[k]];
        if (keyword.empty()) {
            const TopPageText top = TopPageUrl(entry);
            if (top.empty()) continue;
            if (settings.Sound && !sounded) port.Beep();
            sounded = true;
            port.OpenUrl(top.c_str());
        } else {
            const int mode = HasUrl2(entry) ? (port.ModeSelection() & 1) : 0;
            if (settings.Sound && !sounded && CanSay(entry, keyword, sayable)) {
                port.Beep();
                sounded = true;
            }
            if (!OpenSearchOf(entry, mode, keyword, bytes, sayable, port, options)) continue;
        }
        CountSearch(settings);
        ++opened;
    }
    context.last->valid = false; // the keyword, not the engine combo, chose the engines
    if (opened == 0) {
        if (keyword.empty()) {
            port.Beep();
            port.FocusKeyword(false);
        }
        return;
    }
    if (!port.ShiftHeld())
        AddToHistory(*context.history, NormaliseKeyword(text), settings.Max, context.compare);
}

} // namespace

void RunSearchAction(bool automatic, SearchPort& port, const SearchContext& context) {
    LastSearch& last = *context.last;
    const int engine = port.EngineSelection();
    // No entry to search with (an empty engine combo): nothing can happen.
    if (engine < 0 || engine >= context.engines->count) {
        last.valid = false;
        return;
    }
    const EngineEntry& entry = context.engines->entries[engine];
    const int mode = HasUrl2(entry) ? (port.ModeSelection() & 1) : 0;

    const WideKeyword text = port.KeywordText();
    const KeywordRoute route =
        RouteByKeyword(text.view(), *context.engines, context.compose.toUtf16);

    if (automatic) {
        // Text with a keyword goes to the keyword's engines whichever is selected.
        if (text.empty() || route.count > 0 || !last.valid || engine == last.engine ||
            text.view() != last.keyword.view()) {
            last.valid = false;
            return;
        }
    } else if (text.empty()) {
        port.Beep();
        port.FocusKeyword(false);
        return;
    }

    if (route.count > 0) {
        SearchByKeyword(route, text, port, context);
        return;
    }

    const WideKeyword keyword = NormaliseKeyword(text);
    if (keyword.empty()) {
        port.Beep();
        port.FocusKeyword(true);
        return;
    }

    const ComposeOptions& options = context.compose;
    KeywordBuffer bytes;
    const size_t sayable = options.toCp932(keyword, bytes);
    Settings& settings = *context.settings;
    if (settings.Sound && CanSay(entry, keyword, sayable)) port.Beep();
    if (!OpenSearchOf(entry, mode, keyword, bytes, sayable, port, options)) return;
    if (!port.ShiftHeld()) AddToHistory(*context.history, keyword, settings.Max, context.compare);
    CountSearch(settings);

    last.engine = engine;
    last.mode = mode;
    last.valid = true;
    last.keyword = text;
}
