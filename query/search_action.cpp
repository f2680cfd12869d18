#include "query/search_action.h"

#include "base/text.h"
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

    const KeywordBuffer text = port.KeywordText();

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

    KeywordBuffer keyword;
    ReplaceAll(text, "　", " ", keyword);
    TrimSpaces(keyword);
    if (keyword.empty()) {
        port.Beep();
        port.FocusKeyword(true);
        return;
    }
    CollapseSpaces(keyword);

    // A keyword within the box's limit always makes a whole URL.
    const UrlText url = BuildSearchUrl(keyword, mode, entry, context.compose);
    Settings& settings = *context.settings;
    if (settings.Sound) port.Beep();
    port.OpenUrl(url.c_str());
    if (!port.ShiftHeld() && context.compose.toUtf16) {
        char16_t wide[kKeywordSize];
        const size_t units = context.compose.toUtf16(keyword, wide, kKeywordSize);
        AddToHistory(*context.history, std::u16string_view(wide, units), settings.Max,
                     context.compare);
    }
    settings.Count = static_cast<int32_t>(static_cast<uint32_t>(settings.Count) + 1u);

    last.engine = engine;
    last.mode = mode;
    last.valid = true;
    CopyToField(last.keyword, text);
}
