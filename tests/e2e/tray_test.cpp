// The tray icon's mouse events and the popup menus, answered by keys as a user would.
#include <gtest/gtest.h>

#include "tests/support/driver.h"

using namespace e2e;

namespace {

HWND OpenTrayMenu(const RunningBar& b) {
    PostMessageA(b.bar, kTrayNotify, 1, WM_RBUTTONUP);
    return WaitForPopupMenu(b.proc.Pid());
}

void CloseMenus(const RunningBar& b) {
    for (int i = 0; i < 3 && FindPopupMenu(b.proc.Pid()); ++i)
        MenuKey(FindPopupMenu(b.proc.Pid()), VK_ESCAPE);
    WaitUntil([&] { return FindPopupMenu(b.proc.Pid()) == nullptr; }, 2000);
}

} // namespace

TEST(Tray, MenuWithoutKeywordHasNoSearchSubmenu) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    HWND menu = OpenTrayMenu(b);
    ASSERT_NE(menu, nullptr);
    Shot("tray-menu-empty");
    // "S" names no item here; "C" opens the engine file list.
    MenuChar(menu, 's');
    EXPECT_EQ(PopupMenuCount(b.proc.Pid()), 1);
    MenuChar(menu, 'c');
    EXPECT_TRUE(WaitUntil([&] { return PopupMenuCount(b.proc.Pid()) == 2; }, 2000));
    Shot("tray-menu-engine-files");
    CloseMenus(b);
    Sleep(300);
    EXPECT_TRUE(b.dir.BrowserLog().empty());
}

TEST(Tray, SearchSubmenuRunsTheChosenEngine) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    SendKeyword(b.bar, "tray word");
    ShowWindow(b.bar, SW_HIDE);
    HWND menu = OpenTrayMenu(b);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(Visible(b.bar)); // a hidden bar stays hidden under its menu
    MenuChar(menu, 's');
    ASSERT_TRUE(WaitUntil([&] { return PopupMenuCount(b.proc.Pid()) == 2; }, 2000));
    Shot("tray-menu-search");
    HWND sub = FindPopupMenu(b.proc.Pid());
    // The first engine is highlighted when the submenu opens from the keyboard.
    MenuKey(sub, VK_DOWN);
    MenuKey(sub, VK_DOWN);
    MenuKey(sub, VK_DOWN);
    MenuKey(sub, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserLog().size() == 1; }));
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://u.example/?q=tray+word");
    EXPECT_EQ(ComboSelection(b.engine), 3);
}

TEST(Tray, HistorySubmenuTakesAnItem) {
    RunningBar b;
    ASSERT_TRUE(
        b.Start(TestIni("", "", "[History]\r\nMax=4\r\nHistoryA=first\r\nHistoryB=second\r\n")));
    HWND menu = OpenTrayMenu(b);
    ASSERT_NE(menu, nullptr);
    MenuChar(menu, 'i');
    ASSERT_TRUE(WaitUntil([&] { return PopupMenuCount(b.proc.Pid()) == 2; }, 2000));
    Shot("tray-menu-history");
    HWND sub = FindPopupMenu(b.proc.Pid());
    MenuKey(sub, VK_DOWN);
    MenuKey(sub, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(b.keyword) == "second"; }));
    EXPECT_EQ(EditSelection(b.keyword), std::make_pair(0, 6));
    Sleep(300);
    EXPECT_TRUE(b.dir.BrowserLog().empty());
}

TEST(Tray, LeftClickRestoresAndExitItemEnds) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    ShowWindow(b.bar, SW_HIDE);
    Send(b.bar, kTrayNotify, 1, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
    // Other mouse events do nothing.
    Sleep(300);
    ShowWindow(b.bar, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(b.bar); }));
    Send(b.bar, kTrayNotify, 1, WM_MOUSEMOVE);
    Send(b.bar, kTrayNotify, 1, WM_LBUTTONDBLCLK);
    Send(b.bar, kTrayNotify, 1, WM_RBUTTONDOWN);
    Sleep(200);
    EXPECT_FALSE(Visible(b.bar));
    EXPECT_EQ(FindPopupMenu(b.proc.Pid()), nullptr);
    HWND menu = OpenTrayMenu(b);
    ASSERT_NE(menu, nullptr);
    MenuChar(menu, 'x');
    DWORD code = 1;
    ASSERT_TRUE(b.proc.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(Tray, ContextMenusOfButtonAndEngineCombo) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    SendKeyword(b.bar, "kw");
    // Keyboard request on the search button: the main menu without "検索(&S)".
    PostMessageA(b.bar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(b.button), -1);
    HWND menu = WaitForPopupMenu(b.proc.Pid());
    ASSERT_NE(menu, nullptr);
    RECT br = {}, mr = {};
    GetWindowRect(b.button, &br);
    GetWindowRect(menu, &mr);
    EXPECT_EQ(mr.left, (br.left + br.right) / 2);
    EXPECT_EQ(mr.top, (br.top + br.bottom) / 2);
    Shot("button-menu");
    MenuChar(menu, 's');
    EXPECT_EQ(PopupMenuCount(b.proc.Pid()), 1);
    CloseMenus(b);
    // The engine combo: the engine file menu; pick the second file.
    PostMessageA(b.bar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(b.engine), -1);
    menu = WaitForPopupMenu(b.proc.Pid());
    ASSERT_NE(menu, nullptr);
    Shot("engine-file-menu");
    MenuKey(menu, VK_DOWN);
    MenuKey(menu, VK_DOWN);
    MenuKey(menu, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ComboCount(b.engine) == 16; }));
    // Any other window: no menu.
    Send(b.bar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(b.mode), -1);
    Sleep(300);
    EXPECT_EQ(FindPopupMenu(b.proc.Pid()), nullptr);
}

// The icon in the desktop's real tray, clicked with the mouse: a left click restores the
// hidden bar, a right click opens the tray menu. The desktop's taskbar draws the icons at
// its right end, the first one last, each in a square of the small icon size and a border.
TEST(Tray, RealTrayIconTakesClicks) {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) GTEST_SKIP() << "no taskbar with a tray on this display";
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    RECT tr = {};
    GetWindowRect(taskbar, &tr);
    const int cell = GetSystemMetrics(SM_CXSMICON) + 4;
    const POINT icon = {tr.right - cell / 2, (tr.top + tr.bottom) / 2};
    auto click = [&](DWORD down, DWORD up) {
        SetCursorPos(icon.x, icon.y);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = down;
        in[1].mi.dwFlags = up;
        SendInput(2, in, sizeof in[0]);
    };
    ShowWindow(b.bar, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(b.bar); }));
    click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
    Sleep(300);
    click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    HWND menu = WaitForPopupMenu(b.proc.Pid());
    ASSERT_NE(menu, nullptr);
    Shot("desktop-tray-menu");
    CloseMenus(b);
}
