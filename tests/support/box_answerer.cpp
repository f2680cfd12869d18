#include "tests/support/box_answerer.h"

BoxAnswerer::BoxAnswerer(const char* title) : title_(title), thread_([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<BoxAnswerer::Box> BoxAnswerer::Boxes() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return boxes_;
}

std::vector<std::string> BoxAnswerer::Texts() {
    std::vector<std::string> texts;
    for (const Box& b : Boxes())
        texts.push_back(b.text);
    return texts;
}

void BoxAnswerer::Run() {
    while (!stop_) {
        // FindWindowEx reads no text through the windows: a window of the test's thread would
        // answer only when that thread takes messages.
        HWND box = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", title_.c_str()); w && !box;
             w = FindWindowExA(nullptr, w, "#32770", title_.c_str())) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(w)) box = w;
        }
        if (box) {
            char text[256] = {};
            wchar_t wide[256] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            GetDlgItemTextW(box, 0xFFFF, wide, 256);
            boxes_.push_back(
                {text, reinterpret_cast<const char16_t*>(wide), GetWindow(box, GW_OWNER)});
            SendMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box))
                Sleep(10);
        }
        Sleep(20);
    }
}
