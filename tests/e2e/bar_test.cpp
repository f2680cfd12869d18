// The search bar driven from outside: start, controls, commands and the real exit.
#include <gtest/gtest.h>

#include "tests/e2e/support.h"

using namespace e2e;

TEST(Bar, StartsShownAndEndsWithExitCommand) {
    ProgramDir dir;
    Process p;
    ASSERT_TRUE(p.Start(dir));
    HWND bar = p.WaitForBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Visible(bar); }));
    PostMessageA(bar, WM_COMMAND, 40001, 0);
    DWORD code = 1;
    ASSERT_TRUE(p.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}
