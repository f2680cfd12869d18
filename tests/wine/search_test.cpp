// The search action through the real entry point: a stand-in bar with the three controls,
// the active engine set and the recording stand-in browser.
#include "ui/bar/bar_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/text.h"
#include "history/history_store.h"
#include "platform/app_state.h"
#include "platform/engine_store.h"
#include "platform/handles.h"
#include "platform/settings_file.h"
#include "tests/support/box_answerer.h"
#include "tests/support/browser_log.h"
#include "tests/support/test_entries.h"
#include "tests/support/text.h"
#include "ui/common/resource.h"

namespace {

EngineEntry Entry(const char* name, const char* head1, const char* key1, const char* head2,
                  const char* key2, uint8_t character) {
    return MakeEntry(name, head1, key1, "", head2, key2, "", character);
}

class SearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramDirectory(app.paths, Widen(dir.path()).c_str());
        app.settings = Settings();
        app.settings.Max = 10;
        app.lastSearch = LastSearch{WideKeyword(), -1, 0, false};
        app.history.count = 0;
        app.activeSet.count = 3;
        app.activeSet.entries.reset(new EngineEntry[3]);
        app.activeSet.entries[0] = Entry("Utf8", "https://u/?q=", "+", "https://u/?or=", "+OR+", 3);
        app.activeSet.entries[1] = Entry("Euc", "e/?q=", "+", "", "", 1);
        app.activeSet.entries[2] = Entry("Local", "\\page.html?q=", "+", "", "", 0);

        bar.reset(CreateWindowExA(0, "STATIC", "Morvel-bar", WS_POPUP, 0, 0, 300, 40, nullptr,
                                  nullptr, nullptr, nullptr));
        // The keyword box is a Unicode window, as the bar's is.
        keyword = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 100, 100, bar.get(),
                                  reinterpret_cast<HMENU>(IDC_KEYWORD), nullptr, nullptr);
        mode = Child("COMBOBOX", IDC_MODE);
        engine = Child("COMBOBOX", IDC_ENGINE);
        for (const char* s : {"すべて含む", "どれか含む"})
            SendMessageA(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        for (const char* s : {"Utf8", "Euc", "Local"})
            SendMessageA(engine, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        Select(0, 0);
    }
    void TearDown() override {
        SetShift(false);
        app.activeSet = EngineSet();
        app.settings = Settings();
    }
    HWND Child(const char* cls, int id) {
        return CreateWindowExA(0, cls, "", WS_CHILD | (cls[0] == 'C' ? CBS_DROPDOWNLIST : 0), 0, 0,
                               100, 100, bar.get(), reinterpret_cast<HMENU>(id), nullptr, nullptr);
    }
    void Select(int modeIndex, int engineIndex) {
        SendMessageA(mode, CB_SETCURSEL, modeIndex, 0);
        SendMessageA(engine, CB_SETCURSEL, engineIndex, 0);
    }
    void Type(const char* text) { SetWindowTextA(keyword, text); }
    std::string Keyword() {
        char text[256] = {};
        GetWindowTextA(keyword, text, sizeof text);
        return text;
    }
    // The history entry at n as code page 932 text.
    std::string Item(int n) {
        const char16_t* text = HistoryItemAt(app.history, n);
        return text ? Cp932(text) : "<none>";
    }
    static void SetShift(bool down) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    // The URL the browser received in its n-th start.
    std::string Url(BrowserLog& log, size_t n) {
        const std::vector<std::string> lines = log.WaitForLines(n);
        if (lines.size() < n) return "<no browser start>";
        const std::vector<std::string> args = SplitArguments(lines[n - 1]);
        return args.size() == 2 ? args[1] : "<" + lines[n - 1] + ">";
    }

    TempDir dir;
    AppState app;
    UniqueWindow bar;
    HWND keyword = nullptr, mode = nullptr, engine = nullptr;
    // The bar's state over the stand-in's controls.
    void Search() {
        SearchBar state(app, false);
        state.wnd = bar.get();
        state.keyword = keyword;
        state.mode = mode;
        state.engine = engine;
        RunSearch(state, false);
    }
};

TEST_F(SearchTest, ComposesOpensAndRecords) {
    BrowserLog log(dir, app.settings);
    struct Case {
        const char* text;
        int mode, engine;
        std::string url;
    } cases[] = {
        {"　ab  \x88\x9F ", 0, 0, "https://u/?q=ab+%E4%BA%9C"},
        {"ab cd", 1, 0, "https://u/?or=ab+OR+cd"},
        {"ab cd", -1, 0, "https://u/?or=ab+OR+cd"},        // no mode selection: URL2
        {"\x88\x9F \xB1", 1, 1, "http://e/?q=%B0%A1+%B1"}, // no URL2: URL1
        {"x y", 0, 2, "file:///" + dir.path() + "page.html?q=x+y"},
    };
    size_t n = 0;
    for (const Case& c : cases) {
        Type(c.text);
        Select(c.mode, c.engine);
        Search();
        EXPECT_EQ(Url(log, ++n), c.url) << c.text;
        EXPECT_EQ(Keyword(), c.text); // the box keeps its text
        EXPECT_EQ(Cp932(std::u16string(app.lastSearch.keyword.view())), c.text);
        EXPECT_EQ(app.lastSearch.engine, c.engine);
        EXPECT_TRUE(app.lastSearch.valid);
    }
    EXPECT_EQ(app.settings.Count, 5);
    EXPECT_EQ(Item(0), "x y");
    EXPECT_EQ(Item(1), "\x88\x9F \xB1");
    EXPECT_EQ(Item(2), "ab cd");
    EXPECT_EQ(Item(3), "ab \x88\x9F");
    EXPECT_EQ(HistoryItemAt(app.history, 4), nullptr);
}

TEST_F(SearchTest, ShiftHeldKeepsTheHistory) {
    BrowserLog log(dir, app.settings);
    Type("secret");
    SetShift(true);
    Search();
    SetShift(false);
    EXPECT_EQ(Url(log, 1), "https://u/?q=secret");
    EXPECT_EQ(app.settings.Count, 1);
    EXPECT_EQ(HistoryItemAt(app.history, 0), nullptr);
}

TEST_F(SearchTest, SpacesOnlyEmptiesTheBox) {
    BrowserLog log(dir, app.settings);
    Type("　  ");
    Search();
    EXPECT_EQ(Keyword(), "");
    EXPECT_EQ(app.settings.Count, 0);
    EXPECT_FALSE(app.lastSearch.valid);
}

TEST_F(SearchTest, FailedBrowserStillCountsAndRecords) {
    CopyToField(app.settings.Browser, dir / "missing.exe");
    Type("ab");
    BoxAnswerer boxes;
    Search();
    const std::vector<BoxAnswerer::Box> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].owner, bar.get());
    EXPECT_EQ(app.settings.Count, 1);
    EXPECT_EQ(Item(0), "ab");
    EXPECT_TRUE(app.lastSearch.valid);
}

// Through the system's conversion: UTF-8 engines get any text, a Shift-JIS or EUC-JP engine
// refuses what it cannot say (never a look-alike), code page 932's own characters go as always.
TEST_F(SearchTest, KeywordsBeyondShiftJis) {
    BrowserLog log(dir, app.settings);
    struct Case {
        std::u16string text;
        int engine;
        std::string url;             // "" when refused
        std::u16string message = {}; // of the refusal
    } cases[] = {
        {u"\U00020BB7野家", 0, "https://u/?q=%F0%A0%AE%B7%E9%87%8E%E5%AE%B6"},
        {u"café", 0, "https://u/?q=caf%C3%A9"},
        {u"① 亜", 2, "file:///" + dir.path() + "page.html?q=%87@+%88%9F"},
        {u"\U00020BB7野家", 2, "",
         u"「\U00020BB7」は Shift-JIS で表せないため、この検索エンジンでは検索できません。"},
        {u"café", 2, "", u"「é」は Shift-JIS で表せないため、この検索エンジンでは検索できません。"},
        {u"亜 한국어", 1, "",
         u"「한」は EUC-JP で表せないため、この検索エンジンでは検索できません。"},
    };
    size_t opened = 0;
    int count = 0;
    for (const Case& c : cases) {
        SetWindowTextW(keyword, reinterpret_cast<const wchar_t*>(c.text.c_str()));
        Select(0, c.engine);
        BoxAnswerer boxes;
        Search();
        const std::vector<BoxAnswerer::Box> seen = boxes.Boxes();
        if (c.url.empty()) {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].owner, bar.get());
            EXPECT_EQ(seen[0].wideText, c.message);
        } else {
            EXPECT_TRUE(seen.empty());
            EXPECT_EQ(Url(log, ++opened), c.url);
            EXPECT_EQ(std::u16string(HistoryItemAt(app.history, 0)), c.text);
            EXPECT_EQ(std::u16string(app.lastSearch.keyword.view()), c.text);
            ++count;
        }
        EXPECT_EQ(app.settings.Count, count);
    }
    EXPECT_EQ(log.Lines().size(), opened); // a refusal starts no browser
}

} // namespace
