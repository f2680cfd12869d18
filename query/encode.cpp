#include "query/encode.h"

#include "app/text.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

// Writes into a buffer sized for the worst case (nine characters per input byte).
class Writer {
  public:
    explicit Writer(size_t worstCase) : out_(worstCase, '\0'), p_(&out_[0]) {}
    void Escaped(unsigned char b) {
        p_[0] = '%';
        p_[1] = kHex[b >> 4];
        p_[2] = kHex[b & 0x0F];
        p_ += 3;
    }
    void Byte(unsigned char b) {
        if (IsUrlSafeByte(b))
            *p_++ = static_cast<char>(b);
        else
            Escaped(b);
    }
    std::string Take() {
        out_.resize(static_cast<size_t>(p_ - out_.data()));
        return std::move(out_);
    }

  private:
    std::string out_;
    char* p_;
};

} // namespace

bool IsUrlSafeByte(unsigned char b) {
    return (b >= 0x61 && b <= 0x7A) || (b >= 0x40 && b <= 0x5A) || (b >= 0x30 && b <= 0x39) ||
           b == 0x2A || b == 0x2D || b == 0x2E || b == 0x5F;
}

std::string EncodeShiftJis(std::string_view keyword) {
    Writer out(keyword.size() * 3);
    for (const char c : keyword)
        out.Byte(static_cast<unsigned char>(c));
    return out.Take();
}

std::string EncodeEuc(std::string_view keyword) {
    Writer out(keyword.size() * 3);
    const size_t size = keyword.size();
    for (size_t i = 0; i < size; ++i) {
        const auto s1 = static_cast<unsigned char>(keyword[i]);
        // A lead byte cut off at the end of the text has no trail: it is a single byte.
        if (!IsLeadByte(s1) || i + 1 >= size) {
            out.Byte(s1);
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
        out.Escaped(e1);
        out.Escaped(e2);
    }
    return out.Take();
}

std::string EncodeUtf8(std::string_view keyword, const Cp932ToUtf16& toUtf16) {
    if (keyword.empty() || !toUtf16) return std::string();
    const std::u16string wide = toUtf16(keyword);
    Writer out(wide.size() * 9);
    for (const char16_t u : wide) {
        if (u == 0) break;
        if (u <= 0x7F) { // the space is not URL-safe: it becomes "%20"
            out.Byte(static_cast<unsigned char>(u));
        } else if (u <= 0x7FF) {
            out.Escaped(static_cast<unsigned char>(0xC0 | (u >> 6)));
            out.Escaped(static_cast<unsigned char>(0x80 | (u & 0x3F)));
        } else {
            out.Escaped(static_cast<unsigned char>(0xE0 | (u >> 12)));
            out.Escaped(static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F)));
            out.Escaped(static_cast<unsigned char>(0x80 | (u & 0x3F)));
        }
    }
    return out.Take();
}
