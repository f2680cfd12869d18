#include "query/search_action.h"

#include "app/text.h"
#include "query/text_ops.h"

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

    std::string text = port.KeywordText();
    if (text.size() >= sizeof last.keyword) text.resize(sizeof last.keyword - 1);

    if (automatic) {
        if (text.empty() || !last.valid || engine == last.engine ||
            text != FieldText(last.keyword)) {
            last.valid = false;
            return;
        }
    } else if (text.empty()) {
        port.Beep();
        port.FocusKeyword(false);
        return;
    }

    std::string keyword = ReplaceAll(text, "　", " ").text;
    TrimSpaces(keyword);
    if (keyword.empty()) {
        port.Beep();
        port.FocusKeyword(true);
        return;
    }
    CollapseSpaces(keyword);

    const std::string url = BuildSearchUrl(keyword, mode, entry, context.compose);
    Settings& settings = *context.settings;
    if (settings.Sound) port.Beep();
    port.OpenUrl(url);
    if (!port.ShiftHeld())
        AddToHistory(*context.history, keyword.c_str(), settings.Max, context.compare);
    settings.Count = static_cast<int32_t>(static_cast<uint32_t>(settings.Count) + 1u);

    last.engine = engine;
    last.mode = mode;
    last.valid = true;
    CopyToField(last.keyword, text);
}
