#include "base/profile_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kMissing = nullptr;

TEST(ProfileDocument, Reads) {
    struct Case {
        std::string file;
        const char *section, *key, *value; // kMissing: the key has no value
    } cases[] = {
        {"[search]\r\ncount=1\r\n", "SEARCH", "COUNT", "1"},
        {"  [ Search ] junk\r\n\t Count \t=\t 12 \t\r\n", " Search ", " Count ", "12"},
        {"[A]\nk=1\nj=2", "A", "j", "2"},
        {"[A]\rk=1\rj=2\r", "A", "j", "2"},
        {"[A]\r\nk=1\r\nk=2\r\n[A]\r\nj=4\r\n", "A", "k", "1"},
        {"[A]\r\nk=1\r\n[A]\r\nj=4\r\n", "A", "j", kMissing},
        {"[A]\r\nk\r\nk=1\r\n", "A", "k", kMissing},
        {"[A]\r\n;c=1\r\nk=\r\n", "A", "k", ""},
        {"[A]\r\nk=[x]\r\n[ B ] junk ] z\r\nj=1\r\n", "B ] junk", "j", "1"},
        {std::string("[A]\r\nk=a\0b\r\n", 12), "A", "k", "a"},
        {"\xEF\xBB\xBF[A]\r\nk=v\r\n", "A", "k", "v"},
        {"[A]\r\nk= \" s \" \r\n", "A", "k", " s "},
        {"[A]\r\nk='z=1'\r\n", "A", "k", "z=1"},
        // Shift-JIS: trail bytes are neither syntax nor letters.
        {"[標準]\r\n標準.sef=3\r\n", "標準", "標準.sef", "3"},
        {"[ー]\r\nー=ー\r\n", "ー", "ー", "ー"},
        {"[\x81\x5D]\r\nk=1\r\n[\x81\x5D\r\nj=2\r\n", "\x81\x5D", "j", "2"},
        {"[A]x\x81\x5D\r\nm=3\r\n", "A", "m", "3"},
        {"[A]\r\nア=1\r\n", "A", "ヂ", kMissing},
        {"[A]\r\nk=　東京　\r\n", "A", "k", "　東京　"},
    };
    for (const Case& c : cases) {
        ProfileDocument doc;
        ASSERT_TRUE(doc.Load(c.file));
        char out[64];
        const size_t n = doc.Get(c.section, c.key, out, sizeof out);
        EXPECT_EQ(doc.Has(c.section, c.key), c.value != kMissing) << c.file;
        EXPECT_EQ(std::string(out, n), c.value ? c.value : "") << c.file;
        EXPECT_EQ(std::strlen(out), n) << c.file;
    }
}

TEST(ProfileDocument, Numbers) {
    ProfileDocument doc;
    ASSERT_TRUE(
        doc.Load("[A]\r\na=-5\r\nb=12abc\r\nc=abc\r\nd=0x10\r\ne=0X1f\r\nf=010\r\ng=0b101\r\n"
                 "h=- 5\r\ni=\" 12\"\r\nj=\r\nk=4294967295\r\nl=99999999999\r\n"
                 "m=12345678901234567890123456789012345\r\n"));
    const char* const keys[] = {"a", "b", "c", "d", "e", "f", "g",
                                "h", "i", "j", "k", "l", "m", "z"};
    // "m": the number in its first 29 digits.
    const int numbers[] = {-5, 12, 0, 16, 0, 10, 5, 0, 12, 77, -1, 1215752191, 1849262357, 77};
    for (size_t i = 0; i < std::size(keys); ++i)
        EXPECT_EQ(doc.GetInt("A", keys[i], 77), numbers[i]) << keys[i];
}

// One call: Set (value), Remove (value kMissing) or ClearSection (key kMissing).
struct Op {
    const char *section, *key, *value;
};

TEST(ProfileDocument, Writes) {
    struct Case {
        std::string before;
        std::vector<Op> ops;
        std::string after;
    } cases[] = {
        // What the system's functions write for the same calls.
        {"",
         {{"S", "C", "1"}, {"W", "X", "5"}, {"S", "B", "x"}},
         "[S]\r\nC=1\r\nB=x\r\n[W]\r\nX=5\r\n"},
        {"[S]\r\nC=1", {{"W", "k", "v"}}, "[S]\r\nC=1\r\n[W]\r\nk=v\r\n"},
        {"[A]\r\nk=v\r\nj=2\r\n", {{"a", "K", "w"}}, "[A]\r\nk=w\r\nj=2\r\n"},
        {"[A]\r\nk=1\r\nk=2\r\n", {{"A", "k", kMissing}}, "[A]\r\nk=2\r\n"},
        {"[A]\r\nk=1\r\n[A]\r\nj=4\r\n", {{"A", "j", kMissing}}, "[A]\r\nk=1\r\n[A]\r\n"},
        {"[A]\r\nk=1\r\n[A]\r\nj=4\r\n", {{"A", "j", "5"}}, "[A]\r\nk=1\r\nj=5\r\n[A]\r\nj=4\r\n"},
        {"[A]\r\nk=v\r\n;c\r\n[a]\r\nz=3\r\n", {{"A", kMissing, kMissing}}, "[A]\r\n[a]\r\n"},
        {"[B]\r\n", {{"A", kMissing, kMissing}, {"A", "x", kMissing}}, "[B]\r\n"},
        {"", {{"A", "k", "  v  "}}, "[A]\r\nk=v  \r\n"},
        {"[A]\r\nCount\r\n", {{"A", "Count", "5"}}, "[A]\r\nCount=5\r\n"},
        {"", {{"History", "HistoryA", "東京 タワー"}}, "[History]\r\nHistoryA=東京 タワー\r\n"},
        {"[標準]\r\nソ=表\r\n", {{"標準", "ソ", "十"}}, "[標準]\r\nソ=十\r\n"},
        {"\xEF\xBB\xBF", {{"A", "j", "x"}}, "\xEF\xBB\xBF[A]\r\nj=x\r\n"},
        // Where the system would rewrite every line: only the lines concerned change.
        {"[A]\r\nk = v \r\n\r\n", {{"A", "k", "v"}}, "[A]\r\nk = v \r\n\r\n"},
        {"[A]\nk = v \n  j=2\n", {{"A", "k", "w"}, {"A", "n", "3"}}, "[A]\nk=w\n  j=2\nn=3\r\n"},
        {"[S]\r\n;c\r\n\r\n[W]\r\n", {{"S", "N", "n"}}, "[S]\r\n;c\r\nN=n\r\n\r\n[W]\r\n"},
        {"[A]\r\n\r\nk=v\r\n;c\r\n\r\n[B]\r\n",
         {{"A", kMissing, kMissing}, {"A", "n", "1"}},
         "[A]\r\nn=1\r\n\r\n[B]\r\n"},
        {"[A]\rk=1\r", {{"A", "j", "2"}, {"A", "k", "3"}}, "[A]\rk=3\rj=2\r\n"},
        // Line breaks end a value; names that would not read back are refused.
        {"", {{"A", "k", "a\r\nb=c"}}, "[A]\r\nk=a\r\n"},
        {"", {{"A", "=k", "v"}, {"A", "[k]", "v"}, {"A\n", "k", "v"}, {" ", "k", "v"}}, ""},
        {"", {{" A ", " k ", "v"}}, "[A]\r\nk=v\r\n"},
    };
    for (const Case& c : cases) {
        ProfileDocument doc;
        ASSERT_TRUE(doc.Load(c.before));
        for (const Op& op : c.ops) {
            if (!op.key)
                doc.ClearSection(op.section);
            else if (!op.value)
                doc.Remove(op.section, op.key);
            else
                doc.Set(op.section, op.key, op.value);
        }
        EXPECT_EQ(std::string(doc.Bytes()), c.after) << c.before;
    }
}

TEST(ProfileDocument, Bounds) {
    ProfileDocument doc;
    ASSERT_TRUE(doc.Load("[A]\r\nk=東京タワー\r\nm=a東京\r\nq=\"abc\"\r\nz=a\x81\r\n"));
    struct Cut {
        const char* key;
        size_t size;
        const char* value;
    } cuts[] = {{"k", 4, "東"},  {"k", 5, "東京"}, {"k", 6, "東京"},
                {"m", 3, "a"},   {"m", 4, "a東"},  {"m", 1, ""},
                {"q", 4, "abc"}, {"q", 3, "ab"},   {"z", 3, "a\x81"}};
    for (const Cut& c : cuts) {
        char out[8];
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(doc.Get("A", c.key, out, c.size), std::strlen(c.value)) << c.key << c.size;
        EXPECT_STREQ(out, c.value) << c.key << c.size;
        EXPECT_EQ(out[c.size], '#') << c.key << c.size;
    }
    // Out of room: the document stays as it was.
    const std::string big = "[A]\r\nk=" + std::string(ProfileDocument::kMaxBytes - 9, 'x') + "\r\n";
    ASSERT_TRUE(doc.Load(big));
    EXPECT_TRUE(doc.Set("A", "k", "y"));
    EXPECT_FALSE(doc.Set("A", "k", std::string(ProfileDocument::kMaxBytes - 8, 'z')));
    EXPECT_TRUE(doc.Set("A", "k", std::string(ProfileDocument::kMaxBytes - 9, 'z')));
    EXPECT_FALSE(doc.Set("B", "k", "v"));
    EXPECT_EQ(doc.Bytes().size(), ProfileDocument::kMaxBytes);
    // A value that is a view into the document's own bytes.
    ASSERT_TRUE(doc.Load("[A]\r\nk=abc\r\n"));
    EXPECT_TRUE(doc.Set("A", "j", doc.Bytes().substr(7, 3)));
    EXPECT_EQ(doc.Bytes(), "[A]\r\nk=abc\r\nj=abc\r\n");

    // Refused: the document is left empty.
    EXPECT_FALSE(doc.Load(big + "x"));
    EXPECT_TRUE(doc.Bytes().empty());
    ASSERT_TRUE(doc.Load("[A]\r\nk=v\r\n"));
    EXPECT_FALSE(doc.Load(std::string("\xFF\xFE[\0A\0]\0", 8)));
    EXPECT_TRUE(doc.Bytes().empty());
}

} // namespace
