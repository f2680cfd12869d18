// The common file dialogs, loaded when first used: the library (and the printing libraries it
// brings along) stays out of the program's start.
#pragma once
#include <windows.h>

#include <commdlg.h>

BOOL ShowOpenFileDialog(OPENFILENAMEW* ofn);
BOOL ShowSaveFileDialog(OPENFILENAMEW* ofn);
// The last dialog's extended error (0 when the library could not be loaded).
DWORD FileDialogError();

// The open dialog for existing files: path (size units) holds the suggested name and gets the
// chosen one, always terminated; with `multiple` it may get a folder and names instead, each
// terminated and the list ending in two NULs. False when cancelled (FileDialogError tells
// why when it was not the user).
bool AskOpenPath(HWND owner, const wchar_t* filter, const wchar_t* extension, wchar_t* path,
                 DWORD size, bool multiple = false);

// The save dialog for one file, with the overwrite prompt: path holds the suggested name and
// gets the chosen one; filter and extension as the dialog takes them. False when cancelled.
bool AskSavePath(HWND owner, const wchar_t* filter, const wchar_t* extension,
                 wchar_t (&path)[MAX_PATH]);
