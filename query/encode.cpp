#include "query/encode.h"

#include "app/text.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

inline void AppendEscaped(std::string& out, unsigned char b) {
    const char esc[3] = {'%', kHex[b >> 4], kHex[b & 0x0F]};
    out.append(esc, 3);
}

inline void AppendByte(std::string& out, unsigned char b) {
    if (IsUrlSafeByte(b))
        out.push_back(static_cast<char>(b));
    else
        AppendEscaped(out, b);
}

} // namespace

bool IsUrlSafeByte(unsigned char b) {
    return (b >= 0x61 && b <= 0x7A) || (b >= 0x40 && b <= 0x5A) || (b >= 0x30 && b <= 0x39) ||
           b == 0x2A || b == 0x2D || b == 0x2E || b == 0x5F;
}

std::string EncodeShiftJis(std::string_view keyword) {
    std::string out;
    out.reserve(keyword.size() * 3);
    for (const char c : keyword)
        AppendByte(out, static_cast<unsigned char>(c));
    return out;
}

std::string EncodeEuc(std::string_view keyword) {
    std::string out;
    out.reserve(keyword.size() * 3);
    const size_t size = keyword.size();
    for (size_t i = 0; i < size; ++i) {
        const auto s1 = static_cast<unsigned char>(keyword[i]);
        // A lead byte cut off at the end of the text has no trail: it is a single byte.
        if (!IsLeadByte(s1) || i + 1 >= size) {
            AppendByte(out, s1);
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
        AppendEscaped(out, e1);
        AppendEscaped(out, e2);
    }
    return out;
}

std::string EncodeUtf8(std::string_view keyword, const Cp932ToUtf16& toUtf16) {
    std::string out;
    if (keyword.empty() || !toUtf16) return out;
    const std::u16string wide = toUtf16(keyword);
    out.reserve(wide.size() * 9);
    for (const char16_t u : wide) {
        if (u == 0) break;
        if (u == 0x20) {
            out.append("%20");
        } else if (u <= 0x7F) {
            AppendByte(out, static_cast<unsigned char>(u));
        } else if (u <= 0x7FF) {
            AppendEscaped(out, static_cast<unsigned char>(0xC0 | (u >> 6)));
            AppendEscaped(out, static_cast<unsigned char>(0x80 | (u & 0x3F)));
        } else {
            AppendEscaped(out, static_cast<unsigned char>(0xE0 | (u >> 12)));
            AppendEscaped(out, static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F)));
            AppendEscaped(out, static_cast<unsigned char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}
