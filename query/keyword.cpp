#include "query/keyword.h"

size_t KeywordWeight(std::u16string_view text) {
    size_t weight = 0;
    for (const char16_t u : text)
        weight += KeywordUnitWeight(u);
    return weight;
}

size_t KeywordUnitsWithin(std::u16string_view text, size_t limit) {
    size_t weight = 0, n = 0;
    while (n < text.size()) {
        // A pair goes whole or not at all.
        const size_t units =
            IsHighSurrogate(text[n]) && n + 1 < text.size() && IsLowSurrogate(text[n + 1]) ? 2 : 1;
        size_t w = 0;
        for (size_t k = 0; k < units; ++k)
            w += KeywordUnitWeight(text[n + k]);
        if (weight + w > limit) break;
        weight += w;
        n += units;
    }
    return n;
}

void KeywordFromUtf16Data(const unsigned char* data, size_t size, size_t limit, WideKeyword& out) {
    out.clear();
    if (!data) return;
    const size_t units = size / 2;
    const auto unit = [data](size_t i) {
        return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    };
    size_t weight = 0;
    for (size_t i = 0; i < units;) {
        char16_t piece[2] = {unit(i), 0};
        if (piece[0] == 0) break;
        size_t n = 1;
        if (IsHighSurrogate(piece[0]) && i + 1 < units && IsLowSurrogate(unit(i + 1))) {
            piece[1] = unit(i + 1);
            n = 2;
        } else if (IsHighSurrogate(piece[0]) || IsLowSurrogate(piece[0])) {
            piece[0] = 0xFFFD;
        }
        const size_t w = KeywordWeight(std::u16string_view(piece, n));
        if (weight + w > limit || out.size() + n > out.capacity()) break;
        weight += w;
        out.Append(std::u16string_view(piece, n));
        i += n;
    }
}
