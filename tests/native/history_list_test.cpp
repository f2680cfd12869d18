#include "history/history_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string Wide(const char* ascii) {
    return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii));
}

// The entries of the tables, which are ASCII.
std::vector<std::string> Items(const SearchHistory& list) {
    std::vector<std::string> out;
    for (int n = 0; const char16_t* t = HistoryItemAt(list, n); ++n)
        out.emplace_back(t, t + std::char_traits<char16_t>::length(t));
    return out;
}

SearchHistory Make(std::initializer_list<const char*> texts) {
    SearchHistory list;
    for (const char* t : texts)
        AppendHistoryEntry(list, Wide(t));
    return list;
}

using V = std::vector<std::string>;

TEST(HistoryList, AddToHistory) {
    struct Case {
        const char* what;
        std::initializer_list<const char*> before;
        const char* keyword;
        int max;
        V after;
    } cases[] = {
        {"new in front", {"a", "b"}, "c", 5, V{"c", "a", "b"}},
        {"move to front", {"a", "b", "c", "d", "e"}, "e", 5, V{"e", "a", "b", "c", "d"}},
        {"cut at Max", {"a", "b", "c"}, "d", 3, V{"d", "a", "b"}},
        {"case-sensitive", {"abc"}, "ABC", 5, V{"ABC", "abc"}},
        {"Max 0 records nothing", {}, "a", 0, V{}},
        {"lowered Max cuts the next add", {"a", "b", "c", "d"}, "x", 2, V{"x", "a"}},
        {"an equal entry moves without a cut", {"a", "b", "c", "d"}, "d", 2, V{"d", "a", "b", "c"}},
    };
    for (const Case& c : cases) {
        SearchHistory list = Make(c.before);
        AddToHistory(list, Wide(c.keyword), c.max);
        EXPECT_EQ(Items(list), c.after) << c.what;
    }
}

TEST(HistoryList, ItemAtAndTheFiftyEntriesHeld) {
    SearchHistory list = Make({"a", "b"});
    EXPECT_EQ(std::u16string(HistoryItemAt(list, 1)), u"b");
    EXPECT_EQ(HistoryItemAt(list, 2), nullptr);
    EXPECT_EQ(HistoryItemAt(list, -1), nullptr);
    // Full at 50: an append is refused, an add past a larger max still keeps 50.
    for (int n = 2; n < kHistoryLimit; ++n)
        ASSERT_TRUE(AppendHistoryEntry(list, u"x"));
    EXPECT_FALSE(AppendHistoryEntry(list, u"y"));
    AddToHistory(list, u"z", 99);
    EXPECT_EQ(list.count, kHistoryLimit);
    EXPECT_EQ(std::u16string(HistoryItemAt(list, 0)), u"z");
    EXPECT_EQ(std::u16string(HistoryItemAt(list, 1)), u"a");
    EXPECT_EQ(std::u16string(HistoryItemAt(list, kHistoryLimit - 1)), u"x");
}

// The history editor's edits of its working copy.
TEST(HistoryList, RemoveAndSwap) {
    struct Case {
        const char* what;
        std::initializer_list<const char*> before;
        char op; // 'r' remove n, 's' swap n with n + step
        int n, step;
        bool done;
        V after;
    } cases[] = {
        {"remove first", {"a", "b", "c"}, 'r', 0, 0, true, V{"b", "c"}},
        {"remove middle", {"a", "b", "c"}, 'r', 1, 0, true, V{"a", "c"}},
        {"remove last", {"a", "b", "c"}, 'r', 2, 0, true, V{"a", "b"}},
        {"remove the only", {"a"}, 'r', 0, 0, true, V{}},
        {"remove past the end", {"a", "b"}, 'r', 2, 0, false, V{"a", "b"}},
        {"remove before the start", {"a"}, 'r', -1, 0, false, V{"a"}},
        {"remove from empty", {}, 'r', 0, 0, false, V{}},
        {"up from the middle", {"a", "b", "c"}, 's', 1, -1, true, V{"b", "a", "c"}},
        {"down from the middle", {"a", "b", "c"}, 's', 1, 1, true, V{"a", "c", "b"}},
        {"down to the end", {"a", "b", "c"}, 's', 1, 1, true, V{"a", "c", "b"}},
        {"up from the end", {"a", "b", "c"}, 's', 2, -1, true, V{"a", "c", "b"}},
        {"first up", {"a", "b"}, 's', 0, -1, false, V{"a", "b"}},
        {"last down", {"a", "b"}, 's', 1, 1, false, V{"a", "b"}},
        {"step other than one", {"a", "b", "c"}, 's', 0, 2, false, V{"a", "b", "c"}},
        {"swap in empty", {}, 's', 0, 1, false, V{}},
    };
    for (const Case& c : cases) {
        SearchHistory list = Make(c.before);
        const bool done =
            c.op == 'r' ? RemoveHistoryEntry(list, c.n) : SwapHistoryEntries(list, c.n, c.step);
        EXPECT_EQ(done, c.done) << c.what;
        EXPECT_EQ(Items(list), c.after) << c.what;
    }
    SearchHistory none;
    EXPECT_FALSE(RemoveHistoryEntry(none, 0));
    EXPECT_FALSE(SwapHistoryEntries(none, 0, 1));
}

// Cut to a weight of 127 (Shift-JIS bytes for what Shift-JIS says, else 2 a unit), never
// inside a surrogate pair; equal texts are compared as stored.
TEST(HistoryList, TextsAreCutTo127Bytes) {
    const std::u16string kanji63(63, u'亜');
    struct Case {
        std::u16string text;
        size_t units;
    } cases[] = {
        {std::u16string(200, u'x'), 127}, // ASCII weighs 1
        {kanji63 + u"ab", 64},            // 126 + 1
        {kanji63 + u"\U00020BB7", 63},    // the pair would weigh 4
        {u"x" + kanji63 + u"é", 64},      // 1 + 126, é weighs 2
        {std::u16string(127, u'ｱ'), 127}, // half-width katakana weigh 1
    };
    for (const Case& c : cases) {
        SearchHistory list;
        AppendHistoryEntry(list, c.text);
        AddToHistory(list, c.text, 5);
        EXPECT_EQ(std::u16string(HistoryItemAt(list, 0)), c.text.substr(0, c.units));
        EXPECT_EQ(list.count, 1);
    }
}

TEST(HistoryList, KeyNames) {
    struct Case {
        int n;
        const char* key;
    } cases[] = {
        {0, "HistoryA"}, {25, "HistoryZ"}, {26, "HistoryAA"}, {27, "HistoryBA"}, {49, "HistoryXA"}};
    for (const Case& c : cases)
        EXPECT_EQ(HistoryKeyName(c.n), c.key);
}

TEST(HistoryList, MenuText) {
    const std::u16string more = u" ... (続く)";
    const std::u16string a54(54, u'a'), a55(55, u'a');
    struct Case {
        std::u16string text, shown;
    } cases[] = {
        {std::u16string(56, u'a'), std::u16string(56, u'a')},
        {std::u16string(57, u'a'), std::u16string(56, u'a') + more},
        // A cut that would split a double-byte character keeps the character out whole.
        {a54 + u"亜", a54 + u"亜"},
        {a55 + u"亜", a55 + more},
        {a55 + u"亜b", a55 + more},
        {a54 + u"亜b", a54 + u"亜" + more},
        // Beyond Shift-JIS: 2 a unit, and a surrogate pair is never split.
        {a54 + u"é", a54 + u"é"},
        {a55 + u"é", a55 + more},
        {std::u16string(52, u'a') + u"\U0001F600", std::u16string(52, u'a') + u"\U0001F600"},
        {a54 + u"\U0001F600", a54 + more},
        {std::u16string(56, u'ｱ'), std::u16string(56, u'ｱ')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::u16string(HistoryMenuText(c.text.c_str()).c_str()), c.shown);
}

} // namespace
