// The file-name dialog: dialog 109, modal, owned by the editor; asks for a new engine file's
// name.
#pragma once
#include <windows.h>

#include <cstddef>

#include "platform/app_state.h"

// Confirmed (true): fileName holds the typed name followed by ".sef". Cancelled: false.
// Either way the editor is the open dialog again afterwards.
bool AskEngineFileName(HWND editor, AppState& app, char* fileName, size_t fileNameSize);
