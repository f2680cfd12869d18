// The companion of an engine file: which section gives which entry its keyword, what is
// skipped, and the text the writer makes, read back.
#include "engines/companion.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <memory>
#include <string>

#include "base/text.h"
#include "tests/support/test_entries.h"

size_t IconvCp932ToUtf16(std::string_view text, char16_t* out, size_t capacity); // encode_test.cpp

namespace {

// UTF-16 into code page 932 through glibc's iconv, character by character: "?" for what it
// cannot say, and the position of the first such character.
size_t IconvUtf16ToCp932(std::u16string_view text, TextBuffer& out) {
    size_t first = text.size();
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    for (size_t i = 0; i < text.size(); i += CharacterUnits(text, i)) {
        std::string in;
        for (size_t k = 0; k < CharacterUnits(text, i); ++k)
            in += {static_cast<char>(text[i + k] & 0xFF), static_cast<char>(text[i + k] >> 8)};
        char bytes[8];
        char* inp = in.data();
        char* outp = bytes;
        size_t inLeft = in.size(), outLeft = sizeof bytes;
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) {
            out.Append('?');
            if (first == text.size()) first = i;
        } else {
            out.Append(std::string_view(bytes, sizeof bytes - outLeft));
        }
    }
    iconv_close(cd);
    return first;
}

const CompanionCodec kCodec{IconvCp932ToUtf16, IconvUtf16ToCp932};

const EngineEntry kEntries[] = {MakeEntry("Google", "g/?q="), MakeEntry("辞書", "d/?q="),
                                MakeEntry("Bing", "b/?q=")};
constexpr int kCount = 3;

struct Keywords {
    std::string k[kCount];
    std::string suggest[kCount] = {};
};

Keywords Read(const std::string& text, int* filled = nullptr) {
    EngineExtras extras[kCount];
    std::memset(extras, 0x55, sizeof extras);
    const int n = ReadCompanionText(text, kEntries, kCount, extras, kCodec);
    if (filled) *filled = n;
    Keywords out;
    for (int i = 0; i < kCount; ++i) {
        const size_t length = FieldLength(extras[i].Keyword, kEngineKeywordSize);
        EXPECT_LT(length, kEngineKeywordSize);
        out.k[i] = std::string(extras[i].Keyword, length);
        const size_t url = FieldLength(extras[i].Suggest, kSuggestUrlSize);
        EXPECT_LT(url, kSuggestUrlSize);
        out.suggest[i] = std::string(extras[i].Suggest, url);
    }
    return out;
}

TEST(Companion, SectionsGoToTheirEntries) {
    const std::string dict = u8"辞書", ji = u8"辞";
    const struct {
        std::string text;
        Keywords keywords;
    } cases[] = {
        {"[1]\nname=Google\nkeyword=g\n[3]\nname=Bing\nkeyword=b\n", {{"g", "", "b"}}},
        // Reordered by a program that knows nothing of the companion: found by name.
        {"[3]\nname=Google\nkeyword=g\n[1]\nname=Bing\nkeyword=b\n", {{"g", "", "b"}}},
        {"[1]\nname=Yahoo\nkeyword=y\n", {}},  // no entry of that name
        {"[2]\nkeyword=d\n", {{"", "d", ""}}}, // unnamed: by place
        {"[2]\nname=" + dict + "\nkeyword=" + ji + "\n", {{"", "辞", ""}}},
        {"[1]\r\nNAME = Google \r\nKeyword = g\r\n", {{"g", "", ""}}},
        {"\xEF\xBB\xBF[1]\nkeyword=g", {{"g", "", ""}}},
        {"[1]\nkeyword=\xFF\n[2]\nkeyword=\xC3\n", {}},   // not UTF-8
        {"[1]\nname=\xC3\nkeyword=g\n", {{"g", "", ""}}}, // a damaged name: by place
        {"[1]\nkeyword=\xC3\xAB\n", {}},                  // ë: not Shift-JIS
        {"[1]\nkeyword=a b\n[2]\nkeyword=" + std::string(16, 'k') + "\n[3]\nkeyword=\x7F\n", {}},
        {"[3]\nkeyword=" + std::string(15, 'k') + "\n", {{"", "", std::string(15, 'k')}}},
        {"[1]\nkeyword=a\n[1]\nkeyword=b\n[1]\nname=Google\nkeyword=c\n", {{"a", "", ""}}},
        {"keyword=g\n[0]\nkeyword=g\n[99]\nkeyword=g\n[4]\nkeyword=g\n[x]\nkeyword=g\n", {}},
        {"; comment\n# comment\n[2]\nkeyword\nother=1\nkeyword=d\n[1\nkeyword=g\n",
         {{"", "d", ""}}},
        {"[1]\nkeyword=g\n;" + std::string(kCompanionMaxBytes, ' '), {}}, // too large
        {"", {}},
    };
    for (const auto& c : cases) {
        const Keywords got = Read(c.text);
        for (int i = 0; i < kCount; ++i)
            EXPECT_EQ(got.k[i], c.keywords.k[i]) << i << ": " << c.text.substr(0, 80);
    }
}

// A suggestion URL: kept exactly when it is one, alone or with a keyword; dropped otherwise.
TEST(Companion, SuggestionUrls) {
    const std::string q = "https://s.example/?q={searchTerms}";
    const std::string long511 = "http://s/?q={searchTerms}&" + std::string(485, 'p');
    const std::string kanji = u8"https://s.example/検索?q={searchTerms}";
    const struct {
        std::string value;
        std::string kept; // Shift-JIS
    } cases[] = {
        {q, q},
        {" " + q + " ", q},
        {"HTTP://s/{searchTerms}", "HTTP://s/{searchTerms}"},
        {long511, long511},
        {long511 + "p", ""},
        {kanji, "https://s.example/検索?q={searchTerms}"},
        {u8"https://s.example/?q={searchTerms}&ë", ""}, // ë: not Shift-JIS
        {"https://s.example/?q={searchterms}", ""},
        {"ftp://s.example/?q={searchTerms}", ""},
        {"//s.example/?q={searchTerms}", ""},
        {"https://s.example/?q={searchTerms}&a=b c", ""},
        {"https://s.example/?q={searchTerms}\x7F", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        int filled = -1;
        const Keywords got = Read("[2]\nsuggest=" + c.value + "\n", &filled);
        EXPECT_EQ(got.suggest[1], c.kept) << c.value;
        EXPECT_EQ(got.k[1], "") << c.value;
        EXPECT_EQ(filled, c.kept.empty() ? 0 : 1) << c.value;
    }
    const Keywords both =
        Read("[3]\nname=Bing\nSuggest=" + q + "\nkeyword=b\n[1]\nsuggest=" + q + "\n");
    EXPECT_EQ(both.k[2], "b");
    EXPECT_EQ(both.suggest[2], q);
    EXPECT_EQ(both.suggest[0], q);
}

TEST(Companion, WriterReadsBack) {
    EngineExtras extras[kCount] = {};
    auto text = std::make_unique<FixedText<kCompanionTextSize>>();
    EXPECT_FALSE(WriteCompanionText("標準.sef", kEntries, extras, kCount, kCodec, *text));
    EXPECT_TRUE(text->empty());

    CopyToField(extras[0].Keyword, std::string("g"));
    CopyToField(extras[1].Keyword, std::string("辞"));
    ASSERT_TRUE(WriteCompanionText("標準.sef", kEntries, extras, kCount, kCodec, *text));
    const std::string expected = u8"; Morvel: 標準.sef の検索エンジンのキーワード (UTF-8)\r\n"
                                 u8"\r\n[1]\r\nname=Google\r\nkeyword=g\r\n"
                                 u8"\r\n[2]\r\nname=辞書\r\nkeyword=辞\r\n";
    EXPECT_EQ(text->view(), expected);
    int filled = 0;
    const Keywords back = Read(std::string(text->view()), &filled);
    EXPECT_EQ(filled, 2);
    EXPECT_EQ(back.k[0], "g");
    EXPECT_EQ(back.k[1], "辞");
    EXPECT_EQ(back.k[2], "");

    // A suggestion URL after the keyword, or alone.
    CopyToField(extras[1].Suggest, std::string("https://辞.example/?q={searchTerms}"));
    CopyToField(extras[2].Suggest, std::string("http://b/?q={searchTerms}"));
    ASSERT_TRUE(WriteCompanionText("標準.sef", kEntries, extras, kCount, kCodec, *text));
    EXPECT_EQ(text->view(), expected.substr(0, expected.size() - 2) +
                                u8"\r\nsuggest=https://辞.example/?q={searchTerms}\r\n"
                                u8"\r\n[3]\r\nname=Bing\r\nsuggest=http://b/?q={searchTerms}\r\n");
    const Keywords again = Read(std::string(text->view()), &filled);
    EXPECT_EQ(filled, 3);
    EXPECT_EQ(again.k[1], "辞");
    EXPECT_EQ(again.suggest[1], "https://辞.example/?q={searchTerms}");
    EXPECT_EQ(again.k[2], "");
    EXPECT_EQ(again.suggest[2], "http://b/?q={searchTerms}");
}

} // namespace
