#include "query/keyword.h"

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

void KeywordFromSelectedText(std::u16string_view text, size_t limit, WideKeyword& out) {
    out.clear();
    const auto blank = [](char16_t u) {
        return u == u' ' || u == u'\t' || u == u'\r' || u == u'\n';
    };
    size_t end = 0;
    while (end < text.size() && text[end] != 0)
        ++end;
    size_t i = 0;
    while (i < end && blank(text[i]))
        ++i;
    while (end > i && blank(text[end - 1]))
        --end;
    size_t weight = 0;
    while (i < end) {
        char16_t piece[2] = {text[i], 0};
        size_t n = 1;
        if (IsHighSurrogate(piece[0]) && i + 1 < end && IsLowSurrogate(text[i + 1])) {
            piece[1] = text[i + 1];
            n = 2;
        } else if (IsHighSurrogate(piece[0]) || IsLowSurrogate(piece[0])) {
            piece[0] = 0xFFFD;
        } else if (piece[0] == u'\r' && i + 1 < end && text[i + 1] == u'\n') {
            piece[0] = u' ';
            ++i; // the pair is one line break
        } else if (blank(piece[0])) {
            piece[0] = u' ';
        }
        const size_t w = KeywordWeight(std::u16string_view(piece, n));
        if (weight + w > limit || out.size() + n > out.capacity()) break;
        weight += w;
        out.Append(std::u16string_view(piece, n));
        i += n;
    }
}
