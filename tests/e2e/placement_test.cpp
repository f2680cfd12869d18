// The bar's start position from the settings file, its clamps and the topmost band.
#include <gtest/gtest.h>

#include "tests/support/driver.h"

using namespace e2e;

TEST(Placement, StartPositionIsClampedAndSavedBack) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        int x, y, ex, ey;
    } cases[] = {
        {-280, -19, -280, -19}, {-281, -20, 0, 0},  {cx - 1, cy - 1, cx - 1, cy - 1},
        {cx, cy, 0, 0},         {120, 90, 120, 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        RunningBar b;
        ASSERT_TRUE(b.Start(TestIni("", "PosX=" + std::to_string(c.x) +
                                            "\r\nPosY=" + std::to_string(c.y) + "\r\n")));
        RECT r = {};
        GetWindowRect(b.bar, &r);
        EXPECT_EQ(r.left, c.ex);
        EXPECT_EQ(r.top, c.ey);
        EXPECT_FALSE(GetWindowLongA(b.bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
        ASSERT_TRUE(b.Exit());
        EXPECT_EQ(b.dir.IniInt("Window", "PosX"), c.ex);
        EXPECT_EQ(b.dir.IniInt("Window", "PosY"), c.ey);
    }
}

TEST(Placement, MissingWindowSectionAndTopmost) {
    {
        RunningBar b;
        ASSERT_TRUE(b.Start(std::string("[Search]\r\nDefaultSEF=test.sef\r\n")));
        RECT r = {};
        GetWindowRect(b.bar, &r);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
    }
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "ShowMode=1\r\n")));
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
    EXPECT_TRUE(WaitUntil([&] { return GetWindowLongA(b.bar, GWL_EXSTYLE) & WS_EX_TOPMOST; }));
}

TEST(Placement, ClosingWhileHiddenSavesTheRestoredPosition) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "PosX=50\r\nPosY=60\r\n")));
    SetWindowPos(b.bar, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessageA(b.bar, WM_SYSCOMMAND, SC_MINIMIZE, 0); // TaskErase defaults to 1: hidden
    ASSERT_TRUE(WaitUntil([&] { return !Visible(b.bar); }));
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("Window", "PosX"), 70);
    EXPECT_EQ(b.dir.IniInt("Window", "PosY"), 80);
    EXPECT_EQ(b.dir.IniInt("Window", "TaskErase"), 1);
    EXPECT_EQ(b.dir.IniString("Search", "Browser"), FakeBrowserPath());
}

// The topmost band holds after every start, whatever position the file gives, also after a
// real exit has written the position back.
TEST(Placement, TopmostAfterEveryStart) {
    const char* positions[] = {"", "PosX=0\r\nPosY=0\r\n", "PosX=120\r\nPosY=90\r\n"};
    for (const char* position : positions) {
        RunningBar b;
        ASSERT_TRUE(b.dir.WriteIni(TestIni("", std::string("ShowMode=1\r\n") + position)));
        for (int start = 0; start < 3; ++start) {
            SCOPED_TRACE(testing::Message() << "\"" << position << "\", start " << start);
            ASSERT_TRUE(b.Start(nullptr)); // the second and third on what the exit wrote
            EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
            EXPECT_TRUE(WaitUntil(
                [&] { return (GetWindowLongA(b.bar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
            ASSERT_TRUE(b.Exit());
            EXPECT_EQ(b.dir.IniInt("Window", "ShowMode"), 1);
        }
    }
}
