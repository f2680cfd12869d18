#include "ui/file_name_dialog.h"

#include "app/globals.h"
#include "app/text.h"
#include "engines/catalogue.h"
#include "engines/engine_files.h"
#include "ui/editor_logic.h"
#include "ui/open_dialog.h"
#include "ui/resource.h"

namespace {

struct FileNameState {
    HWND editor;
    char fileName[kCatalogueNameSize];
};

void End(HWND dlg, FileNameState& s, bool confirmed) {
    SetOpenDialog(s.editor);
    EndDialog(dlg, confirmed ? IDOK : IDCANCEL);
}

void Confirm(HWND dlg, FileNameState& s) {
    // Larger than the field's 32 bytes: an over-long text is refused, never cut.
    char typed[kCatalogueNameSize] = {};
    GetDlgItemTextA(dlg, IDC_FILE_NAME, typed, sizeof typed);
    const char* message = nullptr;
    switch (CheckEngineFileName(typed, s.fileName, sizeof s.fileName)) {
    case FileNameCheck::Empty:
        message = "ファイル名を入力してください。";
        break;
    case FileNameCheck::TooLong:
        message = "ファイル名が長すぎます。";
        break;
    case FileNameCheck::BadCharacter:
        message = "ファイル名にできない文字が入力されています。";
        break;
    case FileNameCheck::Ok:
        if (EngineFileExists(s.fileName)) {
            message = "そのファイル名はすでに存在しています。";
            break;
        }
        End(dlg, s, true);
        return;
    }
    MessageBoxA(dlg, message, MORVEL_TITLE, MB_OK | MB_ICONWARNING);
    HWND field = GetDlgItem(dlg, IDC_FILE_NAME);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SetFocus(field);
}

INT_PTR CALLBACK FileNameProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        SendDlgItemMessageA(dlg, IDC_FILE_NAME, EM_LIMITTEXT, kTypedFileNameLimit, 0);
        SetOpenDialog(dlg);
        SetFocus(GetDlgItem(dlg, IDC_FILE_NAME));
        return FALSE; // the focus has been set
    }
    auto* s = reinterpret_cast<FileNameState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (!s) return FALSE;
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            Confirm(dlg, *s);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            End(dlg, *s, false);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        End(dlg, *s, false);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool AskEngineFileName(HWND editor, char* fileName, size_t fileNameSize) {
    FileNameState state = {editor, {}};
    const INT_PTR result = DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_FILE_NAME), editor,
                                           FileNameProc, reinterpret_cast<LPARAM>(&state));
    SetOpenDialog(editor);
    if (result != IDOK) return false;
    CopyBounded(fileName, fileNameSize, state.fileName, sizeof state.fileName);
    return true;
}
