// Opening URLs with a recording stand-in browser, and the failure message.
#include "platform/open_url.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/text.h"
#include "open_url_test.h"
#include "platform/app_state.h"
#include "platform/handles.h"
#include "platform/settings_file.h"
#include "protocol/bar_protocol.h"
#include "wine_support.h"

std::string FakeBrowserPath() {
    std::string dir = MORVEL_HELPER_DIR;
    for (char& c : dir)
        if (c == '/') c = '\\';
    return dir + "\\fake_browser.exe";
}

BrowserLog::BrowserLog(const TempDir& dir, Settings& settings)
    : settings_(settings), path_(dir / "browser.log") {
    SetEnvironmentVariableA("MORVEL_BROWSER_LOG", path_.c_str());
    CopyToField(settings_.Browser, FakeBrowserPath());
}

BrowserLog::~BrowserLog() {
    SetEnvironmentVariableA("MORVEL_BROWSER_LOG", nullptr);
    settings_.Browser[0] = '\0';
}

std::vector<std::string> BrowserLog::Lines() {
    std::vector<std::string> lines;
    const std::string text = ReadFileText(path_);
    for (size_t pos = 0;;) {
        const size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::vector<std::string> BrowserLog::WaitForLines(size_t count) {
    std::vector<std::string> lines;
    for (int tries = 0; tries < 300; ++tries) {
        lines = Lines();
        if (lines.size() >= count) break;
        Sleep(50);
    }
    return lines;
}

namespace {

struct LocalFreer {
    void operator()(void* p) const { LocalFree(p); }
};

std::string Narrow(const wchar_t* w) {
    char buf[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

} // namespace

std::vector<std::string> SplitArguments(const std::string& commandLine) {
    std::vector<wchar_t> wide(commandLine.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, commandLine.c_str(), -1, wide.data(),
                        static_cast<int>(wide.size()));
    int argc = 0;
    std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(wide.data(), &argc));
    std::vector<std::string> args;
    for (int i = 0; argv && i < argc; ++i)
        args.push_back(Narrow(argv.get()[i]));
    return args;
}

MessageBoxWatcher::MessageBoxWatcher() {
    thread_ = std::thread([this] {
        for (int tries = 0; tries < 400 && !stop_; ++tries) {
            HWND box = FindWindowA("#32770", MORVEL_TITLE);
            if (box) {
                owner_ = GetWindow(box, GW_OWNER);
                EnumChildWindows(
                    box,
                    [](HWND child, LPARAM self) -> BOOL {
                        char cls[32] = {}, text[256] = {};
                        wchar_t wide[256] = {};
                        GetClassNameA(child, cls, sizeof cls);
                        GetWindowTextA(child, text, sizeof text);
                        GetWindowTextW(child, wide, 256);
                        if (lstrcmpiA(cls, "Static") == 0 && text[0] != '\0') {
                            auto* watcher = reinterpret_cast<MessageBoxWatcher*>(self);
                            watcher->text_ = text;
                            watcher->wideText_ = reinterpret_cast<const char16_t*>(wide);
                        }
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(this));
                ++seen_;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                // Wait until this box has gone before looking for another.
                for (int i = 0; i < 100 && IsWindow(box); ++i)
                    Sleep(20);
                return;
            }
            Sleep(25);
        }
    });
}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void MessageBoxWatcher::Join() {
    if (thread_.joinable()) thread_.join();
}

namespace {

class OpenUrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramDirectory(app.paths, dir.path().c_str());
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
    MessageBoxWatcher watcher;
    EXPECT_FALSE(OpenUrl("http://x/?q=a", app.settings.Browser, bar.get()));
    watcher.Join();
    EXPECT_EQ(watcher.seen(), 1);
    EXPECT_EQ(watcher.text(), "URLのオープンに失敗しました");
    EXPECT_EQ(watcher.owner(), bar.get());
    EXPECT_STREQ(app.settings.Browser, (dir / "no-such-browser.exe").c_str()); // unchanged
}

TEST_F(OpenUrlTest, UnassociatedUrlShowsTheMessage) {
    MessageBoxWatcher watcher;
    EXPECT_FALSE(OpenUrl("morvel-no-such-scheme://x/?q=a", app.settings.Browser, nullptr));
    watcher.Join();
    EXPECT_EQ(watcher.seen(), 1);
    EXPECT_EQ(watcher.text(), "URLのオープンに失敗しました");
}

} // namespace
