// The search bar: dialog 100, the program's main window.
#pragma once
#include <windows.h>

#include <cstdint>

INT_PTR CALLBACK SearchBarProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The search bar's window (nullptr before set-up and after it has closed).
HWND SearchBarWindow();
// The small (16x16) program icon, also the tray icon.
HICON SearchBarSmallIcon();

// Fills the engine combo with the active set and selects index (0 when out of range),
// then applies the mode availability rule to it.
void FillEngineCombo(int index);
// Enables the mode combo exactly when entry `index` offers the any-word URL.
void ApplyModeRule(int index);
// Makes catalogue slot n the current engine file (message box when it does not load).
void SwitchEngineFile(int n);
// Restores the search bar (SW_RESTORE); also ends a hidden start.
void RestoreSearchBar();
// Sets whether the close button only hides the search bar.
void SetHideOnClose(bool hide);
// Registers the summon key (the hotkey control's value; 0 for none) for the search bar,
// replacing the one held. False when the key cannot be registered (another program holds
// it); the key held before then stays in force.
bool SetSummonHotKey(uint16_t value);
// Turns the history drop-down of the keyword box on or off as the settings say.
void UpdateHistoryCompletion();
