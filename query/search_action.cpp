#include "query/search_action.h"

#include "base/text.h"
#include "query/text_ops.h"

namespace {

// The code of the entries that refuse a keyword Shift-JIS cannot say: EUC-JP, and Shift-JIS
// for every other value.
const char* CodeName(uint8_t character) {
    return character == kCharEuc ? "EUC-JP" : "Shift-JIS";
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

    if (automatic) {
        if (text.empty() || !last.valid || engine == last.engine ||
            text.view() != last.keyword.view()) {
            last.valid = false;
            return;
        }
    } else if (text.empty()) {
        port.Beep();
        port.FocusKeyword(false);
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
    const size_t unsayable = options.toCp932(keyword, bytes);
    const bool sayable = unsayable == keyword.size();
    if (!sayable && entry.Character != kCharUtf8 && entry.Character != kCharNone) {
        port.Refuse(
            std::u16string_view(keyword.c_str() + unsayable, CharacterUnits(keyword, unsayable)),
            CodeName(entry.Character));
        return;
    }

    Settings& settings = *context.settings;
    if (settings.Sound) port.Beep();
    // A keyword within the box's limit always makes a whole URL.
    if (sayable) {
        port.OpenUrl(BuildSearchUrl(bytes, mode, entry, options).c_str());
    } else if (entry.Character == kCharUtf8) {
        port.OpenUrl(BuildUtf8SearchUrl(keyword, mode, entry, options).c_str());
    } else {
        port.OpenWideUrl(BuildWideSearchUrl(keyword, mode, entry, options));
    }
    if (!port.ShiftHeld()) AddToHistory(*context.history, keyword, settings.Max, context.compare);
    settings.Count = static_cast<int32_t>(static_cast<uint32_t>(settings.Count) + 1u);

    last.engine = engine;
    last.mode = mode;
    last.valid = true;
    last.keyword = text;
}
