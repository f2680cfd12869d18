// Helpers every window uses: a subclass owned by its installer, redrawing suspended for a
// batch of list changes, the window's state object, the help file and the program's message
// box.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string_view>

#include "base/wide_text.h"

// A window subclass (SetWindowSubclass) removed when the owner goes. The subclass procedure
// passes WM_NCDESTROY on: the system removes the entry with the window, and removing it again
// afterwards does nothing.
class WindowSubclass {
  public:
    WindowSubclass() = default;
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    ~WindowSubclass() { Remove(); }

    bool Install(HWND wnd, SUBCLASSPROC proc, DWORD_PTR data) {
        Remove();
        if (!SetWindowSubclass(wnd, proc, kId, data)) return false;
        wnd_ = wnd;
        proc_ = proc;
        return true;
    }
    void Remove() {
        if (wnd_) RemoveWindowSubclass(wnd_, proc_, kId);
        wnd_ = nullptr;
    }

  private:
    static constexpr UINT_PTR kId = 1;
    HWND wnd_ = nullptr;
    SUBCLASSPROC proc_ = nullptr;
};

// Redrawing of a control suspended while the guard lives, then one repaint of all of it.
class ScopedRedrawOff {
  public:
    explicit ScopedRedrawOff(HWND control) : control_(control) {
        SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
    }
    ScopedRedrawOff(const ScopedRedrawOff&) = delete;
    ScopedRedrawOff& operator=(const ScopedRedrawOff&) = delete;
    ~ScopedRedrawOff() {
        SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control_, nullptr, TRUE);
    }

  private:
    HWND control_;
};

// A window's state object, kept with the window in DWLP_USER: bound at WM_INITDIALOG to what
// lParam points at (the object handed to DialogBoxParam, or a page's PROPSHEETPAGE lParam),
// read back at every later message; nullptr for the messages that come before.
template <typename State> State* BoundState(HWND dlg, UINT msg, LPARAM initParam) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrW(dlg, DWLP_USER, initParam);
    return reinterpret_cast<State*>(GetWindowLongPtrW(dlg, DWLP_USER));
}

// A message box with the program's caption "Morvel".
int ShowMessage(HWND owner, const wchar_t* text, UINT flags);
// A message's text: what the program says, with names and paths put in.
using MessageText = WinText<MAX_PATH + 512>;
// The help file at a context number (HELP_CONTEXT), its contents (HELP_FINDER) or closed
// (HELP_QUIT).
void ShowHelp(HWND owner, const wchar_t* helpPath, UINT command, DWORD data = 0);

// Text of Morvel's own formats (Shift-JIS: engine names, engine file names) shown in a window
// or a dialog item, and read back from one.
void SetSjisText(HWND wnd, std::string_view sjis);
void SetItemSjis(HWND dlg, int id, std::string_view sjis);
// The item's text in Shift-JIS into out (size bytes, terminated): true when Shift-JIS says
// all of it; otherwise what it cannot say is "?".
bool ItemSjis(HWND dlg, int id, char* out, size_t size);
