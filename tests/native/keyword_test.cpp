// The keyword limits counted as Shift-JIS bytes, and UTF-16 text taken from another program
// or from its selection.
#include "query/keyword.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(const std::u16string& text) {
    std::string out;
    for (const char16_t u : text) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

TEST(Keyword, WeightAndLimits) {
    const struct {
        std::u16string text;
        size_t weight;
        size_t limit;
        size_t unitsWithin;
    } cases[] = {
        {u"abc 123", 7, 5, 5},     {u"検索ｶﾅ", 6, 5, 3}, // full-width 2 each, half-width katakana 1
        {u"①髙﨑", 6, 6, 3}, // code page 932's own characters: their two bytes
        {u"café", 5, 4, 3},  // é cannot be said: two bytes
        {u"한국어", 6, 5, 2},      {u"\U00020BB7野家", 8, 5, 2}, // a pair weighs four and goes
                                                                 // whole
        {u"a\U00020BB7", 5, 4, 1}, {u"\U0001F600", 4, 3, 0},     {u"", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const std::u16string_view t(c.text);
        EXPECT_EQ(KeywordWeight(t), c.weight);
        EXPECT_EQ(KeywordUnitsWithin(t, c.limit), c.unitsWithin);
        EXPECT_EQ(KeywordUnitsWithin(t, c.weight), t.size());
    }
}

TEST(Keyword, FromUtf16Data) {
    const std::string pair = Bytes(u"\U00020BB7");
    const struct {
        std::string data;
        size_t limit;
        std::u16string expected;
    } cases[] = {
        {Bytes(u"\U00020BB7野家"), 119, u"\U00020BB7野家"},
        {Bytes(u"ab") + "c", 119, u"ab"}, // an odd last byte is left out
        {Bytes(u"x") + std::string(2, '\0') + Bytes(u"y"), 119, u"x"}, // ends at its NUL
        {pair.substr(0, 2) + Bytes(u"a"), 119, u"\uFFFDa"},            // a lone high surrogate
        {pair.substr(2) + Bytes(u"a"), 119, u"\uFFFDa"},               // a lone low surrogate
        {Bytes(u"a") + pair.substr(0, 2), 119, u"a\uFFFD"},            // cut off at the end
        {Bytes(u"abc") + pair, 6, u"abc"},                             // never half a pair
        {Bytes(std::u16string(200, u'あ')), 119, std::u16string(59, u'あ')},
        {Bytes(std::u16string(200, u'a')), 119, std::u16string(119, u'a')},
        {"", 119, u""},
    };
    for (const auto& c : cases) {
        WideKeyword out;
        KeywordFromUtf16Data(reinterpret_cast<const unsigned char*>(c.data.data()), c.data.size(),
                             c.limit, out);
        EXPECT_EQ(std::u16string(out.view()), c.expected);
    }
    WideKeyword out(u"old");
    KeywordFromUtf16Data(nullptr, 10, 119, out);
    EXPECT_TRUE(out.empty());
}

TEST(Keyword, FromSelectedText) {
    const std::u16string pair = u"\U00020BB7";
    const struct {
        std::u16string text;
        size_t limit;
        std::u16string expected;
    } cases[] = {
        {u"  line one\r\nline two\rthree\nfour\tfive \r\n", 119,
         u"line one line two three four five"},
        {u"\r\n\r\na\n\nb", 119, u"a  b"}, // each break one space, inner runs kept
        {u"\t \r\n", 119, u""},
        {u"\u3000全角\u3000", 119, u"\u3000全角\u3000"}, // only half-width blanks are trimmed
        {u"x" + std::u16string(1, u'\0') + u"y", 119, u"x"},
        {pair + u"野家 한", 119, pair + u"野家 한"},
        {u"abc" + pair, 6, u"abc"}, // never half a pair
        {pair.substr(0, 1) + u"a", 119, u"\uFFFDa"},
        {std::u16string(5, u' ') + std::u16string(200, u'あ'), 119, std::u16string(59, u'あ')},
        {u"ab cd", 3, u"ab "}, // cut after the trimming, as a browser's text is
    };
    for (const auto& c : cases) {
        WideKeyword out(u"old");
        KeywordFromSelectedText(c.text, c.limit, out);
        EXPECT_EQ(std::u16string(out.view()), c.expected);
    }
}

} // namespace
