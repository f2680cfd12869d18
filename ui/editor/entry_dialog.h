// The engine entry dialog: dialog 105, modal, owned by the editor.
#pragma once
#include <windows.h>

#include "engines/engine_entry.h"
#include "platform/app_state.h"

// Runs the dialog on the entry. Confirmed (true): the entry has been overwritten by the
// result. Cancelled (false): the entry is unchanged. Either way the editor is the open
// dialog again afterwards.
bool EditEngineEntry(HWND editor, AppState& app, EngineEntry& entry);
