// The engine file editor: dialog 101 with menu 106, modal, owned by the search bar. It edits
// a working copy of one engine file; nothing reaches the disk until the user saves.
#pragma once
#include <windows.h>

#include "platform/app_state.h"

// Runs the editor on the catalogue's current file and returns when it has closed. The
// catalogue may have gained or lost files meanwhile and engine files may have been written:
// the caller reloads its engine file by name.
void RunEngineFileEditor(HWND owner, AppState& app);
