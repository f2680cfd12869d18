// Suggestion addresses for each character code and which of them may be asked; the answers'
// shapes, limits and text.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "query/suggest_reader.h"
#include "query/suggest_url.h"
#include "tests/support/test_entries.h"

size_t IconvCp932ToUtf16(std::string_view text, char16_t* out, size_t capacity); // encode_test.cpp

namespace {

// Whole text through iconv: the length when code page 932 says all of it, else 0.
size_t WholeUtf16ToCp932(std::u16string_view text, TextBuffer& out) {
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    std::string in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string bytes(text.size() * 2 + 1, '\0');
    char* inp = in.data();
    char* outp = bytes.data();
    size_t inLeft = in.size(), outLeft = bytes.size();
    const bool whole = iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.Append(std::string_view(bytes.data(), bytes.size() - outLeft));
    return whole ? text.size() : 0;
}

const ComposeOptions kOptions{"C:\\", IconvCp932ToUtf16, WholeUtf16ToCp932};

TEST(SuggestUrl, Build) {
    const char* wiki = "https://ja.wikipedia.org/w/api.php?search={searchTerms}";
    const struct {
        const char* templ;
        std::u16string text;
        uint8_t character;
        const char16_t* url; // nullptr: no request
    } cases[] = {
        {wiki, u"東京 タワー", kCharUtf8,
         u"https://ja.wikipedia.org/w/"
         u"api.php?search=%E6%9D%B1%E4%BA%AC%20%E3%82%BF%E3%83%AF%E3%83%BC"},
        {wiki, u"東京 タワー", kCharNone,
         u"https://ja.wikipedia.org/w/"
         u"api.php?search=%E6%9D%B1%E4%BA%AC%20%E3%82%BF%E3%83%AF%E3%83%BC"},
        {wiki, u"東京 タワー", kCharShiftJis,
         u"https://ja.wikipedia.org/w/api.php?search=%93%8C%8B%9E%20%83%5E%83%8F%81%5B"},
        {wiki, u"東京 タワー", kCharEuc,
         u"https://ja.wikipedia.org/w/api.php?search=%C5%EC%B5%FE%20%A5%BF%A5%EF%A1%BC"},
        {wiki, u"ｱ①", kCharShiftJis, u"https://ja.wikipedia.org/w/api.php?search=%B1%87@"},
        {wiki, u"a+b&c=d%", kCharShiftJis,
         u"https://ja.wikipedia.org/w/api.php?search=a%2Bb%26c%3Dd%25"},
        {wiki, u"", kCharUtf8, u"https://ja.wikipedia.org/w/api.php?search="},
        // What Shift-JIS cannot say: UTF-8 engines only.
        {wiki, u"한 \U0001F600", kCharUtf8,
         u"https://ja.wikipedia.org/w/api.php?search=%ED%95%9C%20%F0%9F%98%80"},
        {wiki, u"한", kCharShiftJis, nullptr},
        {wiki, u"東\U0001F600", kCharEuc, nullptr},
        // The template: characters beyond ASCII and spaces as UTF-8, every placeholder filled.
        {"https://例え.jp/s p?q={searchTerms}&r={searchTerms}&l=日本", u"x", kCharShiftJis,
         u"https://%E4%BE%8B%E3%81%88.jp/s%20p?q=x&r=x&l=%E6%97%A5%E6%9C%AC"},
        {"http://127.0.0.1:8080/s?q={searchTerms}", u"a b", kCharUtf8,
         u"http://127.0.0.1:8080/s?q=a%20b"},
        {"https://a/?q={searchterms}", u"x", kCharUtf8, nullptr},
        {"https://a/", u"x", kCharUtf8, nullptr},
        {"", u"x", kCharUtf8, nullptr},
        {"http://example.com/?q={searchTerms}", u"x", kCharUtf8, nullptr},
        {"http://localhost{searchTerms}/", u"@example.com", kCharUtf8, nullptr}, // checked filled
    };
    for (const auto& c : cases) {
        EngineEntry entry = MakeEntry("E", "h/?q=");
        entry.Character = c.character;
        WideUrlText url;
        const bool built = BuildSuggestUrl(c.templ, c.text, entry, kOptions, url);
        EXPECT_EQ(built, c.url != nullptr) << c.templ;
        EXPECT_EQ(std::u16string(url), std::u16string(c.url ? c.url : u"")) << c.templ;
    }
}

TEST(SuggestUrl, TooLongForTheUrlIsNoRequest) {
    std::string templ = "https://a/?";
    while (templ.size() + 13 < kSuggestUrlSize)
        templ += "{searchTerms}";
    const std::u16string text(kKeywordBoxLimit / 2, u'あ');
    EngineEntry entry = MakeEntry("E", "h/?q=", "+", "", "", "", "", kCharUtf8);
    WideUrlText url;
    EXPECT_FALSE(BuildSuggestUrl(templ.c_str(), text, entry, kOptions, url));
    EXPECT_TRUE(BuildSuggestUrl(templ.c_str(), u"a", entry, kOptions, url));
}

TEST(SuggestUrl, Allowed) {
    const struct {
        const char16_t* url;
        bool allowed;
    } cases[] = {
        {u"https://example.com/", true},
        {u"HTTPS://example.com", true},
        {u"http://127.0.0.1/s", true},
        {u"http://127.0.0.1:65535?q", true},
        {u"http://LocalHost:80/", true},
        {u"http://[::1]:8080/", true},
        {u"http://localhost#f", true},
        {u"https:///path", false},
        {u"https://", false},
        {u"http://example.com/", false},
        {u"http://127.0.0.1.example.com/", false},
        {u"http://127.0.0.1@example.com/", false},
        {u"http://localhost:80@example.com/", false},
        {u"http://localhost:/", false},
        {u"http://localhost:8o/", false},
        {u"http://127.0.0.2/", false},
        {u"http://[::2]/", false},
        {u"http://localhostx/", false},
        {u"ftp://127.0.0.1/", false},
        {u"//example.com/", false},
        {u"file:///C:/a", false},
    };
    for (const auto& c : cases) {
        const std::u16string url = c.url;
        EXPECT_EQ(IsSuggestUrlAllowed(url), c.allowed) << std::string(url.begin(), url.end());
    }
}

std::vector<std::u16string> Read(const std::string& json) {
    SuggestionList list;
    const int n = ReadSuggestions(json, list);
    EXPECT_EQ(n, list.count);
    std::vector<std::u16string> out;
    for (int i = 0; i < list.count; ++i)
        out.emplace_back(list.items[i].view());
    return out;
}

using Strings = std::vector<std::u16string>;

TEST(SuggestReader, Shapes) {
    const struct {
        const char* what;
        std::string json;
        Strings items;
    } cases[] = {
        {"valid", u8R"(["tok",["tokyo","tokyo tower"]])", {u"tokyo", u"tokyo tower"}},
        {"spaces and mark", "\xEF\xBB\xBF [ \"q\" ,\n[ \"a\" ] ]\r\n", {u"a"}},
        {"further members", u8R"(["q",["a","b"],["d1","d2"],["u1","u2"],{"k":[1]}])", {u"a", u"b"}},
        {"empty list", R"(["q",[]])", {}},
        {"nine",
         R"(["q",["1","2","3","4","5","6","7","8","9"]])",
         {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"}},
        {"not strings", R"(["q",[1,"a",null,true,-2.5e9,["b"],{"c":"d"},"e"]])", {u"a", u"e"}},
        {"empty and NUL", R"(["q",["","a\u0000b","c"]])", {u"c"}},
        {"escapes",
         R"(["q",["\ud83d\ude00\u6771","a\tb\nc","\"\\\/"]])",
         {u"\U0001F600東", u"a b c", u"\"\\/"}},
        {"beyond 932", u8"[\"q\",[\"한국어\",\"emoji 😀\"]]", {u"한국어", u"emoji 😀"}},
        // Not JSON, or not the form.
        {"empty", "", {}},
        {"garbage", "<html>502</html>", {}},
        {"unterminated", R"(["q",["a"])", {}},
        {"trailing", R"(["q",["a"]] x)", {}},
        {"after a NUL", std::string(R"(["q",["a"]])") + '\0' + "x", {}},
        {"bad UTF-8", "[\"q\",[\"\xC3\x28\"]]", {}},
        {"object", R"({"q":["a"]})", {}},
        {"one member", R"(["q"])", {}},
        {"list first", R"([["a"],"q"])", {}},
        {"number first", R"([1,["a"]])", {}},
        {"no list", R"(["q","a"])", {}},
        {"string", R"("a")", {}},
        {"nothing", "[]", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.json), c.items) << c.what;
}

TEST(SuggestReader, Limits) {
    // Each suggestion is cut to the keyword box's weight, never inside a character.
    std::string kana;
    for (int i = 0; i < 61; ++i)
        kana += u8"あ";
    std::string faces;
    for (int i = 0; i < 40; ++i)
        faces += u8"😀";
    const std::string json =
        "[\"q\",[\"" + std::string(1000, 'x') + "\",\"a" + kana + "\",\"" + faces + "\"]]";
    const Strings items = Read(json);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], std::u16string(kKeywordBoxLimit, u'x'));
    EXPECT_EQ(items[1], u"a" + std::u16string(59, u'あ'));
    std::u16string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += u"\U0001F600";
    EXPECT_EQ(items[2], thirty);

    // The whole answer up to 64 KiB, nested deep or not; one byte more is not read.
    std::string deep = "[\"q\",[" + std::string(20000, '[') + std::string(20000, ']') + ",\"a\"]]";
    EXPECT_EQ(Read(deep), Strings{u"a"});
    std::string full = R"(["q",["a"]])";
    full.resize(kSuggestAnswerLimit, ' ');
    EXPECT_EQ(Read(full), Strings{u"a"});
    full += ' ';
    EXPECT_EQ(Read(full), Strings{});
}

} // namespace
