#include "platform/file_dialogs.h"

#include "base/text.h"
#include "platform/handles.h"

namespace {

// The system's comdlg32.dll by its full path, loaded at the first dialog and kept for the life
// of the program (a static with a constant start needs no guarded initialisation).
UniqueModule g_library;
bool g_tried = false;

HMODULE Library() {
    if (!g_tried) {
        g_tried = true;
        char path[MAX_PATH] = {};
        const UINT n = GetSystemDirectoryA(path, sizeof path);
        char full[MAX_PATH] = {};
        if (n > 0 && n < sizeof path &&
            JoinText(full, sizeof full, {path, "\\comdlg32.dll"}) < sizeof full)
            g_library.reset(LoadLibraryA(full));
    }
    return g_library.get();
}

template <typename F> F Entry(const char* name) {
    HMODULE module = Library();
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

} // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEA* ofn) {
    auto* show = Entry<BOOL(WINAPI*)(OPENFILENAMEA*)>("GetOpenFileNameA");
    return show ? show(ofn) : FALSE;
}

BOOL ShowSaveFileDialog(OPENFILENAMEA* ofn) {
    auto* show = Entry<BOOL(WINAPI*)(OPENFILENAMEA*)>("GetSaveFileNameA");
    return show ? show(ofn) : FALSE;
}

DWORD FileDialogError() {
    auto* error = Entry<DWORD(WINAPI*)()>("CommDlgExtendedError");
    return error ? error() : 0;
}

namespace {

// The dialog for one file name buffer of size bytes, its filter's first entry chosen.
OPENFILENAMEA DialogFor(HWND owner, const char* filter, const char* extension, char* path,
                        DWORD size, DWORD flags) {
    OPENFILENAMEA ofn = {};
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

bool AskOpenPath(HWND owner, const char* filter, const char* extension, char* path, DWORD size,
                 bool multiple) {
    OPENFILENAMEA ofn =
        DialogFor(owner, filter, extension, path, size,
                  OFN_EXPLORER | OFN_FILEMUSTEXIST | (multiple ? OFN_ALLOWMULTISELECT : 0));
    if (!ShowOpenFileDialog(&ofn)) return false;
    path[size - 1] = '\0';
    if (multiple && size > 1) path[size - 2] = '\0'; // the list always ends
    return true;
}

bool AskSavePath(HWND owner, const char* filter, const char* extension, char (&path)[MAX_PATH]) {
    OPENFILENAMEA ofn = DialogFor(owner, filter, extension, path, sizeof path, OFN_OVERWRITEPROMPT);
    if (!ShowSaveFileDialog(&ofn)) return false;
    path[sizeof path - 1] = '\0';
    return true;
}
