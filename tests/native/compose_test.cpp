#include "query/compose.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "query/engine_keyword.h"
#include "query/search_action.h"
#include "tests/support/test_entries.h"

size_t IconvCp932ToUtf16(std::string_view text, char16_t* out, size_t capacity); // encode_test.cpp

namespace {

const char kDir[] = "C:\\Tools\\Morvel\\";

// A few characters as code page 932 puts them, for the conversion from UTF-16: ASCII, and the
// characters the tests use. Everything else is what Shift-JIS cannot say.
size_t FakeUtf16ToCp932(std::u16string_view text, TextBuffer& out) {
    static const std::map<char16_t, std::string> said = {
        {u'亜', "\x88\x9F"}, {u'ア', "\x83\x41"}, {u'ャ', "\x83\x81"},
        {u'ｱ', "\xB1"},      {u'①', "\x87\x40"},  {u'\u3000', "\x81\x40"}};
    size_t first = text.size();
    for (size_t i = 0; i < text.size(); i += CharacterUnits(text, i)) {
        const auto it = said.find(text[i]);
        if (text[i] < 0x80) {
            out.Append(static_cast<char>(text[i]));
        } else if (it != said.end()) {
            out.Append(it->second);
        } else {
            out.Append('?');
            first = std::min(first, i);
        }
    }
    return first;
}

ComposeOptions Options() {
    return ComposeOptions{kDir, IconvCp932ToUtf16, FakeUtf16ToCp932};
}

// URL1: H1 + T1, URL2: H2 | T2.
EngineEntry TwoUrls(uint8_t character = 0, uint8_t urlMode = 0) {
    return MakeEntry("E", "h1/?q=", "+", "&t1", "h2/?q=", "|", "&t2", character, urlMode);
}

TEST(Compose, ClassifyKeyword) {
    struct Case {
        std::string keyword;
        int bits;
    } cases[] = {
        {"", 0},         {"  ", 0},       {"abc XYZ", 1},  {"42", 2},
        {"a1", 3},       {"\t", 4},       {"\xB1", 4},     {"\x80\xA0\xFD\xFF", 4},
        {"+", 4},        {"\x88\x9F", 8}, {"\x83\x41", 8}, {"a\x83\x41 1-", 15},
        {"\x81\x40", 8}, // the trail byte '@' is not a letter or other byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyKeyword(c.keyword), c.bits) << c.keyword;
}

TEST(Compose, BuildSearchUrl) {
    struct Case {
        const char* what;
        EngineEntry entry;
        std::string keyword;
        int mode;
        std::string url;
    } cases[] = {
        {"mode 0", TwoUrls(), "ab cd", 0, "http://h1/?q=ab+cd&t1"},
        {"mode 1", TwoUrls(), "ab cd", 1, "http://h2/?q=ab|cd&t2"},
        {"no URL2, mode 1", MakeEntry("E", "h1/?q=", "+", "&t1"), "ab cd", 1,
         "http://h1/?q=ab+cd&t1"},
        {"UrlMode 8, double-byte", TwoUrls(0, 8), "ab \x88\x9F", 0, "http://h2/?q=ab|%88%9F&t2"},
        {"UrlMode 8, letters", TwoUrls(0, 8), "ab cd", 0, "http://h1/?q=ab+cd&t1"},
        {"UrlMode 8 without URL2", MakeEntry("E", "h1/?q=", "+", "", "", "", "", 0, 8), "\x88\x9F",
         0, "http://h1/?q=%88%9F"},
        {"UrlMode 3, digits", TwoUrls(0, 3), "12", 0, "http://h2/?q=12&t2"},
        {"EUC", TwoUrls(1), "\x88\x9F \xB1", 0, "http://h1/?q=%B0%A1+%B1&t1"},
        {"UTF-8", TwoUrls(3), "a \xB1", 0, "http://h1/?q=a+%EF%BD%B1&t1"},
        {"no encoding", TwoUrls(2), "a&b c", 0, "http://h1/?q=a&b+c&t1"},
        {"no encoding, literal %20", TwoUrls(2), "a%20b c", 0, "http://h1/?q=a+b+c&t1"},
        {"unknown Character is Shift-JIS", TwoUrls(7), "\x83\x41", 0, "http://h1/?q=%83A&t1"},
        {"tab is no separator", TwoUrls(), "a\tb", 0, "http://h1/?q=a%09b&t1"},
        {"empty key", MakeEntry("E", "h/", "", ""), "ab cd", 0, "http://h/abcd"},
        {"program directory", MakeEntry("E", "\\page.html?q=", "+"), "ab cd", 0,
         "file:///C:\\Tools\\Morvel\\page.html?q=ab+cd"},
        {"UNC head", MakeEntry("E", "\\\\server\\share\\x.html?q=", "+"), "ab", 0,
         "file:///server\\share\\x.html?q=ab"},
        {"lone backslash", MakeEntry("E", "\\", "+"), "ab", 0, "file:///C:\\Tools\\Morvel\\ab"},
        // A head with its own scheme keeps it.
        {"https head", MakeEntry("E", "https://www.example.com/?q=", "+"), "ab", 0,
         "https://www.example.com/?q=ab"},
        {"HTTP head", MakeEntry("E", "HTTP://x/?q=", "+"), "ab", 0, "HTTP://x/?q=ab"},
        {"HtTpS head", MakeEntry("E", "HtTpS://x/?q=", "+"), "ab", 0, "HtTpS://x/?q=ab"},
        {"ftp head", MakeEntry("E", "ftp://x/", "+"), "ab", 0, "http://ftp://x/ab"},
        {"http: without slashes", MakeEntry("E", "http:x/", "+"), "ab", 0, "http://http:x/ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildSearchUrl(c.keyword, c.mode, c.entry, Options()), c.url) << c.what;
}

TEST(Compose, NoTruncation) {
    std::string keyword;
    for (int i = 0; i < 60; ++i)
        keyword += "\x88\x9F";
    const EngineEntry e =
        MakeEntry("E", std::string(255, 'h'), "+", std::string(255, 't'), "", "", "", kCharUtf8);
    const UrlText url = BuildSearchUrl(keyword, 0, e, Options());
    EXPECT_EQ(url.size(), 7 + 255 + 60 * 9 + 255);

    // The longest parts at once: a program directory of 259 bytes behind "file:///", the
    // longest head, key and tail, and a keyword of the box's 127 bytes whose every byte
    // becomes a key. The URL's buffer holds it whole.
    const std::string dir = std::string(258, 'd') + "\\";
    const std::string key(15, 'k');
    for (const uint8_t character : {kCharShiftJis, kCharEuc, kCharNone, kCharUtf8}) {
        const EngineEntry big = MakeEntry("E", "\\" + std::string(254, 'h'), key,
                                          std::string(255, 't'), "", "", "", character);
        const UrlText longest = BuildSearchUrl(
            std::string(127, ' '), 0, big, ComposeOptions{dir.c_str(), IconvCp932ToUtf16, nullptr});
        EXPECT_FALSE(longest.cut()) << int(character);
        EXPECT_EQ(longest.size(), 8 + 259 + 254 + 127 * 15 + 255) << int(character);
    }
}

TEST(Compose, BrowserParameters) {
    struct Case {
        std::string url, parameters;
    } cases[] = {
        {"http://x/?q=a+b", "http://x/?q=a+b"},
        {"http://x/?q=a b", "\"http://x/?q=a b\""},
        {"http://x/?q=\" -new", "\"http://x/?q=%22 -new\""},
        {"http://x/?q=a\"b", "\"http://x/?q=a%22b\""},
        {"file:///C:\\my dir\\", "\"file:///C:\\my dir\\\\\""},
        // The trail byte 0x5C of a double-byte character is no backslash.
        {"http://x/?q=a \x83\x5C", "\"http://x/?q=a \x83\x5C\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BrowserParameters(c.url), c.parameters) << c.url;
}

// The search bar as the action sees it, recording what the action does.
struct FakeBar : SearchPort {
    std::u16string keyword;
    int mode = 0, engine = 0;
    bool shift = false;
    int beeps = 0, focus = 0, cleared = 0;
    std::vector<std::string> opened;
    std::vector<std::u16string> openedWide;
    std::u16string refused;
    std::string refusedCode;

    WideKeyword KeywordText() override { return WideKeyword(keyword); }
    int ModeSelection() override { return mode; }
    int EngineSelection() override { return engine; }
    void Beep() override { ++beeps; }
    void FocusKeyword(bool clear) override {
        ++focus;
        if (clear) {
            ++cleared;
            keyword.clear();
        }
    }
    bool ShiftHeld() override { return shift; }
    void OpenUrl(const char* url) override { opened.push_back(url); }
    void OpenWideUrl(std::u16string_view url) override { openedWide.emplace_back(url); }
    void Refuse(std::u16string_view character, const char* codeName) override {
        refused = character;
        refusedCode = codeName;
    }
};

class SearchAction : public ::testing::Test {
  protected:
    void SetUp() override {
        engines.count = 2;
        engines.entries.reset(new EngineEntry[2]);
        engines.entries[0] = TwoUrls();
        engines.entries[1] = MakeEntry("One", "one/?q=", "+");
        settings.Max = 10;
    }
    void Run(bool automatic) {
        RunSearchAction(
            automatic, bar,
            SearchContext{&engines, &settings, &last, &history, CompareHistoryUnits, Options()});
    }

    EngineSet engines;
    Settings settings;
    LastSearch last = {WideKeyword(), -1, 0, false};
    SearchHistory history;
    FakeBar bar;
};

TEST_F(SearchAction, NormalisesAndRecords) {
    bar.keyword = u"　ab  cd ";
    Run(false);
    ASSERT_EQ(bar.opened.size(), 1u);
    EXPECT_EQ(bar.opened[0], "http://h1/?q=ab+cd&t1");
    EXPECT_EQ(std::u16string(HistoryItemAt(history, 0)), u"ab cd");
    EXPECT_EQ(settings.Count, 1);
    EXPECT_TRUE(last.valid);
    EXPECT_EQ(std::u16string(last.keyword.view()), u"　ab  cd "); // as read, before normalisation
    EXPECT_EQ(last.engine, 0);
    EXPECT_EQ(last.mode, 0);
    EXPECT_EQ(bar.beeps, 0);
}

TEST_F(SearchAction, ModeSelection) {
    struct Case {
        int engine, mode;
        std::string url;
        int lastMode;
    } cases[] = {
        {0, 0, "http://h1/?q=x&t1", 0},  {0, 1, "http://h2/?q=x&t2", 1},
        {0, -1, "http://h2/?q=x&t2", 1}, // no selection counts as 1
        {1, 1, "http://one/?q=x", 0},    {1, -1, "http://one/?q=x", 0},
    };
    for (const Case& c : cases) {
        bar.opened.clear();
        bar.keyword = u"x";
        bar.engine = c.engine;
        bar.mode = c.mode;
        Run(false);
        ASSERT_EQ(bar.opened.size(), 1u);
        EXPECT_EQ(bar.opened[0], c.url) << c.engine << ' ' << c.mode;
        EXPECT_EQ(last.mode, c.lastMode) << c.engine << ' ' << c.mode;
    }
}

TEST_F(SearchAction, FullWidthSpacesSplitLikeHalfWidth) {
    bar.keyword = u"ab　cd";
    Run(false);
    bar.keyword = u"ab cd";
    Run(false);
    ASSERT_EQ(bar.opened.size(), 2u);
    EXPECT_EQ(bar.opened[0], bar.opened[1]);
    // 0x83 0x81 then '@' is not a full-width space.
    bar.keyword = u"ャ@";
    Run(false);
    EXPECT_EQ(bar.opened[2], "http://h1/?q=%83%81@&t1");
}

TEST_F(SearchAction, RefusedExplicitStarts) {
    struct Case {
        std::u16string keyword;
        int cleared;
    } cases[] = {{u"", 0}, {u"   ", 1}, {u"　 　", 1}};
    for (const Case& c : cases) {
        bar = FakeBar();
        bar.keyword = c.keyword;
        Run(false);
        EXPECT_TRUE(bar.opened.empty());
        EXPECT_EQ(bar.beeps, 1);
        EXPECT_EQ(bar.focus, 1);
        EXPECT_EQ(bar.cleared, c.cleared);
        EXPECT_EQ(settings.Count, 0);
        EXPECT_EQ(history.count, 0);
    }
}

TEST_F(SearchAction, SoundBeepsOnEverySearch) {
    settings.Sound = 1;
    bar.keyword = u"x";
    Run(false);
    EXPECT_EQ(bar.beeps, 1);
    EXPECT_EQ(bar.opened.size(), 1u);
}

TEST_F(SearchAction, ShiftKeepsTheSearchOutOfTheHistory) {
    bar.keyword = u"x";
    bar.shift = true;
    Run(false);
    EXPECT_EQ(bar.opened.size(), 1u);
    EXPECT_EQ(settings.Count, 1);
    EXPECT_EQ(history.count, 0);
    EXPECT_TRUE(last.valid);
}

TEST_F(SearchAction, AutomaticStart) {
    bar.keyword = u"x";
    Run(true); // nothing searched yet
    EXPECT_TRUE(bar.opened.empty());
    Run(false);
    ASSERT_EQ(bar.opened.size(), 1u);

    Run(true); // same engine: refused, and the state is invalid from now on
    EXPECT_EQ(bar.opened.size(), 1u);
    EXPECT_FALSE(last.valid);
    bar.engine = 1;
    Run(true);
    EXPECT_EQ(bar.opened.size(), 1u);

    bar.engine = 0;
    Run(false);
    bar.engine = 1;
    Run(true); // repeats the search on the other engine
    ASSERT_EQ(bar.opened.size(), 3u);
    EXPECT_EQ(bar.opened[2], "http://one/?q=x");
    EXPECT_EQ(last.engine, 1);

    bar.keyword = u"y"; // edited keyword: refused, then refused again
    bar.engine = 0;
    Run(true);
    bar.keyword = u"x";
    bar.engine = 0;
    Run(true);
    EXPECT_EQ(bar.opened.size(), 3u);
    EXPECT_EQ(bar.beeps, 0); // refusals are silent

    bar.keyword = u"";
    Run(true);
    EXPECT_EQ(bar.beeps, 0);
    EXPECT_EQ(settings.Count, 2 + 0 + 1 - 0);
}

// Keywords from UTF-16: what Shift-JIS can say goes out as its bytes, as always; other text
// goes out as UTF-8, as a UTF-16 URL for engines without encoding, or is refused.
TEST_F(SearchAction, KeywordsBeyondShiftJis) {
    const EngineEntry local = MakeEntry("E", "\\表.html?q=", "+", "", "", "", "", kCharNone);
    struct Case {
        uint8_t character; // of TwoUrls(character, 8): double-byte keywords take URL2
        std::u16string keyword;
        std::string url;
        std::u16string wideUrl = {}, refused = {}, recorded = {}; // recorded: "" for the keyword
        const char* code = nullptr;
    } cases[] = {
        {kCharShiftJis, u"①亜 ア", "http://h2/?q=%87@%88%9F|%83A&t2"},
        {kCharShiftJis, u"　亜　 ア ", "http://h2/?q=%88%9F|%83A&t2", u"", u"", u"亜 ア"},
        {kCharShiftJis, u"a \U00020BB7野家", "", u"", u"\U00020BB7", u"", "Shift-JIS"},
        {kCharShiftJis, u"café", "", u"", u"é", u"", "Shift-JIS"},
        {7, u"x\U0001F600", "", u"", u"\U0001F600", u"", "Shift-JIS"},
        {kCharEuc, u"亜 ｱ", "http://h2/?q=%B0%A1|%B1&t2"},
        {kCharEuc, u"亜 한국어", "", u"", u"한", u"", "EUC-JP"},
        {kCharUtf8, u"\U00020BB7野家", "http://h2/?q=%F0%A0%AE%B7%E9%87%8E%E5%AE%B6&t2"},
        {kCharUtf8, u" 한　국어  café ", "http://h2/?q=%ED%95%9C|%EA%B5%AD%EC%96%B4|caf%C3%A9&t2",
         u"", u"", u"한 국어 café"},
        {kCharUtf8, u"aZ09*-._@~+é", "http://h2/?q=aZ09*-._@%7E%2B%C3%A9&t2"},
        {kCharUtf8, std::u16string{char16_t(0xD842), u'a'}, "http://h2/?q=%EF%BF%BDa&t2"},
        {kCharNone, u"한국어 café", "", u"http://h2/?q=한국어|café&t2"},
        {kCharNone, u"\U00020BB7 a%20b&c", "", u"http://h2/?q=\U00020BB7|a|b&c&t2"},
        {kCharNone, u"a b", "http://h1/?q=a+b&t1"},
        {kCharNone + 100, u"é", "", u"file:///C:\\Tools\\Morvel\\表.html?q=é"}, // local
    };
    for (const Case& c : cases) {
        engines.entries[0] = c.character == kCharNone + 100 ? local : TwoUrls(c.character, 8);
        bar = FakeBar();
        bar.keyword = c.keyword;
        settings.Count = 0;
        history.count = 0;
        last.valid = false;
        Run(false);
        const std::u16string& recorded = c.recorded.empty() ? c.keyword : c.recorded;
        EXPECT_EQ(bar.opened,
                  c.url.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.url});
        EXPECT_EQ(bar.openedWide, c.wideUrl.empty() ? std::vector<std::u16string>{}
                                                    : std::vector<std::u16string>{c.wideUrl});
        EXPECT_EQ(bar.refused, c.refused);
        EXPECT_EQ(bar.refusedCode, c.code ? c.code : "");
        const bool searched = c.refused.empty();
        EXPECT_EQ(settings.Count, searched ? 1 : 0);
        EXPECT_EQ(last.valid, searched);
        EXPECT_EQ(history.count, searched ? 1 : 0);
        if (searched) {
            EXPECT_EQ(std::u16string(HistoryItemAt(history, 0)), recorded);
        }
    }
}

TEST_F(SearchAction, NoEngineSearchesNothing) {
    bar.keyword = u"x";
    bar.engine = -1;
    Run(false);
    bar.engine = 2;
    Run(false);
    EXPECT_TRUE(bar.opened.empty());
}

} // namespace

TEST_F(SearchAction, EngineKeywordsChooseTheEngines) {
    const auto keyword = [this](int i, const char* k) {
        CopyBounded(engines.extras[i].Keyword, kEngineKeywordSize, k);
    };
    engines.count = 15;
    engines.entries.reset(new EngineEntry[15]);
    engines.entries[0] = TwoUrls();
    engines.entries[1] = MakeEntry("Dict", "d/?q=", "+");
    engines.entries[2] = MakeEntry("U", "https://u/x?q=", "+", "", "", "", "", kCharUtf8);
    engines.entries[3] = MakeEntry("Euc", "e/?q=", "+", "", "", "", "", kCharEuc);
    engines.entries[4] = MakeEntry("W", "w/?q=", "+");
    engines.entries[5] = MakeEntry("File", "\\page.html?", "+");
    for (int i = 6; i < 15; ++i)
        engines.entries[i] = MakeEntry("N", "n" + std::to_string(i) + "/?q=", "+");
    for (const int i : {0, 2, 3})
        keyword(i, "all");
    keyword(1, "\x8E\xAB"); // 辞
    keyword(4, "w");
    keyword(5, "f");
    for (int i = 6; i < 15; ++i)
        keyword(i, "n");
    std::vector<std::string> ninth; // a keyword of nine entries searches the first eight
    for (int i = 6; i < 14; ++i)
        ninth.push_back("http://n" + std::to_string(i) + "/?q=a");

    struct Case {
        std::u16string text;
        std::vector<std::string> urls;
        int beeps;
        std::u16string refused;
    } cases[] = {
        {u"w 亜", {"http://w/?q=%88%9F"}, 0, u""},
        {u"  W  亜 ア", {"http://w/?q=%88%9F+%83A"}, 0, u""}, // case, spaces
        {u"ｗ　亜", {"http://w/?q=%88%9F"}, 0, u""},          // full-width letter and space
        {u"x 亜", {"http://h1/?q=x+%88%9F&t1"}, 0, u""},      // no keyword: the selected engine
        {u"wx 亜", {"http://h1/?q=wx+%88%9F&t1"}, 0, u""},    // a longer word is no keyword
        {u"w亜", {"http://h1/?q=w%88%9F&t1"}, 0, u""},        // nor one without a space
        {u"w", {"http://w/"}, 0, u""},                        // alone: the top page
        {u"all 　", {"http://h1/", "https://u/", "http://e/"}, 0, u""},
        {u"f", {}, 1, u""}, // a file reference has no top page
        {u"辞 a", {"http://d/?q=a"}, 0, u""},
        {u"all 亜",
         {"http://h1/?q=%88%9F&t1", "https://u/x?q=%E4%BA%9C", "http://e/?q=%B0%A1"},
         0,
         u""},
        {u"all 😀", {"https://u/x?q=%F0%9F%98%80"}, 0, u"😀"}, // each in its own code
        {u"n a", ninth, 0, u""},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        bar.opened.clear();
        bar.refused.clear();
        bar.beeps = 0;
        bar.keyword = c.text;
        Run(false);
        EXPECT_EQ(bar.opened, c.urls);
        EXPECT_EQ(bar.beeps, c.beeps);
        EXPECT_TRUE(bar.refused == c.refused);
    }
    // The history keeps the keyword, and an automatic start never repeats a keyword search.
    EXPECT_EQ(std::u16string(HistoryItemAt(history, 0)), u"n a");
    bar.opened.clear();
    bar.engine = 1;
    Run(true);
    EXPECT_TRUE(bar.opened.empty());
}

TEST(EngineKeyword, UsersAndTopPages) {
    EngineExtras extras[4] = {{"w", ""}, {"W", ""}, {"\x82\x97", ""}, {"wx", ""}}; // w, W, ｗ, wx
    EXPECT_EQ(CountKeywordUsers(extras, 4, "w", -1, IconvCp932ToUtf16), 3);
    EXPECT_EQ(CountKeywordUsers(extras, 4, "w", 1, IconvCp932ToUtf16), 2); // but itself
    EXPECT_EQ(CountKeywordUsers(extras, 4, "", -1, IconvCp932ToUtf16), 0);
    const struct {
        const char* head;
        const char* top;
    } tops[] = {
        {"https://Ja.example.org/w/index.php?search=", "https://Ja.example.org/"},
        {"HTTP://a.example?q=", "HTTP://a.example/"},
        {"a.example#x", "http://a.example/"},
        {"\\page.html?q=", ""},
        {"/path?q=", ""},
        {"", ""},
    };
    for (const auto& t : tops)
        EXPECT_EQ(std::string(TopPageUrl(MakeEntry("T", t.head)).view()), t.top) << t.head;
}
