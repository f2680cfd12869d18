#include "query/text_ops.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
        // A match begins only at a character boundary: 0x83 0x81 then '@' holds no 0x81 0x40,
        // and a '%' that is the trail byte of a character starts no "%20".
        {"\x83\x81@\x81\x40", "\x81\x40", "_", "\x83\x81@_", 1},
        {"\x82%20x%20", "%20", "_", "\x82%20x_", 1},
        {"abc", "abcd", "_", "abc", 0},
        {"", "a", "_", "", 0},
        // A lone lead byte at the end does not make the walk overrun.
        {std::string("a\x88", 2), "b", "_", std::string("a\x88", 2), 0},
    };
    for (const Case& c : cases) {
        FixedText<32> out("stale");
        EXPECT_EQ(ReplaceAll(c.source, c.pattern, c.replacement, out), c.count) << c.source;
        EXPECT_EQ(out, c.result) << c.source;
        EXPECT_FALSE(out.cut()) << c.source;
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
