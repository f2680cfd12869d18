#include "query/text_ops.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextOps, FindTextBeginsOnlyAtCharacterBoundaries) {
    struct Case {
        std::string text, pattern;
        size_t pos;
    } cases[] = {
        {"ab　cd", "　", 2},
        // 0x83 0x81 then '@': the pair 0x81 0x40 straddles a character boundary.
        {"\x83\x81@", "\x81\x40", kTextNotFound},
        {"\x83\x81@　", "\x81\x40", 3},
        // A '%' that is the trail byte of a character does not start a match.
        {"\x82%20", "%20", kTextNotFound},
        {"x%20", "%20", 1},
        {"abc", "abcd", kTextNotFound},
        {"", "a", kTextNotFound},
        {"abc", "", 0},
        // A lone lead byte at the end does not make the walk overrun.
        {std::string("a\x88", 2), "b", kTextNotFound},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindText(c.text, c.pattern), c.pos) << c.text;
}

TEST(TextOps, ReplaceAll) {
    struct Case {
        std::string source, pattern, replacement, result;
        int count;
    } cases[] = {
        {"a b c", " ", "%20", "a%20b%20c", 2},
        {"aaa", "aa", "b", "ba", 1},  // occurrences do not overlap
        {"aa", "a", "aa", "aaaa", 2}, // the replacement is not searched again
        {"a　b", "　", " ", "a b", 1},
        {"\x83\x81@x", "\x81\x40", " ", "\x83\x81@x", 0},
        {"abc", "x", "y", "abc", 0},
        {"abc", "", "y", "", -1},
        {"a%20b", "%20", "", "ab", 1},
    };
    for (const Case& c : cases) {
        FixedText<32> out("stale");
        EXPECT_EQ(ReplaceAll(c.source, c.pattern, c.replacement, out), c.count) << c.source;
        EXPECT_EQ(out, c.result) << c.source;
        EXPECT_FALSE(out.cut()) << c.source;
    }
}

TEST(TextOps, TrimAndCollapse) {
    struct Case {
        std::string in, trimmed, collapsed;
    } cases[] = {
        {"  ab  cd ", "ab  cd", "ab cd"},
        {"   ", "", ""},
        {"", "", ""},
        {"\tab\t", "\tab\t", "\tab\t"}, // only 0x20 is a space
        {"a    b c", "a    b c", "a b c"},
        {"　a　", "　a　", "　a　"}, // full-width spaces are replaced before, not here
    };
    for (const Case& c : cases) {
        FixedText<16> t(c.in);
        TrimSpaces(t);
        EXPECT_EQ(t, c.trimmed) << c.in;
        CollapseSpaces(t);
        EXPECT_EQ(t, c.collapsed) << c.in;
    }
}

// The result's buffer bounds the replacement: what does not fit is cut, and said so.
TEST(TextOps, ReplaceAllIntoAFullBuffer) {
    FixedText<8> out;
    EXPECT_EQ(ReplaceAll("a b c d", " ", "%20", out), 3);
    EXPECT_EQ(out, "a%20b%2");
    EXPECT_TRUE(out.cut());
    FixedText<12> exact;
    EXPECT_EQ(ReplaceAll("a b c", " ", "%20", exact), 2);
    EXPECT_EQ(exact, "a%20b%20c");
    EXPECT_FALSE(exact.cut());
}

} // namespace
