// The search bar driven from outside as a user would: start, controls, searches, page keys,
// engine file switching, hiding and the real exit.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/driver.h"

using namespace e2e;

namespace {

void SetKeyword(const RunningBar& b, const std::string& text) {
    Send(b.keyword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Presses the search button and waits for the browser's log to grow to `lines` lines.
bool SearchAndWait(const RunningBar& b, size_t lines) {
    PostMessageA(b.button, BM_CLICK, 0, 0);
    return WaitUntil([&] { return b.dir.BrowserLog().size() >= lines; });
}

// Keywords of test.sef's entries (SJIS, EUC, None, UTF8, Last): "all" for the Shift-JIS,
// EUC-JP and UTF-8 entries, "w" for Last, kept in the companion beside the engine file.
const char kCompanion[] = "[1]\r\nname=SJIS\r\nkeyword=all\r\n[2]\r\nname=EUC\r\nkeyword=all\r\n"
                          "[4]\r\nname=UTF8\r\nkeyword=all\n[5]\nname=Last\nkeyword=w\n";

// The keyword cue while it is shown.
HWND CueWindow(const RunningBar& b) {
    for (HWND w : TopWindows(b.proc.Pid(), "tooltips_class32", nullptr))
        if (GetWindow(w, GW_OWNER) == b.bar && IsWindowVisible(w) && !WindowText(w).empty())
            return w;
    return nullptr;
}
std::string Cue(const RunningBar& b) {
    HWND cue = CueWindow(b);
    return cue ? WindowText(cue) : "";
}

} // namespace

TEST(Bar, StartsShownWithTemplateControlsAndFocusInKeywordBox) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
    EXPECT_EQ(WindowText(b.bar), "Morvel");
    EXPECT_EQ(WindowText(b.button), "検索");
    ASSERT_EQ(ComboCount(b.mode), 2);
    EXPECT_EQ(ComboText(b.mode, 0), "すべて含む");
    EXPECT_EQ(ComboText(b.mode, 1), "どれか含む");
    EXPECT_EQ(ComboSelection(b.mode), 0);
    ASSERT_EQ(ComboCount(b.engine), 5);
    EXPECT_EQ(ComboText(b.engine, 0), "SJIS");
    EXPECT_EQ(ComboText(b.engine, 4), "Last");
    EXPECT_EQ(ComboSelection(b.engine), 0);
    EXPECT_TRUE(Enabled(b.mode));
    const LONG style = GetWindowLongA(b.bar, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    // The keyword box is limited to 120 characters.
    EXPECT_EQ(Send(b.keyword, EM_GETLIMITTEXT), 120);
    // Tab order follows the template.
    EXPECT_EQ(GetNextDlgTabItem(b.bar, b.keyword, FALSE), b.mode);
    EXPECT_EQ(GetNextDlgTabItem(b.bar, b.mode, FALSE), b.engine);
    EXPECT_EQ(GetNextDlgTabItem(b.bar, b.engine, FALSE), b.button);
    Shot("searchbar", b.bar);
    DWORD code = 1;
    ASSERT_TRUE(b.Exit(&code));
    EXPECT_EQ(code, 0u);
}

TEST(Bar, HiddenStartStaysHiddenUntilActivated) {
    RunningBar b;
    Process::Options hidden;
    hidden.showState = SW_HIDE;
    ASSERT_TRUE(b.Start(TestIni().c_str(), hidden));
    Sleep(1500); // time for the dialog manager's own first show
    EXPECT_FALSE(Visible(b.bar));
    Send(b.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
}

TEST(Bar, TypedSearchGivesTheUrlOfEachCharacterCode) {
    struct Case {
        int engine;
        int mode;
        const char* keyword;
        const char* url;
    };
    // 亜 is 0x88 0x9F; ア is 0x83 0x41; the full-width space separates words like a space.
    const Case cases[] = {
        {0, 0, "亜　ア b", "http://s.example/all?q=%88%9F+%83A+b&x=1"},
        {0, 1, "a  b ", "http://s.example/any?q=a|b"},
        {1, 0, "亜 ア", "http://e.example/?q=%B0%A1+%A5%A2"},
        {2, 0, "亜 x", "http://n.example/or/亜/x"},
        {2, 0, "亜", "http://n.example/亜.html"},
        {3, 0, "亜 +", "http://u.example/?q=%E4%BA%9C+%2B"},
        {3, 1, "亜 +", "http://u.example/?or=%E4%BA%9C+OR+%2B"},
    };
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    size_t lines = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, c.engine));
        Send(b.bar, kSetOption, MAKEWPARAM(kOptionMode, c.mode));
        SetKeyword(b, c.keyword);
        ASSERT_TRUE(SearchAndWait(b, ++lines));
        EXPECT_EQ(b.dir.BrowserUrls().back(), c.url);
    }
}

TEST(Bar, KeysTypedIntoTheBoxAndEnterSearch) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    ASSERT_TRUE(MakeForeground(b.bar));
    ASSERT_TRUE(WaitForFocus(b.keyword));
    Sleep(200);
    TypeText("ab cd");
    ASSERT_TRUE(WaitUntil([&] { return WindowText(b.keyword) == "ab cd"; }, 3000))
        << "typed: \"" << WindowText(b.keyword) << "\", foreground " << GetForegroundWindow()
        << ", bar " << b.bar;
    TypeKey(VK_RETURN);
    // A loaded machine may take seconds to start the stand-in browser.
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 1; }, 15000))
        << "keyword \"" << WindowText(b.keyword) << "\"";
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://s.example/all?q=ab+cd&x=1");
    // Escape does nothing: the bar stays shown and the program runs on.
    TypeKey(VK_ESCAPE);
    PostMessageA(b.bar, WM_COMMAND, IDCANCEL, 0);
    Sleep(300);
    EXPECT_TRUE(Visible(b.bar));
    EXPECT_TRUE(b.proc.Running());
}

TEST(Bar, TypedKeywordChoosesTheEngineAndTheCueNamesIt) {
    RunningBar b;
    ASSERT_TRUE(b.dir.WriteBytes("test.sef.txt", kCompanion));
    ASSERT_TRUE(b.Start(TestIni()));
    ASSERT_TRUE(MakeForeground(b.bar));
    ASSERT_TRUE(WaitForFocus(b.keyword));
    Sleep(200);
    TypeText("W");
    // A keyword alone opens the engine's top page.
    EXPECT_TRUE(WaitUntil([&] { return Cue(b) == "→ Last のトップページを開きます"; }, 3000))
        << Cue(b);
    TypeText(" ");
    TypeUnicode(L"東京");
    ASSERT_TRUE(WaitUntil([&] { return WindowText(b.keyword) == "W 東京"; }, 3000))
        << WindowText(b.keyword);
    EXPECT_TRUE(WaitUntil([&] { return Cue(b) == "→ Last で検索します"; }, 3000)) << Cue(b);
    EXPECT_EQ(ComboSelection(b.engine), 0); // the selection stays the user's
    RECT area = {}, cue = {};
    GetWindowRect(b.bar, &area);
    GetWindowRect(CueWindow(b), &cue);
    UnionRect(&area, &area, &cue);
    Shot("searchbar-keyword", area);
    TypeKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 1; }, 15000));
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://l.example/?q=%93%8C%8B%9E");
    // The cue goes with the keyword.
    SetKeyword(b, "x W");
    EXPECT_TRUE(WaitUntil([&] { return Cue(b).empty(); }, 3000)) << Cue(b);
}

TEST(Bar, SharedKeywordSearchesEveryEngineInItsOwnCode) {
    RunningBar b;
    ASSERT_TRUE(b.dir.WriteBytes("test.sef.txt", kCompanion));
    ASSERT_TRUE(b.Start(TestIni()));
    // As a browser selection arrives, then searched as the selection's auto search does.
    SendKeyword(b.bar, "all 亜");
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionSearch, 0));
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 3; }, 15000));
    std::vector<std::string> urls = b.dir.BrowserUrls(); // the browsers start side by side
    std::sort(urls.begin(), urls.end());
    EXPECT_EQ(urls, (std::vector<std::string>{"http://e.example/?q=%B0%A1",
                                              "http://s.example/all?q=%88%9F&x=1",
                                              "http://u.example/?q=%E4%BA%9C"}));
    // A keyword alone opens the engine's top page.
    SetKeyword(b, "w");
    ASSERT_TRUE(SearchAndWait(b, 4));
    EXPECT_EQ(b.dir.BrowserUrls().back(), "http://l.example/");
}

TEST(Bar, PageKeysStepThroughEnginesWithoutWrappingOrSearching) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("AutoSearch=1\r\n")));
    SetKeyword(b, "abc");
    PostKey(b.keyword, VK_PRIOR); // first engine: nothing
    Sleep(200);
    EXPECT_EQ(ComboSelection(b.engine), 0);
    const struct {
        UINT key;
        int selection;
        bool modeEnabled;
    } steps[] = {
        {VK_NEXT, 1, false}, {VK_NEXT, 2, false}, {VK_NEXT, 3, true},   {VK_NEXT, 4, true},
        {VK_NEXT, 4, true},  {VK_PRIOR, 3, true}, {VK_PRIOR, 2, false},
    };
    for (const auto& s : steps) {
        PostKey(b.keyword, s.key);
        EXPECT_TRUE(WaitUntil([&] { return ComboSelection(b.engine) == s.selection; }, 2000));
        EXPECT_EQ(Enabled(b.mode), s.modeEnabled) << s.selection;
    }
    // The edit control never saw the keys and no search ran.
    EXPECT_EQ(WindowText(b.keyword), "abc");
    Sleep(300);
    EXPECT_TRUE(b.dir.BrowserLog().empty());
}

TEST(Bar, ShiftPageKeysSwitchEngineFilesAtBothEnds) {
    RunningBar b;
    ASSERT_TRUE(b.dir.WriteEngineFile(
        "zz.sef", {MakeEntry("Z0", "http://z.example/?q="), MakeEntry("Z1", "http://z1/")}));
    ASSERT_TRUE(b.Start(TestIni("", "", "[SEFIndex]\r\nzz.sef=1\r\n")));
    // Catalogue: test.sef, zz.sef, 標準.sef.
    ASSERT_TRUE(MakeForeground(b.bar));
    SetFocus(b.keyword);
    TypeKey(VK_PRIOR, true); // first file: nothing
    Sleep(300);
    EXPECT_EQ(ComboText(b.engine, 0), "SJIS");
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, 3));
    TypeKey(VK_NEXT, true);
    ASSERT_TRUE(WaitUntil([&] { return ComboText(b.engine, 0) == "Z0"; }, 3000));
    EXPECT_EQ(ComboSelection(b.engine), 1); // from SEFIndex
    EXPECT_EQ(b.dir.IniInt("SEFIndex", "test.sef"), 3);
    TypeKey(VK_NEXT, true);
    ASSERT_TRUE(WaitUntil([&] { return ComboCount(b.engine) > 5; }, 3000));
    TypeKey(VK_NEXT, true); // last file: nothing
    Sleep(300);
    EXPECT_GT(ComboCount(b.engine), 5);
    TypeKey(VK_PRIOR, true);
    ASSERT_TRUE(WaitUntil([&] { return ComboText(b.engine, 0) == "Z0"; }, 3000));
    EXPECT_EQ(b.dir.IniInt("SEFIndex", "zz.sef"), 1);
}

TEST(Bar, EngineFileSwitchingKeepsSefIndexAndRefusesBadFiles) {
    RunningBar b({true, false, false, false});
    ASSERT_TRUE(
        b.dir.WriteEngineFile("b.sef", {MakeEntry("B0", "http://b/"), MakeEntry("B1", "http://b1/"),
                                        MakeEntry("B2", "http://b2/")}));
    std::string bad = std::string("VANTU_SEFFILE") + '\0';
    bad.resize(200, '\x7F');
    ASSERT_TRUE(b.dir.WriteBytes("c.sef", bad));
    // Catalogue: b.sef (0), c.sef (1, invalid), test.sef (2). A stored index out of range
    // selects entry 0.
    ASSERT_TRUE(b.Start(TestIni("", "", "[SEFIndex]\r\nb.sef=7\r\ntest.sef=-1\r\n")));
    EXPECT_EQ(ComboSelection(b.engine), 0);
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, 2));

    // The current file again: nothing loads, nothing is written.
    Send(b.bar, WM_COMMAND, IDM_ENGINE_FILE_FIRST + 2);
    EXPECT_EQ(b.dir.IniInt("SEFIndex", "test.sef"), -1);

    Send(b.bar, WM_COMMAND, IDM_ENGINE_FILE_FIRST);
    EXPECT_EQ(ComboText(b.engine, 0), "B0");
    EXPECT_EQ(ComboSelection(b.engine), 0); // 7 is out of range
    EXPECT_EQ(b.dir.IniInt("SEFIndex", "test.sef"), 2);

    // The invalid file and an empty slot: the message box, nothing changes.
    for (WPARAM id : {IDM_ENGINE_FILE_FIRST + 1, IDM_ENGINE_FILE_LAST}) {
        SCOPED_TRACE(id);
        Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, 1));
        PostMessageA(b.bar, WM_COMMAND, id, 0);
        HWND box = WaitForMessageBox(b.proc.Pid());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), "指定したデータファイルが不正です。");
        EXPECT_EQ(GetWindow(box, GW_OWNER), b.bar);
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_EQ(ComboText(b.engine, 0), "B0");
        EXPECT_EQ(ComboSelection(b.engine), 1);
        EXPECT_FALSE(b.dir.IniHasKey("SEFIndex", "c.sef"));
        EXPECT_EQ(b.dir.IniInt("SEFIndex", "b.sef"), 7);
    }
    Send(b.bar, WM_COMMAND, IDM_ENGINE_FILE_FIRST + 2);
    EXPECT_EQ(ComboText(b.engine, 0), "SJIS");
    EXPECT_EQ(ComboSelection(b.engine), 2);
    EXPECT_EQ(b.dir.IniInt("SEFIndex", "b.sef"), 1);
}

TEST(Bar, NotSaveIsWritesNoSefIndex) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("NotSaveIS=1\r\n")));
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, 3));
    Send(b.bar, WM_COMMAND, IDM_ENGINE_FILE_FIRST + 1);
    EXPECT_EQ(ComboCount(b.engine), 16);
    ASSERT_TRUE(b.Exit());
    EXPECT_FALSE(b.dir.IniHasKey("SEFIndex", "test.sef"));
    EXPECT_FALSE(b.dir.IniHasKey("SEFIndex", kDefaultSef));
}

TEST(Bar, MinimiseHidesWithTaskEraseAndKeepsTaskbarButtonWithout) {
    for (int taskErase : {1, 0}) {
        SCOPED_TRACE(taskErase);
        RunningBar b;
        ASSERT_TRUE(b.Start(TestIni("", "TaskErase=" + std::to_string(taskErase) + "\r\n")));
        ASSERT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
        PostMessageA(b.bar, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(b.bar) || !Visible(b.bar); }));
        Sleep(300);
        EXPECT_EQ(Visible(b.bar), taskErase == 0);
        // Maximise from outside restores at once.
        if (taskErase == 0) {
            Send(b.bar, WM_SIZE, SIZE_MAXIMIZED);
            EXPECT_TRUE(WaitUntil([&] { return !IsIconic(b.bar); }));
        }
        Send(b.bar, kTrayNotify, 1, WM_LBUTTONDOWN);
        EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar) && !IsIconic(b.bar); }));
    }
}

TEST(Bar, CloseHidesWithNotWinCloseAndExitCommandSavesAll) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("Count=4\r\n", "NotWinClose=1\r\nPosX=33\r\nPosY=44\r\n",
                                "[History]\r\nMax=5\r\nHistoryA=old\r\n")));
    PostMessageA(b.bar, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(b.bar); }));
    Sleep(300);
    EXPECT_TRUE(b.proc.Running());
    EXPECT_FALSE(b.dir.IniHasKey("Window", "TaskErase")); // nothing written yet
    Send(b.bar, kActivate);
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, 4));
    SetKeyword(b, "new word");
    ASSERT_TRUE(SearchAndWait(b, 1));
    DWORD code = 1;
    ASSERT_TRUE(b.Exit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(b.dir.IniInt("Window", "NotWinClose"), 1);
    EXPECT_EQ(b.dir.IniInt("Window", "TaskErase"), 1);
    EXPECT_EQ(b.dir.IniInt("Window", "PosX"), 33);
    EXPECT_EQ(b.dir.IniInt("Window", "PosY"), 44);
    EXPECT_EQ(b.dir.IniInt("Search", "Count"), 5);
    EXPECT_EQ(b.dir.IniString("Search", "DefaultSEF"), "test.sef");
    EXPECT_EQ(b.dir.IniInt("SEFIndex", "test.sef"), 4);
    EXPECT_EQ(b.dir.IniInt("History", "Max"), 5);
    EXPECT_EQ(b.dir.IniString("History", "HistoryA"), "new word");
    EXPECT_EQ(b.dir.IniString("History", "HistoryB"), "old");
}

TEST(Bar, EndOfSessionClosesAndSavesEvenWithNotWinClose) {
    for (UINT msg : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
        SCOPED_TRACE(msg);
        RunningBar b;
        ASSERT_TRUE(b.Start(TestIni("", "NotWinClose=1\r\n")));
        Send(b.bar, msg, msg == WM_ENDSESSION, 0);
        DWORD code = 1;
        ASSERT_TRUE(b.proc.WaitForExit(10000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(b.dir.IniInt("Window", "NotWinClose"), 1);
        EXPECT_EQ(b.dir.IniInt("Search", "Count"), 0);
    }
}

// A settings file that cannot be written at the exit is named in a message, except when the
// session ends: then nothing may wait for the user.
TEST(Bar, UnwritableSettingsFileIsReportedAtExit) {
    for (const bool endOfSession : {false, true}) {
        SCOPED_TRACE(endOfSession);
        RunningBar b;
        ASSERT_TRUE(b.Start(TestIni()));
        // A folder in the file's place: no profile function can write it.
        ASSERT_TRUE(DeleteFileA(b.dir.IniPath().c_str()));
        ASSERT_TRUE(CreateDirectoryA(b.dir.IniPath().c_str(), nullptr));
        if (endOfSession) {
            Send(b.bar, WM_ENDSESSION, TRUE, 0);
        } else {
            PostMessageA(b.bar, WM_COMMAND, IDM_EXIT, 0);
            HWND box = WaitForMessageBox(b.proc.Pid());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(MessageBoxText(box),
                      "設定ファイル「" + b.dir.IniPath() +
                          "」に書き込めませんでした。設定と検索履歴は保存されていません。");
            PressButton(box, IDOK);
        }
        DWORD code = 1;
        ASSERT_TRUE(b.proc.WaitForExit(10000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(FindMessageBox(b.proc.Pid()), nullptr);
        RemoveDirectoryA(b.dir.IniPath().c_str());
    }
}

TEST(Bar, StartsInADirectoryWithTrailByte5C) {
    RunningBar b({true, true, false, true});
    ASSERT_TRUE(b.Start(TestIni()));
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniString("Search", "DefaultSEF"), "test.sef");
}
