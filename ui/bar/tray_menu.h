// Around the search bar: the tray icon, the popup menus, the system menu and the tooltips.
#pragma once
#include <windows.h>

#include "ui/bar/bar_state.h"

// Adds (present) or deletes the tray icon; the result is not looked at.
void SetTrayIcon(const SearchBar& bar, bool present);
// Tray mouse events (WM_APP_TRAYNOTIFY); returns whether the event was handled.
BOOL HandleTrayNotify(SearchBar& bar, LPARAM mouseMessage);

// WM_CONTEXTMENU: the main popup menu for the search button, the engine file menu for the
// engine combo. Returns whether a menu was shown.
BOOL HandleContextMenu(SearchBar& bar, HWND control, LPARAM position);

// Removes maximise and size from the system menu and puts "設定(&S)" first.
void ChangeSystemMenu(HWND bar);
// The tooltips of the search bar's four controls, all in one tip window.
void CreateTooltips(const SearchBar& bar);

// Appends the history items (40200 + n) or the disabled "(なし)" item to menu.
HMENU AppendHistoryMenuItems(HMENU menu, const SearchHistory& history, int max);
