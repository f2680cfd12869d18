#include "query/encode.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <string>

#include "base/text.h"

// Code page 932 to UTF-16 through glibc's iconv: the native stand-in for the platform's
// conversion (also used by the composition tests).
size_t IconvCp932ToUtf16(std::string_view text, char16_t* out, size_t capacity) {
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    std::string in(text);
    std::string bytes(capacity * 2, '\0');
    char* inp = in.data();
    size_t inLeft = in.size();
    char* outp = bytes.data();
    size_t outLeft = bytes.size();
    iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    const size_t units = (bytes.size() - outLeft) / 2;
    for (size_t i = 0; i < units; ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return units;
}

namespace {

struct Case {
    std::string keyword, sjis, euc, utf8;
};

TEST(Encode, Examples) {
    const Case cases[] = {
        {"aZ09@*-._", "aZ09@*-._", "aZ09@*-._", "aZ09@*-._"},
        {"+/?&=% ", "%2B%2F%3F%26%3D%25%20", "%2B%2F%3F%26%3D%25%20", "%2B%2F%3F%26%3D%25%20"},
        {"a b", "a%20b", "a%20b", "a%20b"},
        {"\t~", "%09%7E", "%09%7E", "%09%7E"},
        // Katakana A: trail byte 'A' stays a letter in Shift-JIS.
        {"\x83\x41", "%83A", "%A5%A2", "%E3%82%A2"},
        // Kanji with trail byte 0x5C.
        {"\x95\x5C", "%95%5C", "%C9%BD", "%E8%A1%A8"},
        {"　", "%81@", "%A1%A1", "%E3%80%80"},
        {"\x88\x9F", "%88%9F", "%B0%A1", "%E4%BA%9C"},
        {"\xB1", "%B1", "%B1", "%EF%BD%B1"},
        {"\x81\x7E", "%81%7E", "%A1%DF", "%C3%97"},
        {"", "", "", ""},
        // Lower-case hexadecimal never appears.
        {"\xEA\xA4", "%EA%A4", "%F4%A6", "%E7%86%99"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeShiftJis(c.keyword), c.sjis) << c.keyword;
        EXPECT_EQ(EncodeEuc(c.keyword), c.euc) << c.keyword;
        EXPECT_EQ(EncodeUtf8(c.keyword, IconvCp932ToUtf16), c.utf8) << c.keyword;
    }
}

TEST(Encode, UrlSafeSet) {
    int safe = 0;
    for (int b = 0; b < 256; ++b) {
        const bool expected = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '@' ||
                              (b >= '0' && b <= '9') || b == '*' || b == '-' || b == '.' ||
                              b == '_';
        EXPECT_EQ(IsUrlSafeByte(static_cast<unsigned char>(b)), expected) << b;
        safe += expected;
    }
    EXPECT_EQ(safe, 26 + 26 + 10 + 5);
}

TEST(Encode, EucUserDefinedAreaWrapsAround) {
    // Lead bytes from 0xF0 go through the same 8-bit arithmetic (t wraps past 0xFF).
    EXPECT_EQ(EncodeEuc("\xF0\x40"), "%FF%A1");
    EXPECT_EQ(EncodeEuc("\xF0\x9F"), "%00%A1");
    EXPECT_EQ(EncodeEuc("\xFC\xFC"), "%18%FE");
    // Half-width katakana get no single-shift prefix.
    EXPECT_EQ(EncodeEuc("\xB1\xDF"), "%B1%DF");
}

TEST(Encode, LeadByteCutOffAtTheEnd) {
    // A keyword cut inside a character ends in a lone lead byte: no read past the end.
    EXPECT_EQ(EncodeEuc(std::string_view("a\x88", 2)), "a%88");
    EXPECT_EQ(EncodeShiftJis(std::string_view("a\x88", 2)), "a%88");
}

TEST(Encode, OutputAtMostNineCharactersPerByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_LE(EncodeShiftJis(all).size(), all.size() * 9);
    EXPECT_LE(EncodeEuc(all).size(), all.size() * 9);
    // The UTF-8 encoder takes keywords up to the keyword box's limit, each in every part.
    for (size_t from = 0; from + 127 <= all.size(); from += 64) {
        const std::string part = all.substr(from, 127);
        const EncodedKeyword utf8 = EncodeUtf8(part, IconvCp932ToUtf16);
        EXPECT_FALSE(utf8.cut()) << from;
        EXPECT_GT(utf8.size(), 0u) << from;
        EXPECT_LE(utf8.size(), part.size() * 9) << from;
    }
}

// The encoded keyword has a fixed buffer: a keyword within the box's limit always fits
// whole (the worst cases: half-width katakana in UTF-8, escaped bytes in Shift-JIS), and
// anything longer is reported as cut, never written past the buffer.
TEST(Encode, FixedBufferBounds) {
    const std::string katakana(127, '\xB1'), quotes(127, '"');
    EXPECT_EQ(EncodeUtf8(katakana, IconvCp932ToUtf16).size(), 127u * 9);
    EXPECT_FALSE(EncodeUtf8(katakana, IconvCp932ToUtf16).cut());
    EXPECT_EQ(EncodeShiftJis(quotes).size(), 127u * 3);
    EXPECT_EQ(EncodeEuc(quotes).size(), 127u * 3);

    const std::string longer(kEncodedKeywordSize, '"');
    const EncodedKeyword sjis = EncodeShiftJis(longer), euc = EncodeEuc(longer);
    EXPECT_TRUE(sjis.cut());
    EXPECT_TRUE(euc.cut());
    EXPECT_EQ(sjis.size(), kEncodedKeywordSize - 1);
    EXPECT_EQ(std::string(sjis.c_str()).size(), sjis.size()); // terminated in its buffer
    const EncodedKeyword utf8 = EncodeUtf8(std::string(128, 'a'), IconvCp932ToUtf16);
    EXPECT_TRUE(utf8.cut());
    EXPECT_TRUE(utf8.empty());
}

// Every character of JIS X 0208 against glibc's SHIFT_JIS to EUC-JP conversion.
TEST(Encode, EucMatchesIconvForJisX0208) {
    iconv_t cd = iconv_open("EUC-JP", "SHIFT_JIS");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int checked = 0;
    // Lead bytes from 0xF0 (the user-defined area) are outside JIS X 0208.
    for (int lead = 0x81; lead <= 0xEF; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char out[8] = {};
            char* inp = in;
            char* outp = out;
            size_t inLeft = 2, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) continue;
            const auto e1 = static_cast<unsigned char>(out[0]);
            const auto e2 = static_cast<unsigned char>(out[1]);
            // Only two-byte EUC-JP codes of JIS X 0208 (both bytes 0xA1..0xFE).
            if (sizeof out - outLeft != 2 || e1 < 0xA1 || e2 < 0xA1) continue;
            char expected[16];
            std::snprintf(expected, sizeof expected, "%%%02X%%%02X", e1, e2);
            EXPECT_EQ(EncodeEuc(std::string_view(in, 2)), expected)
                << std::hex << lead << ' ' << trail;
            ++checked;
        }
    }
    iconv_close(cd);
    std::printf("EUC-JP: %d codes checked against iconv\n", checked);
    EXPECT_EQ(checked, 6879); // the characters of JIS X 0208
}

} // namespace
