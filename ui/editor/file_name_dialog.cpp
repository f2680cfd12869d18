#include "ui/editor/file_name_dialog.h"

#include "base/text.h"
#include "engines/catalogue.h"
#include "platform/engine_store.h"
#include "ui/common/front_dialog.h"
#include "ui/common/resource.h"
#include "ui/common/window_helpers.h"
#include "ui/editor/editor_logic.h"

namespace {

struct FileNameState {
    AppState& app;
    ScopedFrontDialog front;
    char fileName[kCatalogueNameSize];
};

void End(HWND dlg, bool confirmed) {
    EndDialog(dlg, confirmed ? IDOK : IDCANCEL);
}

void Confirm(HWND dlg, FileNameState& s) {
    // Larger than the field's 32 bytes: an over-long text is refused, never cut.
    char typed[kCatalogueNameSize] = {};
    const wchar_t* message = nullptr;
    // Engine file names are kept in Shift-JIS (the catalogue, the settings file): a name it
    // cannot say would make a file the program never lists.
    if (!ItemSjis(dlg, IDC_FILE_NAME, typed, sizeof typed)) {
        message = L"Shift-JIS で表せない文字はファイル名に使えません。";
    } else {
        switch (CheckEngineFileName(typed, s.fileName, sizeof s.fileName)) {
        case FileNameCheck::Empty:
            message = L"ファイル名を入力してください。";
            break;
        case FileNameCheck::TooLong:
            message = L"ファイル名が長すぎます。";
            break;
        case FileNameCheck::BadCharacter:
            message = L"ファイル名にできない文字が入力されています。";
            break;
        case FileNameCheck::Ok:
            if (EngineFileExists(s.app.paths.dataDir, s.fileName)) {
                message = L"そのファイル名はすでに存在しています。";
                break;
            }
            End(dlg, true);
            return;
        }
    }
    ShowMessage(dlg, message, MB_OK | MB_ICONWARNING);
    HWND field = GetDlgItem(dlg, IDC_FILE_NAME);
    SendMessageW(field, EM_SETSEL, 0, -1);
    SetFocus(field);
}

INT_PTR CALLBACK FileNameProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = BoundState<FileNameState>(dlg, msg, lParam);
    if (!s) return FALSE;
    if (msg == WM_INITDIALOG) {
        SendDlgItemMessageW(dlg, IDC_FILE_NAME, EM_LIMITTEXT, kTypedFileNameLimit, 0);
        s->front.Set(dlg);
        SetFocus(GetDlgItem(dlg, IDC_FILE_NAME));
        return FALSE; // the focus has been set
    }
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            Confirm(dlg, *s);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            End(dlg, false);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        End(dlg, false);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool AskEngineFileName(HWND editor, AppState& app, char* fileName, size_t fileNameSize) {
    FileNameState state = {app, ScopedFrontDialog(app.frontDialog), {}};
    const INT_PTR result = DialogBoxParamW(app.instance, MAKEINTRESOURCEW(IDD_FILE_NAME), editor,
                                           FileNameProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    CopyBounded(fileName, fileNameSize, state.fileName, sizeof state.fileName);
    return true;
}
