// Keywords beyond code page 932: typed as a keyboard or an input method sends them, sent by
// other programs, searched on every kind of engine, kept in the history across a restart.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/driver.h"

using namespace e2e;

namespace {

constexpr int kSjis = 0, kEuc = 1, kNone = 2, kUtf8 = 3;

// Types a keyword into the empty box of the bar in front and presses Enter. The stand-in
// browser of the search before may still take the foreground for a moment: typing that went
// astray is typed again.
void TypeAndSearch(const RunningBar& b, int engine, const std::wstring& keyword) {
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, engine));
    bool typed = false;
    for (int attempt = 0; attempt < 3 && !typed; ++attempt) {
        SetWindowTextW(b.keyword, L"");
        ASSERT_TRUE(MakeForeground(b.bar));
        PostMessageW(b.bar, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(b.keyword), TRUE);
        ASSERT_TRUE(WaitForFocus(b.keyword));
        Sleep(200);
        TypeUnicode(keyword);
        typed = WaitUntil([&] { return WindowTextW(b.keyword) == keyword; }, 2000) &&
                GetForegroundWindow() == b.bar;
    }
    ASSERT_TRUE(typed) << Narrow(WindowTextW(b.keyword));
    TypeKey(VK_RETURN);
}

std::wstring MessageBoxTextW(HWND box) {
    return WindowTextW(GetDlgItem(box, 0xFFFF));
}

} // namespace

TEST(Unicode, TypedKeywordsReachEveryEngineWholeOrAreRefused) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "", "[History]\r\nMax=10\r\n")));

    // The URL as the browser got it (UTF-8 of its wide command line).
    const struct {
        int engine;
        std::wstring typed;
        std::string url;
    } searches[] = {
        {kUtf8, L"\U00020BB7野家", "http://u.example/?q=%F0%A0%AE%B7%E9%87%8E%E5%AE%B6"},
        {kUtf8, L"café　한국어 ", "http://u.example/?q=caf%C3%A9+%ED%95%9C%EA%B5%AD%EC%96%B4"},
        {kSjis, L"①髙 x", "http://s.example/all?q=%87@%FB%FC+x&x=1"}, // the code page's own
        {kNone, L"café \U00020BB7", Utf8(L"http://n.example/or/café/\U00020BB7")},
    };
    size_t urls = 0;
    for (const auto& s : searches) {
        TypeAndSearch(b, s.engine, s.typed);
        // A loaded machine may take seconds to start the stand-in browser.
        ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLogUtf8().size() == urls + 1; }, 15000))
            << s.url;
        ++urls;
        EXPECT_NE(b.dir.BrowserLogUtf8().back().find(s.url), std::string::npos)
            << b.dir.BrowserLogUtf8().back();
    }

    // A character the engine's code cannot say: no search, and the user is told which.
    const struct {
        int engine;
        std::wstring typed;
        std::wstring message;
    } refusals[] = {
        {kSjis, L"\U00020BB7野家",
         L"「\U00020BB7」は Shift-JIS で表せないため、この検索エンジンでは検索できません。"},
        {kEuc, L"café", L"「é」は EUC-JP で表せないため、この検索エンジンでは検索できません。"},
    };
    for (const auto& r : refusals) {
        TypeAndSearch(b, r.engine, r.typed);
        HWND box = WaitForMessageBox(b.proc.Pid());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxTextW(box), r.message);
        if (r.engine == kSjis) Shot("unicode-refused", box);
        PressButton(box, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    Sleep(300);
    EXPECT_EQ(b.dir.BrowserLogUtf8().size(), urls);

    SetWindowTextW(b.keyword, L"\U00020BB7野家 한국어 café");
    Shot("unicode-keyword", b.bar);
    ASSERT_TRUE(b.Exit());

    // Stored so that the file stays Shift-JIS text and an older reader sees no gap.
    // "café 𠮷" with "?" for each character that Shift-JIS cannot say, never "e" for "é".
    EXPECT_EQ(b.dir.IniString("History", "HistoryA"), "caf? ?");
    EXPECT_TRUE(b.dir.IniHasKey("History", "HistoryAU"));
    EXPECT_EQ(b.dir.IniString("History", "HistoryB"), Narrow(L"①髙 x"));
    EXPECT_FALSE(b.dir.IniHasKey("History", "HistoryBU"));

    // After a restart the history gives back exactly what was searched.
    ASSERT_TRUE(b.Launch());
    const struct {
        int item;
        std::wstring keyword;
    } history[] = {
        {0, L"café \U00020BB7"},
        {1, L"①髙 x"},
        {2, L"café 한국어"},
        {3, L"\U00020BB7野家"},
    };
    for (const auto& h : history) {
        Send(b.bar, WM_COMMAND, IDM_HISTORY_FIRST + h.item);
        EXPECT_EQ(WindowTextW(b.keyword), h.keyword) << h.item;
    }
}

// The kinds of WM_COPYDATA reach the box (the edge cases of the reading are tested natively).
TEST(Unicode, OtherProgramsSendUtf16OrShiftJis) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    const auto utf16 = [](const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    };
    const struct {
        std::string data;
        ULONG_PTR kind;
        std::wstring keyword;
    } cases[] = {
        {utf16(L"\U00020BB7野家 café"), bar_protocol::kCopyDataUtf16, L"\U00020BB7野家 café"},
        {utf16(L"한국어") + "x", bar_protocol::kCopyDataUtf16, L"한국어"}, // odd byte left out
        {utf16(std::wstring(200, L'あ')), bar_protocol::kCopyDataUtf16, std::wstring(59, L'あ')},
        {"検索 abc" + std::string(1, '\0'), bar_protocol::kCopyDataShiftJis, L"検索 abc"},
    };
    for (const auto& c : cases) {
        SendCopyData(b.bar, c.data.data(), static_cast<DWORD>(c.data.size()), c.kind);
        EXPECT_EQ(WindowTextW(b.keyword), c.keyword);
        EXPECT_EQ(EditSelection(b.keyword), std::make_pair(0, static_cast<int>(c.keyword.size())));
    }
}
