// Definition files (".sed"): one engine entry in profile (INI) form, imported into the
// editor's entries and exported from them.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "ui/editor/editor_state.h"

// Reads one definition file and appends its entry; a rejected file has been reported.
ImportResult ImportDefinitionFile(EditorState& s, const wchar_t* path);
// The import command: the open dialog, one or several files.
void ImportDefinitionFiles(EditorState& s);
// Files dropped on the engine list; the drop is released here.
void ImportDroppedFiles(EditorState& s, HDROP drop);
// The export command for the selected entry.
void ExportDefinitionFile(EditorState& s);
