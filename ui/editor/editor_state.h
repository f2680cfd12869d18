// The engine file editor's state, kept with its window (DWLP_USER) while it is open, and the
// operations that the window and its entry, definition-file, OpenSearch and engine-file
// commands share.
#pragma once
#include <windows.h>

#include "engines/engine_entry.h"
#include "platform/app_state.h"
#include "ui/common/front_dialog.h"
#include "ui/common/window_helpers.h"
#include "ui/editor/editor_logic.h"

struct EditorState {
    explicit EditorState(AppState& state) : app(state), front(state.frontDialog) {}

    AppState& app;
    ScopedFrontDialog front;
    HWND window = nullptr;
    HWND list = nullptr;
    EditorEntries work = {};
    int currentFile = 0; // catalogue slot of the edited file
    bool modified = false;
    WindowSubclass listKeys;
};

enum class ImportResult { Added, Full, Rejected };

void SetModified(EditorState& s, bool modified);
void SetEditorTitle(EditorState& s, const char* fileName);
bool OpenFileInEditor(EditorState& s, int catalogueIndex);
void RefillEngineList(EditorState& s);
// Inserts the Name of the working copy's entry `index` as list item `index`.
void InsertEntryName(EditorState& s, int index);
void RebuildFileMenu(EditorState& s);
// Appends at the end of the entries and of the list, without selecting it; sets the modified
// flag. The caller has checked the limit of 64.
void AppendEntry(EditorState& s, const EngineEntry& entry,
                 const EngineExtras& extras = EngineExtras{});
// The selected list item, -1 for none.
int SelectedEntry(const EditorState& s);
void SelectEntry(EditorState& s, int index);
// The catalogue name of the edited file ("" when the slot is empty).
const char* EditorFileName(const EditorState& s);
// A message box with the caption "Morvel", owned by the editor.
int EditorMessage(const EditorState& s, const wchar_t* text, UINT flags);
// True, after the limit message, when the working copy holds 64 entries already.
bool RefuseWhenFull(const EditorState& s);
