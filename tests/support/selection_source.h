// selection_source.exe, a program with a selection (tests/helpers), started and ended by a
// test, and the clipboard as tests put known content on it and read it back.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/handles.h"
#include "tests/support/temp_dir.h"

struct ClipboardContent {
    std::u16string text;
    std::string secret; // the bytes of a private registered format
    std::vector<UINT> formats;
    bool operator==(const ClipboardContent& o) const {
        return text == o.text && secret == o.secret && formats == o.formats;
    }
};

// A registered format of the tests' own, and the clipboard opened within 2 s.
UINT PrivateFormat();
bool OpenSoon(ClipboardSession& clipboard, HWND owner);
// Known content: the text and the private format's bytes; false when it could not be put.
bool PutKnownContent(const std::u16string& text, const std::string& secret);
ClipboardContent ReadClipboard();

// selection_source.exe in one of its modes, its window made the foreground; ended when the
// object goes.
class Source {
  public:
    Source() = default;
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source();
    bool Start(const std::string& mode, const std::u16string& text, int start = -2, int end = -2);
    HWND wnd() const { return wnd_; }
    // The Ctrl+C presses the window has seen.
    LRESULT Copies() const;

  private:
    static bool Fail(const char* why);
    TempDir dir_;
    UniqueKernelHandle process_;
    HWND wnd_ = nullptr;
};
