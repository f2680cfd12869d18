// The engine file editor: dialog 101 with menu 106, modal, owned by the search bar. It edits
// a working copy of one engine file; nothing reaches the disk until the user saves.
#pragma once
#include <windows.h>

#include "engines/engine_entry.h"
#include "ui/editor_logic.h"

// Runs the editor on the catalogue's current file and returns when it has closed. The
// catalogue may have gained or lost files meanwhile.
void OpenEngineFileEditor(HWND owner);

// The editor's state, kept with its window (DWLP_USER) while it is open.
struct EditorState {
    HWND window = nullptr;
    HWND list = nullptr;
    EditorEntries work = {};
    int currentFile = 0; // catalogue slot of the edited file
    bool modified = false;
    WNDPROC previousListProc = nullptr;
};

// Operations that the entry, definition-file and engine-file commands share.
void SetModified(EditorState& s, bool modified);
void SetEditorTitle(EditorState& s, const char* fileName);
bool OpenFileInEditor(EditorState& s, int catalogueIndex);
void RefillEngineList(EditorState& s);
void RebuildFileMenu(EditorState& s);
// Appends at the end of the entries and of the list, without selecting it; sets the modified
// flag. The caller has checked the limit of 64.
void AppendEntry(EditorState& s, const EngineEntry& entry);
// The selected list item, -1 for none.
int SelectedEntry(const EditorState& s);
void SelectEntry(EditorState& s, int index);
// The catalogue name of the edited file ("" when the slot is empty).
const char* EditorFileName(const EditorState& s);
// A message box with the caption "Morvel", owned by the editor.
int EditorMessage(const EditorState& s, const char* text, UINT flags);

// The limit message for a 65th entry.
extern const char kEntryLimitMessage[];
