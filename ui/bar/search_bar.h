// The search bar: dialog 100, the program's main window and its one message loop. Every
// other window is a modal dialog it opens.
#pragma once
#include <windows.h>

#include "platform/app_state.h"

// Runs the bar modally on the program's state until the real exit, which writes the settings
// and the history back. showState is the start's show command (SW_HIDE keeps the bar hidden
// until something restores it; a minimising one starts it minimised).
void RunSearchBar(AppState& app, int showState);
