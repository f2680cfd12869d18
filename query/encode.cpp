#include "query/encode.h"

#include "base/text.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

void Escaped(TextBuffer& out, unsigned char b) {
    const char text[3] = {'%', kHex[b >> 4], kHex[b & 0x0F]};
    out.Append(std::string_view(text, 3));
}

void Byte(TextBuffer& out, unsigned char b) {
    if (IsUrlSafeByte(b))
        out.Append(static_cast<char>(b));
    else
        Escaped(out, b);
}

} // namespace

bool IsUrlSafeByte(unsigned char b) {
    return (b >= 0x61 && b <= 0x7A) || (b >= 0x40 && b <= 0x5A) || (b >= 0x30 && b <= 0x39) ||
           b == 0x2A || b == 0x2D || b == 0x2E || b == 0x5F;
}

EncodedKeyword EncodeShiftJis(std::string_view keyword) {
    EncodedKeyword out;
    for (const char c : keyword)
        Byte(out, static_cast<unsigned char>(c));
    return out;
}

EncodedKeyword EncodeEuc(std::string_view keyword) {
    EncodedKeyword out;
    const size_t size = keyword.size();
    for (size_t i = 0; i < size; ++i) {
        const auto s1 = static_cast<unsigned char>(keyword[i]);
        // A lead byte cut off at the end of the text has no trail: it is a single byte.
        if (!IsLeadByte(s1) || i + 1 >= size) {
            Byte(out, s1);
            continue;
        }
        const auto s2 = static_cast<unsigned char>(keyword[++i]);
        const auto t = static_cast<unsigned char>(s1 * 2);
        unsigned char e1, e2;
        if (s2 < 0x9F) {
            e1 = static_cast<unsigned char>(t < 0x3F ? t + 0x9F : t + 0x1F);
            e2 = static_cast<unsigned char>(s2 <= 0x7E ? s2 + 0x61 : s2 + 0x60);
        } else {
            e1 = static_cast<unsigned char>(t < 0x3F ? t + 0xA0 : t + 0x20);
            e2 = static_cast<unsigned char>(s2 + 2);
        }
        Escaped(out, e1);
        Escaped(out, e2);
    }
    return out;
}

EncodedKeyword EncodeUtf8(std::string_view keyword, Cp932ToUtf16 toUtf16) {
    EncodedKeyword out;
    if (keyword.empty() || !toUtf16) return out;
    // Code page 932 never gives more UTF-16 units than bytes (the terminator included).
    char16_t wide[kKeywordSize];
    if (keyword.size() >= kKeywordSize) {
        out.MarkCut();
        return out;
    }
    const size_t units = toUtf16(keyword, wide, sizeof wide / sizeof wide[0]);
    return EncodeUtf8(std::u16string_view(wide, units));
}

EncodedKeyword EncodeUtf8(std::u16string_view keyword) {
    EncodedKeyword out;
    for (size_t k = 0; k < keyword.size(); ++k) {
        char32_t c = keyword[k];
        if (c == 0) break;
        if (CharacterUnits(keyword, k) == 2) {
            c = 0x10000 + ((c - 0xD800) << 10) + (keyword[++k] - 0xDC00);
        } else if (IsHighSurrogate(keyword[k]) || IsLowSurrogate(keyword[k])) {
            c = 0xFFFD;
        }
        if (c <= 0x7F) { // the space is not URL-safe: it becomes "%20"
            Byte(out, static_cast<unsigned char>(c));
        } else if (c <= 0x7FF) {
            Escaped(out, static_cast<unsigned char>(0xC0 | (c >> 6)));
            Escaped(out, static_cast<unsigned char>(0x80 | (c & 0x3F)));
        } else if (c <= 0xFFFF) {
            Escaped(out, static_cast<unsigned char>(0xE0 | (c >> 12)));
            Escaped(out, static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
            Escaped(out, static_cast<unsigned char>(0x80 | (c & 0x3F)));
        } else {
            Escaped(out, static_cast<unsigned char>(0xF0 | (c >> 18)));
            Escaped(out, static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F)));
            Escaped(out, static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
            Escaped(out, static_cast<unsigned char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}
