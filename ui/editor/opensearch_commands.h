// The editor's OpenSearch commands: import of one description (from the file dialog or a
// drop) and export of the selected entry.
#pragma once
#include "ui/editor/editor_state.h"

ImportResult ImportOpenSearchFile(EditorState& s, const wchar_t* path);
void ImportOpenSearchCommand(EditorState& s);
void ExportOpenSearchCommand(EditorState& s);
