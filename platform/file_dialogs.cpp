#include "platform/file_dialogs.h"

#include "platform/app_state.h"
#include "platform/handles.h"
#include "platform/win_text.h"

namespace {

// The system's comdlg32.dll by its full path, loaded at the first dialog and kept for the life
// of the program (a static with a constant start needs no guarded initialisation).
UniqueModule g_library;
bool g_tried = false;

HMODULE Library() {
    if (!g_tried) {
        g_tried = true;
        wchar_t path[MAX_PATH] = {};
        const UINT n = GetSystemDirectoryW(path, MAX_PATH);
        PathText full;
        if (n > 0 && n < MAX_PATH && JoinWidePath(full, View(path), L"\\comdlg32.dll"))
            g_library.reset(LoadLibraryW(full.c_str()));
    }
    return g_library.get();
}

template <typename F> F Entry(const char* name) {
    HMODULE module = Library();
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

} // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEW* ofn) {
    auto* show = Entry<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetOpenFileNameW");
    return show ? show(ofn) : FALSE;
}

BOOL ShowSaveFileDialog(OPENFILENAMEW* ofn) {
    auto* show = Entry<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetSaveFileNameW");
    return show ? show(ofn) : FALSE;
}

DWORD FileDialogError() {
    auto* error = Entry<DWORD(WINAPI*)()>("CommDlgExtendedError");
    return error ? error() : 0;
}

namespace {

// The dialog for one file name buffer of size bytes, its filter's first entry chosen.
OPENFILENAMEW DialogFor(HWND owner, const wchar_t* filter, const wchar_t* extension, wchar_t* path,
                        DWORD size, DWORD flags) {
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = size;
    ofn.lpstrDefExt = extension;
    ofn.Flags = flags | OFN_HIDEREADONLY;
    return ofn;
}

} // namespace

bool AskOpenPath(HWND owner, const wchar_t* filter, const wchar_t* extension, wchar_t* path,
                 DWORD size, bool multiple) {
    OPENFILENAMEW ofn =
        DialogFor(owner, filter, extension, path, size,
                  OFN_EXPLORER | OFN_FILEMUSTEXIST | (multiple ? OFN_ALLOWMULTISELECT : 0));
    if (!ShowOpenFileDialog(&ofn)) return false;
    path[size - 1] = L'\0';
    if (multiple && size > 1) path[size - 2] = L'\0'; // the list always ends
    return true;
}

bool AskSavePath(HWND owner, const wchar_t* filter, const wchar_t* extension,
                 wchar_t (&path)[MAX_PATH]) {
    OPENFILENAMEW ofn = DialogFor(owner, filter, extension, path, MAX_PATH, OFN_OVERWRITEPROMPT);
    if (!ShowSaveFileDialog(&ofn)) return false;
    path[MAX_PATH - 1] = L'\0';
    return true;
}
