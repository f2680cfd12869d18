#include "tests/support/browser_log.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

#include "base/text.h"
#include "tests/support/file_text.h"
#include "tests/support/paths.h"
#include "tests/support/text.h"

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

std::vector<std::string> SplitArguments(const std::string& commandLine) {
    struct LocalFreer {
        void operator()(void* p) const { LocalFree(p); }
    };
    const std::wstring wide = Widen(commandLine);
    int argc = 0;
    std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(wide.c_str(), &argc));
    std::vector<std::string> args;
    for (int i = 0; argv && i < argc; ++i)
        args.push_back(Narrow(argv.get()[i]));
    return args;
}
