// The engine entry dialog: dialog 105, modal, owned by the editor.
#pragma once
#include <windows.h>

#include "engines/engine_entry.h"
#include "platform/app_state.h"

// The file's entries as the dialog sees them: their keywords, and which of them is being
// edited (-1 for a new entry).
struct EntryNeighbours {
    const EngineExtras* extras;
    int count;
    int self;
};

// Runs the dialog on the entry and its extras (its keyword). Confirmed (true): both have been
// overwritten by the result. Cancelled (false): they are unchanged. Either way the editor is
// the open dialog again afterwards.
bool EditEngineEntry(HWND editor, AppState& app, EngineEntry& entry, EngineExtras& extras,
                     const EntryNeighbours& neighbours);
