#include "base/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Text, LiteralsAreCompiledToShiftJis) {
    // The sources are UTF-8; the program works in code page 932.
    struct Case {
        const char* literal;
        std::string bytes;
    } cases[] = {
        {"検索", "\x8C\x9F\x8D\xF5"},
        {"ソ", "\x83\x5C"},
        {"すべて含む", "\x82\xB7\x82\xD7\x82\xC4\x8A\xDC\x82\xDE"},
        {"ｴﾝｺｰﾄﾞなし", "\xB4\xDD\xBA\xB0\xC4\xDE\x82\xC8\x82\xB5"},
        {"　", "\x81\x40"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(c.literal), c.bytes);
}

TEST(Text, LeadBytes) {
    for (int b = 0; b < 256; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), lead) << b;
    }
}

TEST(Text, TrimToDirectory) {
    struct Case {
        std::string in, out;
        bool cut;
    } cases[] = {
        {"C:\\Tools\\vantu.exe", "C:\\Tools\\", true},
        {"C:\\\x83\x5C\x83\x74\x83\x67\\vantu.exe", "C:\\\x83\x5C\x83\x74\x83\x67\\", true},
        {"C:\\dir\\\x83\x5C", "C:\\dir\\", true}, // trail byte 0x5C at the end
        {"vantu.exe", "vantu.exe", false},
        {"\x83\x5C", "\x83\x5C", false},
        {"", "", false},
        {"C:\\", "C:\\", true},
        {"C:\\a\x83", "C:\\", true}, // a lone lead byte at the end stops the walk
    };
    for (const Case& c : cases) {
        char buf[64];
        std::strcpy(buf, c.in.c_str());
        EXPECT_EQ(TrimToDirectory(buf), c.cut) << c.in;
        EXPECT_EQ(std::string(buf), c.out) << c.in;
    }
}

TEST(Text, BoundedCopiesNeverOverrunEitherSide) {
    char dest[4];
    EXPECT_EQ(CopyBounded(dest, sizeof dest, "abcdef"), 3u);
    EXPECT_STREQ(dest, "abc");
    EXPECT_EQ(CopyBounded(dest, sizeof dest, "abcdef", 2), 2u);
    EXPECT_STREQ(dest, "ab");
    EXPECT_EQ(CopyBounded(dest, sizeof dest, nullptr), 0u);
    EXPECT_STREQ(dest, "");
    const char field[3] = {'x', 'y', 'z'}; // no NUL inside the field
    EXPECT_EQ(FieldLength(field, sizeof field), 3u);
    EXPECT_EQ(FieldText(field), "xyz");
}

// JoinText takes the place of "%s%s..." formatting: cut and terminated like it, and the
// whole length returned so that a caller sees the cut.
TEST(Text, JoinTextCutsAsAFormattedCopy) {
    struct Case {
        size_t size;
        const char* out;
    } cases[] = {{16, "C:\\dir\\a.sed"}, {12, "C:\\dir\\a.se"}, {13, "C:\\dir\\a.sed"}, {1, ""}};
    for (const Case& c : cases) {
        char dest[16];
        std::memset(dest, 'x', sizeof dest);
        EXPECT_EQ(JoinText(dest, c.size, {"C:\\dir", "\\", "a", ".sed"}), 12u) << c.size;
        EXPECT_STREQ(dest, c.out) << c.size;
        for (size_t i = c.size; i < sizeof dest; ++i)
            EXPECT_EQ(dest[i], 'x') << c.size; // nothing written past the given size
    }
    char untouched = 'x';
    EXPECT_EQ(JoinText(&untouched, 0, {"abc"}), 3u);
    EXPECT_EQ(untouched, 'x');
}

} // namespace
