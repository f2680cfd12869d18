// Suggestions while typing, driven from outside with real key presses; a server of the test's
// own on 127.0.0.1 stands in for the engine's suggestion service.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/driver.h"
#include "tests/support/http_server.h"

using namespace e2e;

namespace {

// test.sef's first entry (Shift-JIS) asks the server; the companion names its URL.
bool WriteCompanion(const RunningBar& b, const HttpServer& server) {
    return b.dir.WriteBytes("test.sef.txt", "[1]\r\nname=SJIS\r\nsuggest=" +
                                                Narrow(server.Url(L"/s?q={searchTerms}")) + "\r\n");
}

bool StartTyping(RunningBar& b, const std::string& search) {
    return b.Start(TestIni(search, "", "[History]\r\nMax=10\r\nHistoryA=東北大学\r\n")) &&
           MakeForeground(b.bar) && WaitForFocus(b.keyword);
}

// The drop-down: a list owned by the bar, while shown.
HWND DropDown(const RunningBar& b) {
    for (HWND w : TopWindows(b.proc.Pid(), "ListBox", nullptr))
        if (GetWindow(w, GW_OWNER) == b.bar && IsWindowVisible(w)) return w;
    return nullptr;
}

std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    for (int i = 0; i < ListCount(list); ++i)
        rows.push_back(ListText(list, i));
    return rows;
}

} // namespace

TEST(Suggestions, TypedTextGetsSuggestionsBelowTheHistoryAndArrowKeysPickOne) {
    HttpServer server;
    ASSERT_TRUE(server.Listening());
    server.Answer(Utf8(L"[\"東\",[\"東京\",\"東北\",\"東京タワー\"],[],[]]"));
    RunningBar b;
    ASSERT_TRUE(WriteCompanion(b, server));
    ASSERT_TRUE(StartTyping(b, "AutoComplete=1\r\nSuggest=1\r\n"));
    Sleep(200);
    TypeUnicode(L"東");
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (list = DropDown(b)) && ListCount(list) == 5; }, 5000));
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"東北大学", "── 検索候補 ──", "　東京",
                                                    "　東北", "　東京タワー"}));
    ASSERT_EQ(server.RequestLines().size(), 1u);
    EXPECT_EQ(server.RequestLines()[0], "GET /s?q=%93%8C HTTP/1.1"); // in the engine's code
    RECT area = {}, dropped = {};
    GetWindowRect(b.bar, &area);
    GetWindowRect(list, &dropped);
    UnionRect(&area, &area, &dropped);
    Shot("suggestions", area);
    // Down past the history row and the header: the suggestion goes into the box, and Enter
    // searches what the box shows.
    TypeKey(VK_DOWN);
    TypeKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(b.keyword) == "東京"; }, 2000))
        << WindowText(b.keyword);
    TypeKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 1; }, 15000));
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://s.example/all?q=%93%8C%8B%9E&x=1");
    EXPECT_EQ(DropDown(b), nullptr);
}

TEST(Suggestions, AStallingServerNeverHoldsTheBar) {
    HttpServer server;
    ASSERT_TRUE(server.Listening());
    server.Stall(5000);
    RunningBar b;
    ASSERT_TRUE(WriteCompanion(b, server));
    ASSERT_TRUE(StartTyping(b, "Suggest=1\r\n"));
    Sleep(200);
    TypeText("a");
    ASSERT_TRUE(WaitUntil([&] { return server.RequestLines().size() == 1; }, 3000));
    // While the request hangs, the bar answers a sent message at once (the median of ten).
    std::vector<ULONGLONG> answers;
    for (int i = 0; i < 10; ++i) {
        const ULONGLONG start = GetTickCount64();
        ASSERT_NE(Send(b.bar, WM_NULL), kNoAnswer);
        answers.push_back(GetTickCount64() - start);
    }
    std::sort(answers.begin(), answers.end());
    EXPECT_LT(answers[5], 50u);
    TypeText("b");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(b.keyword) == "ab"; }, 2000));
    // The exit drops the request instead of waiting for it.
    const ULONGLONG start = GetTickCount64();
    DWORD code = 1;
    ASSERT_TRUE(b.Exit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_LT(GetTickCount64() - start, 2500u);
}

TEST(Suggestions, UntickedSendsNothing) {
    HttpServer server;
    ASSERT_TRUE(server.Listening());
    RunningBar b;
    ASSERT_TRUE(WriteCompanion(b, server));
    ASSERT_TRUE(StartTyping(b, "AutoComplete=1\r\n"));
    Sleep(200);
    TypeText("abc");
    Sleep(600);
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_EQ(DropDown(b), nullptr);
}
