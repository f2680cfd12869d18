// The editor's commands on whole engine files: save, switch, new file, delete file, and the
// prompt that protects unsaved changes.
#pragma once
#include "ui/editor/editor_state.h"

// Writes the working copy to the named file in the program directory; shows the save
// message and returns false when it could not be written.
bool SaveEngineFile(EditorState& s, const char* fileName);
// The save prompt: true to proceed, false to cancel. Yes saves; a failed save cancels, so
// that the changes are never dropped without the user's word.
bool ConfirmSaveChanges(EditorState& s);

void SaveEngineFileCommand(EditorState& s);
void SwitchEngineFileCommand(EditorState& s, int n);
void NewEngineFileCommand(EditorState& s);
void DeleteEngineFileCommand(EditorState& s);
