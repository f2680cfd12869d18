// The recording stand-in browser for the in-process tests: its log, and the arguments of
// each command line it got.
#pragma once
#include <string>
#include <vector>

#include "base/settings.h"
#include "tests/support/temp_dir.h"

// Points Browser at the stand-in browser and its log into dir; undone at the end.
class BrowserLog {
  public:
    // Makes the recording stand-in the browser of these settings while the log lives.
    BrowserLog(const TempDir& dir, Settings& settings);
    ~BrowserLog();
    // The command lines logged so far, waiting up to 15 s until there are count of them.
    std::vector<std::string> WaitForLines(size_t count);
    // The command lines logged so far, without waiting.
    std::vector<std::string> Lines();

  private:
    Settings& settings_;
    std::string path_;
};

// The arguments of a command line as the C runtime of a browser would see them.
std::vector<std::string> SplitArguments(const std::string& commandLine);
