// Around the search bar: the tray icon, the popup menus, the system menu, the tooltips and
// the commands that open the settings sheet and the engine file editor.
#pragma once
#include <windows.h>

// Adds (present) or deletes the tray icon; the result is not looked at.
void SetTrayIcon(HWND bar, bool present);
// Tray mouse events (WM_APP_TRAYNOTIFY); returns whether the event was handled.
BOOL HandleTrayNotify(HWND bar, LPARAM mouseMessage);

// WM_CONTEXTMENU: the main popup menu for the search button, the engine file menu for the
// engine combo. Returns whether a menu was shown.
BOOL HandleContextMenu(HWND bar, HWND control, LPARAM position);

// Removes maximise and size from the system menu and puts "設定(&S)" first.
void ChangeSystemMenu(HWND bar);
// The four tooltips of the search bar's controls.
void CreateTooltips(HWND bar);

// Command 40004 and command 40005.
void RunSettingsCommand(HWND bar);
void RunEditorCommand(HWND bar);
