// The search bar: dialog 100, the program's main window.
#pragma once
#include <windows.h>

INT_PTR CALLBACK SearchBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Fills the engine combo with the active set and selects index (0 when out of range).
void FillEngineCombo(int index);
