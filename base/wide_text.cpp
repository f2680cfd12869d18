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

bool AppendUtf8(std::u16string_view text, TextBuffer& out) {
    for (size_t i = 0; i < text.size();) {
        uint32_t c = text[i];
        const size_t units = CharacterUnits(text, i);
        if (units == 2) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            c = 0xFFFD;
        }
        i += units;
        char bytes[4];
        size_t n = 0;
        if (c < 0x80) {
            bytes[n++] = static_cast<char>(c);
        } else if (c < 0x800) {
            bytes[n++] = static_cast<char>(0xC0 | (c >> 6));
            bytes[n++] = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes[n++] = static_cast<char>(0xE0 | (c >> 12));
            bytes[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes[n++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes[n++] = static_cast<char>(0xF0 | (c >> 18));
            bytes[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes[n++] = static_cast<char>(0x80 | (c & 0x3F));
        }
        out.Append(std::string_view(bytes, n));
    }
    return !out.cut();
}

bool DecodeUtf8Into(std::string_view text, char16_t* out, size_t capacity, size_t& written) {
    written = 0;
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    for (size_t i = 0; i < text.size();) {
        const unsigned char b = byte(i);
        uint32_t c = 0;
        size_t n = 0;
        uint32_t least = 0;
        if (b < 0x80) {
            c = b, n = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            c = b & 0x1F, n = 2, least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            c = b & 0x0F, n = 3, least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            c = b & 0x07, n = 4, least = 0x10000;
        } else {
            return false;
        }
        if (n > text.size() - i) return false;
        for (size_t k = 1; k < n; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) return false;
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        if (c == 0 || c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        const size_t units = c >= 0x10000 ? 2 : 1;
        if (units > capacity - written) return false;
        if (units == 2) {
            out[written++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(c);
        }
        i += n;
    }
    return true;
}
