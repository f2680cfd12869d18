// The about box: contents, activation while open, Escape ignored, OK closing it.
#include <gtest/gtest.h>

#include "morvel_version.h"
#include "tests/support/driver.h"

using namespace e2e;

TEST(About, OpensFromCommandAndClosesOnlyWithOk) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    ShowWindow(b.bar, SW_HIDE);
    PostMessageA(b.bar, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = b.FindDialogWith(IDC_ABOUT_OK)) != nullptr; }));
    EXPECT_TRUE(Visible(b.bar)); // restored before the box opens
    EXPECT_EQ(GetWindow(about, GW_OWNER), b.bar);
    EXPECT_EQ(ItemText(about, IDC_ABOUT_NAME), "Morvel");
    EXPECT_EQ(ItemText(about, IDC_ABOUT_VERSION), MORVEL_VERSION_TEXT);
    EXPECT_EQ(ItemText(about, IDC_ABOUT_LINK), "https://morvel.jp/");
    EXPECT_EQ(ItemText(about, IDC_ABOUT_DATA), "データの保存先: " + b.dir.Path());
    EXPECT_EQ(ItemText(about, IDC_ABOUT_OK), "OK");
    EXPECT_NE(Send(GetDlgItem(about, IDC_ABOUT_ICON), STM_GETICON), 0);
    EXPECT_FALSE(GetWindowLongA(about, GWL_STYLE) & WS_CAPTION & ~WS_BORDER);
    Shot("about", about);

    // Activation requests go to the about box while it is open.
    SetForegroundWindow(b.bar);
    Send(b.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }));
    Send(b.bar, kTrayNotify, 1, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }));
    // A right click on the tray icon shows no menu while the box is open.
    PostMessageA(b.bar, kTrayNotify, 1, WM_RBUTTONUP);
    Sleep(500);
    EXPECT_EQ(FindPopupMenu(b.proc.Pid()), nullptr);

    // Escape and IDCANCEL leave it open.
    ASSERT_TRUE(MakeForeground(about));
    TypeKey(VK_ESCAPE);
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    Sleep(400);
    EXPECT_TRUE(IsWindow(about));

    // A click on the link opens the home page and leaves the box open (the stand-in
    // browser is not the association here, so only the box is checked).
    PressButton(about, IDC_ABOUT_OK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    // The open dialog is none again: activation goes to the bar.
    ShowWindow(b.bar, SW_HIDE);
    Send(b.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
}

TEST(About, EnterClosesIt) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    PostMessageA(b.bar, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = b.FindDialogWith(IDC_ABOUT_OK)) != nullptr; }));
    ASSERT_TRUE(MakeForeground(about));
    TypeKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
}
