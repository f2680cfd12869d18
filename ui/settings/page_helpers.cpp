#include "ui/settings/page_helpers.h"

#include "ui/common/window_helpers.h"

INT_PTR PageResult(HWND page, LONG_PTR result) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
    return TRUE;
}

void ShowPageHelp(HWND page, const SettingsSheetShared& sheet, DWORD context) {
    ShowHelp(GetParent(page), sheet.app.paths.helpPath, HELP_CONTEXT, context);
}

bool IsTicked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void SetTicked(HWND page, int id, bool ticked) {
    CheckDlgButton(page, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}
