// Messages from other processes: WM_COPYDATA, WM_APP_SETOPTION, WM_COMMAND and
// WM_APP_ACTIVATE, as the browser bridge and a second start send them.
#include <gtest/gtest.h>

#include "tests/support/driver.h"

using namespace e2e;

TEST(Messages, CopyDataSetsTheKeywordSelectedAndCutTo119Bytes) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    const std::string long200(200, 'k');
    const std::string noNul = "abcdef"; // cbData 3: only "abc" may be read
    const struct {
        const void* data;
        DWORD size;
        const char* expected;
    } cases[] = {
        {"亜 keyword", 11, "亜 keyword"},
        {long200.c_str(), 201, nullptr},
        {noNul.data(), 3, "abc"},
        {"", 1, ""},
        {"zz", 0, ""},
    };
    for (const auto& c : cases) {
        const std::string expected = c.expected ? c.expected : long200.substr(0, 119);
        SCOPED_TRACE(expected);
        SendCopyData(b.bar, c.data, c.size);
        EXPECT_EQ(WindowText(b.keyword), expected);
        EXPECT_EQ(EditSelection(b.keyword), std::make_pair(0, TextLengthChars(b.keyword)));
    }
    // Neither shown nor searched.
    Sleep(300);
    EXPECT_TRUE(b.dir.BrowserLog().empty());
}

TEST(Messages, CopyDataDoesNotShowAHiddenBar) {
    RunningBar b;
    Process::Options hidden;
    hidden.showState = SW_HIDE;
    ASSERT_TRUE(b.Start(TestIni().c_str(), hidden));
    SendKeyword(b.bar, "from the browser");
    Sleep(500);
    EXPECT_FALSE(Visible(b.bar));
    Send(b.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
    EXPECT_EQ(WindowText(b.keyword), "from the browser");
}

TEST(Messages, SetOptionSubCommands) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    struct Step {
        WORD sub;
        WORD value;
        int mode;   // expected selection of the mode combo
        int engine; // expected selection of the engine combo
        bool modeEnabled;
    };
    const Step steps[] = {
        {0, 1, 1, 0, true},  {0, 0, 0, 0, true},      {0, 7, -1, 0, true},    {0, 1, 1, 0, true},
        {1, 3, 1, 3, true},  {1, 5, 1, 3, true},      {1, 65535, 1, 3, true}, {1, 1, 1, 1, false},
        {0, 0, 0, 1, false}, // disabled: set anyway
        {3, 2, 0, 1, false}, {65535, 0, 0, 1, false}, {1, 2, 0, 2, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.sub << "/" << s.value);
        Send(b.bar, kSetOption, MAKEWPARAM(s.sub, s.value));
        EXPECT_EQ(ComboSelection(b.mode), s.mode);
        EXPECT_EQ(ComboSelection(b.engine), s.engine);
        EXPECT_EQ(Enabled(b.mode), s.modeEnabled);
    }
    // Sub-command 2 searches with the keyword in the box.
    SendKeyword(b.bar, "q");
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, 0));
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionSearch, 0));
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 1; }));
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://s.example/all?q=q&x=1");
}

TEST(Messages, SearchWithEmptyKeywordOpensNothing) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionSearch, 0));
    Sleep(500);
    EXPECT_TRUE(b.dir.BrowserLog().empty());
}

TEST(Messages, NoSelectionInModeComboSearchesTheAnyWordUrl) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    SendKeyword(b.bar, "a b");
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionMode, 9));
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionSearch, 0));
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 1; }));
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://s.example/any?q=a|b");
}

TEST(Messages, CommandsAreToldApartByIdAlone) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "", "[History]\r\nMax=3\r\nHistoryA=h0\r\nHistoryB=h1\r\n")));
    SendKeyword(b.bar, "kw");
    // Ignored ids (a missing history item among them): nothing changes.
    for (WPARAM id :
         std::vector<WPARAM>{IDM_ENGINE_FILE_LAST + 1, IDM_HISTORY_FIRST - 1, IDM_HISTORY_LAST + 1,
                             IDM_ENGINE_FIRST - 1, IDM_ENGINE_FIRST + 5, IDM_ENGINE_FIRST + 6,
                             IDM_EXIT - 1, IDM_EDITOR + 1, IDCANCEL, IDC_ENGINE,
                             IDM_HISTORY_FIRST + 2, MAKEWPARAM(IDC_ENGINE, CBN_DROPDOWN)})
        Send(b.bar, WM_COMMAND, id);
    EXPECT_EQ(WindowText(b.keyword), "kw");
    Sleep(300);
    EXPECT_TRUE(b.dir.BrowserLog().empty());
    // Engine entry n: select the engine, update the mode combo, search.
    Send(b.bar, WM_COMMAND, IDM_ENGINE_FIRST + 1);
    EXPECT_EQ(ComboSelection(b.engine), 1);
    EXPECT_FALSE(Enabled(b.mode));
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 1; }));
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://e.example/?q=kw");
    // History item n (the search put "kw" in front), selected, no search.
    Send(b.bar, WM_COMMAND, IDM_HISTORY_FIRST + 1);
    EXPECT_EQ(WindowText(b.keyword), "h0");
    EXPECT_EQ(EditSelection(b.keyword), std::make_pair(0, 2));
    Sleep(300);
    EXPECT_EQ(b.dir.BrowserLog().size(), 1u);
}

TEST(Messages, ActivateRestoresHiddenMinimisedAndShownBar) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "TaskErase=0\r\n")));
    const std::function<void()> states[] = {
        [&] { ShowWindow(b.bar, SW_HIDE); },
        [&] { PostMessageA(b.bar, WM_SYSCOMMAND, SC_MINIMIZE, 0); },
        [] {},
    };
    for (const auto& put : states) {
        put();
        Sleep(300);
        Send(b.bar, kActivate);
        EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar) && !IsIconic(b.bar); }));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == b.bar; }));
    }
}

TEST(Messages, SecondStartActivatesTheFirstAndEnds) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    ShowWindow(b.bar, SW_HIDE);
    Process second;
    ASSERT_TRUE(second.Start(b.dir));
    DWORD code = 1;
    ASSERT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
}
