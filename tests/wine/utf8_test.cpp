// The UTF-8 encoder through the platform's code page 932 conversion, for every code of the
// code page, against a table generated from glibc's iconv (utf8_cp932_table_gen.py).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "base/text.h"
#include "query/encode.h"
#include "utf8_cp932_table.h"

namespace {

// The expected encoding of one UTF-16 unit, written out from the UTF-8 definition.
std::string Expected(uint16_t u) {
    char buf[16];
    if (u == ' ') return "%20";
    if (u < 0x80) {
        const bool safe = (u >= 'a' && u <= 'z') || (u >= '@' && u <= 'Z') ||
                          (u >= '0' && u <= '9') || u == '*' || u == '-' || u == '.' || u == '_';
        if (safe) return std::string(1, static_cast<char>(u));
        std::snprintf(buf, sizeof buf, "%%%02X", u);
    } else if (u < 0x800) {
        std::snprintf(buf, sizeof buf, "%%%02X%%%02X", 0xC0 | (u >> 6), 0x80 | (u & 0x3F));
    } else {
        std::snprintf(buf, sizeof buf, "%%%02X%%%02X%%%02X", 0xE0 | (u >> 12),
                      0x80 | ((u >> 6) & 0x3F), 0x80 | (u & 0x3F));
    }
    return buf;
}

std::string Bytes(uint16_t code) {
    if (code < 0x100) return std::string(1, static_cast<char>(code));
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

TEST(Utf8, Examples) {
    struct Case {
        std::string keyword, encoded;
    } cases[] = {
        {"\x81\x7E", "%C3%97"},
        {"　", "%E3%80%80"},
        {"\xB1", "%EF%BD%B1"},
        {"a b", "a%20b"},
        {"+/?&=%", "%2B%2F%3F%26%3D%25"},
        {"", ""},
        {"\x88\x9F\x88\x9F", "%E4%BA%9C%E4%BA%9C"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeUtf8(c.keyword), c.encoded) << c.keyword;
}

// Codes where the platform and glibc are known to map differently. None so far: any
// disagreement found is listed by the test below and fails it.
const std::map<uint16_t, uint16_t> kKnownDifferences = {};

TEST(Utf8, EveryCodeOfCodePage932MatchesTheReferenceTable) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run with the Japanese ANSI code page";
    std::map<uint16_t, uint16_t> table;
    for (const Cp932Mapping& m : kCp932Table)
        table[m.code] = m.unit;

    int checked = 0, single = 0, unmapped = 0;
    std::string disagreements;
    auto check = [&](uint16_t code) {
        const std::string got(EncodeUtf8(Bytes(code)).view());
        const auto it = table.find(code);
        if (it == table.end()) {
            ++unmapped; // glibc has no mapping: nothing to compare with
            return;
        }
        ++checked;
        if (code < 0x100) ++single;
        if (got == Expected(it->second)) return;
        const auto known = kKnownDifferences.find(code);
        if (known != kKnownDifferences.end() && got == Expected(known->second)) return;
        char line[96];
        std::snprintf(line, sizeof line, "  %04X: platform %s, glibc U+%04X (%s)\n", code,
                      got.c_str(), it->second, Expected(it->second).c_str());
        disagreements += line;
    };
    for (int b = 1; b < 0x100; ++b)
        if (!IsLeadByte(static_cast<unsigned char>(b))) check(static_cast<uint16_t>(b));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F) check(static_cast<uint16_t>(lead << 8 | trail));
    }
    std::printf("UTF-8: %d codes checked against glibc's CP932 (%d single-byte, %d "
                "double-byte); %d codes without a glibc mapping not compared\n",
                checked, single, checked - single, unmapped);
    EXPECT_EQ(disagreements, "") << "codes where the platform and glibc disagree:\n"
                                 << disagreements;
    EXPECT_EQ(checked, static_cast<int>(sizeof kCp932Table / sizeof kCp932Table[0]));
}

} // namespace
