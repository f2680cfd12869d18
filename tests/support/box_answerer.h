// The message boxes of the code under test in this process, answered from a second thread
// while that code runs on the test's thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "protocol/bar_protocol.h"

// Presses OK on every shown box of this process with the title, keeping what each said.
class BoxAnswerer {
  public:
    struct Box {
        std::string text;
        std::u16string wideText;
        HWND owner;
    };
    explicit BoxAnswerer(const char* title = MORVEL_TITLE);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    // Stops answering and gives the boxes answered, in order.
    std::vector<Box> Boxes();
    // Their texts.
    std::vector<std::string> Texts();

  private:
    void Run();
    std::string title_;
    std::atomic<bool> stop_{false};
    std::vector<Box> boxes_;
    std::thread thread_;
};
