// The program's modal dialog that is open in front of the search bar, if any. Every modal
// dialog sets it to its own window when it opens and back (to none, or to the window that
// opened it) when it closes; activation requests from the tray and from other processes
// go to it instead of the search bar.
#pragma once
#include <windows.h>

HWND OpenDialog();
void SetOpenDialog(HWND dialog);

// Restores the open dialog, else the search bar, and makes it the foreground window.
void ActivateFront();
