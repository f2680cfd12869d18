// libFuzzer target: the suggestion reader on arbitrary answers. Checks that it keeps at most
// the list's limit, that each suggestion is whole UTF-16 (no surrogate without its partner),
// has no control character and fits the keyword box, and that reading again gives the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/wide_text.h"
#include "query/suggest_reader.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view json(reinterpret_cast<const char*>(data), size);
    SuggestionList list;
    const int n = ReadSuggestions(json, list);
    Require(n == list.count && n >= 0 && n <= kMaxSuggestions);
    for (int i = 0; i < n; ++i) {
        const std::u16string_view item = list.items[i].view();
        Require(!item.empty() && !list.items[i].cut());
        Require(KeywordWeight(item) <= kKeywordBoxLimit);
        for (size_t k = 0; k < item.size(); k += CharacterUnits(item, k)) {
            Require(item[k] >= u' ');
            Require(!IsHighSurrogate(item[k]) || CharacterUnits(item, k) == 2);
            Require(!IsLowSurrogate(item[k]));
        }
    }
    SuggestionList again;
    Require(ReadSuggestions(json, again) == n);
    for (int i = 0; i < n; ++i)
        Require(again.items[i].view() == list.items[i].view());
    return 0;
}
