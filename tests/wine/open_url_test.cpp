// Opening URLs with a recording stand-in browser, and the failure message.
#include "platform/open_url.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "platform/app_state.h"
#include "platform/handles.h"
#include "platform/settings_file.h"
#include "tests/support/text.h"
#include "tests/support//box_answerer.h"
#include "tests/support/browser_log.h"

namespace {

class OpenUrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramDirectory(app.paths, Widen(dir.path()).c_str());
        app.settings = Settings();
    }
    void TearDown() override { app.settings = Settings(); }
    TempDir dir;
    AppState app;
};

TEST_F(OpenUrlTest, TheBrowserGetsTheUrlAsOneArgument) {
    BrowserLog log(dir, app.settings);
    struct Case {
        std::string url, parameters, argument;
    } cases[] = {
        {"http://x/?q=a+b", "http://x/?q=a+b", "http://x/?q=a+b"},
        {"http://x/?q=a b", "\"http://x/?q=a b\"", "http://x/?q=a b"},
        // A keyword cannot smuggle switches to the browser.
        {"http://x/?q=\" --kiosk \"", "\"http://x/?q=%22 --kiosk %22\"",
         "http://x/?q=%22 --kiosk %22"},
        {"file:///C:\\my dir\\", "\"file:///C:\\my dir\\\\\"", "file:///C:\\my dir\\"},
    };
    size_t n = 0;
    for (const Case& c : cases) {
        EXPECT_TRUE(OpenUrl(c.url.c_str(), app.settings.Browser, nullptr)) << c.url;
        const std::vector<std::string> lines = log.WaitForLines(++n);
        ASSERT_EQ(lines.size(), n) << c.url;
        const std::string& line = lines.back();
        // The parameter string follows the program name exactly.
        ASSERT_GE(line.size(), c.parameters.size());
        EXPECT_EQ(line.substr(line.size() - c.parameters.size()), c.parameters) << line;
        const std::vector<std::string> args = SplitArguments(line);
        ASSERT_EQ(args.size(), 2u) << line;
        EXPECT_EQ(args[1], c.argument);
    }
}

TEST_F(OpenUrlTest, MissingBrowserShowsTheMessage) {
    CopyToField(app.settings.Browser, dir / "no-such-browser.exe");
    UniqueWindow bar(CreateWindowExA(0, "STATIC", "bar", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                     nullptr, nullptr));
    BoxAnswerer boxes;
    EXPECT_FALSE(OpenUrl("http://x/?q=a", app.settings.Browser, bar.get()));
    const std::vector<BoxAnswerer::Box> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "URLのオープンに失敗しました");
    EXPECT_EQ(seen[0].owner, bar.get());
    EXPECT_STREQ(app.settings.Browser, (dir / "no-such-browser.exe").c_str()); // unchanged
}

TEST_F(OpenUrlTest, UnassociatedUrlShowsTheMessage) {
    BoxAnswerer boxes;
    EXPECT_FALSE(OpenUrl("morvel-no-such-scheme://x/?q=a", app.settings.Browser, nullptr));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"URLのオープンに失敗しました"});
}

} // namespace
