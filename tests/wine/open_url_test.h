// Test support shared by the URL-opening and search tests: the stand-in browser's log and a
// watcher that reads and dismisses the program's message box.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/settings.h"
#include "wine_support.h"

std::string FakeBrowserPath();

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

// Watches for one "Morvel" message box from a second thread, reads it and presses OK.
class MessageBoxWatcher {
  public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    void Join();
    int seen() const { return seen_; }
    const std::string& text() const { return text_; }
    const std::u16string& wideText() const { return wideText_; }
    HWND owner() const { return owner_; }

  private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::string text_;
    std::u16string wideText_;
    HWND owner_ = nullptr;
};
