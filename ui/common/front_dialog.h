// The program's modal dialog in front of the search bar (AppState::frontDialog). Every modal
// dialog makes itself the front one while it is open; activation requests from the tray and
// from other processes go to it instead of the bar.
#pragma once
#include <windows.h>

// Makes a dialog the front one for as long as the guard lives, then restores the one before
// (none, or the dialog that opened it). A modal dialog's window is known only once it exists:
// the guard is made around the modal loop and the dialog names itself with Set.
class ScopedFrontDialog {
  public:
    explicit ScopedFrontDialog(HWND& front) : front_(front), previous_(front) {}
    ScopedFrontDialog(const ScopedFrontDialog&) = delete;
    ScopedFrontDialog& operator=(const ScopedFrontDialog&) = delete;
    ~ScopedFrontDialog() { front_ = previous_; }

    void Set(HWND dialog) { front_ = dialog; }

  private:
    HWND& front_;
    HWND previous_;
};
