// The common file dialogs, loaded when first used: the library (and the printing libraries it
// brings along) stays out of the program's start.
#pragma once
#include <windows.h>

#include <commdlg.h>

BOOL ShowOpenFileDialog(OPENFILENAMEA* ofn);
BOOL ShowSaveFileDialog(OPENFILENAMEA* ofn);
// The last dialog's extended error (0 when the library could not be loaded).
DWORD FileDialogError();
