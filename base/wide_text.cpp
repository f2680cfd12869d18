#include "base/wide_text.h"

size_t KeywordWeight(std::u16string_view text) {
    size_t weight = 0;
    for (const char16_t u : text)
        weight += KeywordUnitWeight(u);
    return weight;
}

size_t CharacterUnits(std::u16string_view text, size_t i) {
    return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

size_t KeywordUnitsWithin(std::u16string_view text, size_t limit) {
    size_t weight = 0, n = 0;
    while (n < text.size()) {
        // A pair goes whole or not at all.
        const size_t units = CharacterUnits(text, n);
        size_t w = 0;
        for (size_t k = 0; k < units; ++k)
            w += KeywordUnitWeight(text[n + k]);
        if (weight + w > limit) break;
        weight += w;
        n += units;
    }
    return n;
}
