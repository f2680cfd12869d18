#include "ui/editor_window.h"

#include <cstring>
#include <memory>

#include "app/globals.h"
#include "app/handles.h"
#include "app/text.h"
#include "engines/engine_files.h"
#include "ui/definition_io.h"
#include "ui/opensearch_io.h"
#include "ui/editor_files.h"
#include "ui/entry_dialog.h"
#include "ui/open_dialog.h"
#include "ui/resource.h"

const char kEntryLimitMessage[] = "これ以上データを追加することはできません";

namespace {

constexpr DWORD kEditorHelpContext = 34;

// The entry last copied. It lives as long as the program, so it survives closing and
// reopening the editor; it counts as empty while its Name is empty.
EngineEntry& EntryClipboard() {
    static EngineEntry clipboard = {};
    return clipboard;
}

bool ClipboardEmpty() {
    return EntryClipboard().Name[0] == '\0';
}

EditorState* StateOf(HWND editor) {
    return reinterpret_cast<EditorState*>(GetWindowLongPtrA(editor, DWLP_USER));
}

// List updates are made with redrawing off, then one repaint of the whole list.
class ListUpdate {
  public:
    explicit ListUpdate(HWND list) : list_(list) { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }
    ~ListUpdate() {
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }
    ListUpdate(const ListUpdate&) = delete;
    ListUpdate& operator=(const ListUpdate&) = delete;

  private:
    HWND list_;
};

// The Name of an entry as list text: bounded by its field.
void InsertName(HWND list, int index, const EngineEntry& e) {
    char name[kNameSize];
    CopyBounded(name, sizeof name, e.Name, sizeof e.Name);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
}

void EnablePaste(EditorState& s) {
    EnableMenuItem(GetMenu(s.window), IDM_PASTE_ENTRY, MF_BYCOMMAND | MF_ENABLED);
}

// ---- entry commands ------------------------------------------------------------------------

void DeleteEntry(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (!RemoveEntryAt(s.work, sel)) return; // no selection, or the only entry: no message
    SetModified(s, true);
    ListUpdate update(s.list);
    SendMessageA(s.list, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    SelectEntry(s, sel < s.work.count ? sel : sel - 1);
}

void MoveEntry(EditorState& s, int step) {
    const int sel = SelectedEntry(s);
    const int target = MoveEntryBy(s.work, sel, step);
    if (target < 0) return;
    SetModified(s, true);
    ListUpdate update(s.list);
    SendMessageA(s.list, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    InsertName(s.list, target, s.work.entries[target]);
    SelectEntry(s, target);
}

void CopyEntry(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    if (ClipboardEmpty()) EnablePaste(s);
    EntryClipboard() = s.work.entries[sel];
}

// Appends the entry at the end and selects it (paste and new entry).
void AddAndSelect(EditorState& s, const EngineEntry& e) {
    AppendEntry(s, e);
    SelectEntry(s, s.work.count - 1);
}

void PasteEntry(EditorState& s) {
    if (ClipboardEmpty()) return;
    if (s.work.count >= kMaxEngines) {
        EditorMessage(s, kEntryLimitMessage, MB_OK | MB_ICONWARNING);
        return;
    }
    AddAndSelect(s, EntryClipboard());
}

void NewEntry(EditorState& s) {
    if (s.work.count >= kMaxEngines) {
        EditorMessage(s, kEntryLimitMessage, MB_OK | MB_ICONWARNING);
        return;
    }
    EngineEntry e;
    std::memset(&e, 0, sizeof e);
    if (!EditEngineEntry(s.window, e)) return;
    AddAndSelect(s, e);
}

void EditEntry(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    EngineEntry e = s.work.entries[sel];
    if (!EditEngineEntry(s.window, e)) return;
    s.work.entries[sel] = e;
    SetModified(s, true); // also when no field changed
    ListUpdate update(s.list);
    SendMessageA(s.list, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    InsertName(s.list, sel, e);
    SelectEntry(s, sel);
}

// ---- the list filter -----------------------------------------------------------------------

// Shift+Up and Shift+Down move the selected entry, Insert imports, Delete deletes, a double
// click anywhere (also below the last item) edits; dropped files go to the editor.
LRESULT CALLBACK ListFilter(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND editor = GetParent(list);
    EditorState* s = StateOf(editor);
    if (!s || !s->previousListProc) return DefWindowProcA(list, msg, wParam, lParam);
    switch (msg) {
    case WM_KEYDOWN: {
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        int command = 0;
        if (wParam == VK_UP && shift) command = IDC_MOVE_UP;
        if (wParam == VK_DOWN && shift) command = IDC_MOVE_DOWN;
        if (wParam == VK_INSERT) command = IDC_IMPORT;
        if (wParam == VK_DELETE) command = IDC_DELETE_ENTRY;
        if (command) {
            SendMessageA(editor, WM_COMMAND, MAKEWPARAM(command, 0), 0);
            return 0;
        }
        break;
    }
    case WM_LBUTTONDBLCLK:
        SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDC_EDIT_ENTRY, 0), 0);
        return 0;
    case WM_DROPFILES:
        return SendMessageA(editor, WM_DROPFILES, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcA(s->previousListProc, list, msg, wParam, lParam);
}

void RemoveListFilter(EditorState& s) {
    if (!s.previousListProc) return;
    SetWindowLongPtrA(s.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previousListProc));
    s.previousListProc = nullptr;
}

// ---- opening and closing -------------------------------------------------------------------

void CloseEditor(EditorState& s) {
    if (!ConfirmSaveChanges(s)) return; // cancelled: the editor stays open
    RemoveListFilter(s);
    SetOpenDialog(nullptr);
    EndDialog(s.window, 0);
}

BOOL InitEditor(HWND editor, EditorState* s) {
    SetWindowLongPtrA(editor, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
    s->window = editor;
    s->list = GetDlgItem(editor, IDC_ENGINE_LIST);
    s->modified = false;
    s->previousListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(s->list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListFilter)));
    if (!OpenFileInEditor(*s, g_catalogue.current)) {
        EditorMessage(*s, "データファイルが不正です。", MB_OK | MB_ICONERROR);
        CloseEditor(*s); // nothing is modified: it closes without asking
        return TRUE;
    }
    if (!ClipboardEmpty()) EnablePaste(*s);
    RefillEngineList(*s);
    RebuildFileMenu(*s);
    SetOpenDialog(editor);
    return TRUE;
}

void OnCommand(EditorState& s, int id) {
    if (id >= IDM_ENGINE_FILE_FIRST && id <= IDM_ENGINE_FILE_LAST) {
        SwitchEngineFileCommand(s, id - IDM_ENGINE_FILE_FIRST);
        return;
    }
    switch (id) {
    case IDC_DELETE_ENTRY:
    case IDM_DELETE_ENTRY:
        DeleteEntry(s);
        break;
    case IDC_EDIT_ENTRY:
    case IDM_EDIT_ENTRY:
        EditEntry(s);
        break;
    case IDC_MOVE_UP:
    case IDM_MOVE_UP:
        MoveEntry(s, -1);
        break;
    case IDC_MOVE_DOWN:
    case IDM_MOVE_DOWN:
        MoveEntry(s, 1);
        break;
    case IDC_IMPORT:
    case IDM_IMPORT_DEFINITIONS:
        ImportDefinitionFiles(s);
        break;
    case IDM_EXPORT_DEFINITION:
        ExportDefinitionFile(s);
        break;
    case IDM_IMPORT_OPENSEARCH:
        ImportOpenSearchCommand(s);
        break;
    case IDM_EXPORT_OPENSEARCH:
        ExportOpenSearchCommand(s);
        break;
    case IDM_NEW_ENTRY:
        NewEntry(s);
        break;
    case IDM_COPY_ENTRY:
        CopyEntry(s);
        break;
    case IDM_PASTE_ENTRY:
        PasteEntry(s);
        break;
    case IDM_NEW_FILE:
        NewEngineFileCommand(s);
        break;
    case IDM_CLOSE_EDITOR:
        CloseEditor(s);
        break;
    case IDM_EDITOR_HELP:
        WinHelpA(s.window, g_helpPath, HELP_CONTEXT, kEditorHelpContext);
        break;
    case IDM_SAVE_FILE:
        SaveEngineFileCommand(s);
        break;
    case IDM_DELETE_FILE:
        DeleteEngineFileCommand(s);
        break;
    default:
        break; // Enter (IDOK), Esc (IDCANCEL), 40025 and 40026 among them
    }
}

INT_PTR CALLBACK EditorProc(HWND editor, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) return InitEditor(editor, reinterpret_cast<EditorState*>(lParam));
    EditorState* s = StateOf(editor);
    if (!s) return FALSE;
    switch (msg) {
    case WM_COMMAND:
        OnCommand(*s, LOWORD(wParam));
        return TRUE;
    case WM_DROPFILES:
        ImportDroppedFiles(*s, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_CLOSE:
        CloseEditor(*s);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void SetModified(EditorState& s, bool modified) {
    if (s.modified == modified) return;
    char title[kEditorTitleSize] = {};
    GetWindowTextA(s.window, title, sizeof title);
    if (MarkEditorTitle(title, sizeof title, modified)) SetWindowTextA(s.window, title);
    s.modified = modified;
}

void SetEditorTitle(EditorState& s, const char* fileName) {
    char title[kEditorTitleSize];
    FormatEditorTitle(title, sizeof title, fileName);
    SetWindowTextA(s.window, title);
    s.modified = false;
}

bool OpenFileInEditor(EditorState& s, int index) {
    if (index < 0 || index >= kMaxEngineFiles || g_catalogue.names[index][0] == '\0') return false;
    char path[MAX_PATH];
    if (!EngineFilePath(g_catalogue.names[index], path)) return false;
    EngineSet read;
    const int count = ReadEngineFile(read, path);
    if (count < 1 || !LoadEntries(s.work, read.entries.get(), count)) return false;
    s.currentFile = index;
    SetEditorTitle(s, g_catalogue.names[index]);
    return true;
}

void RefillEngineList(EditorState& s) {
    ListUpdate update(s.list);
    SendMessageA(s.list, LB_RESETCONTENT, 0, 0);
    for (int k = 0; k < s.work.count; ++k)
        InsertName(s.list, k, s.work.entries[k]);
    SelectEntry(s, 0);
}

void RebuildFileMenu(EditorState& s) {
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) return;
    HMENU fileMenu = GetSubMenu(GetMenu(s.window), 0);
    DeleteMenu(fileMenu, 1, MF_BYPOSITION); // the old popup (or "DUMMY") goes with it
    for (int n = 0; n < kMaxEngineFiles && g_catalogue.names[n][0] != '\0'; ++n) {
        char name[kCatalogueNameSize];
        CopyBounded(name, sizeof name, g_catalogue.names[n], kCatalogueNameSize);
        const UINT flags = MF_STRING | (n == s.currentFile ? MF_CHECKED : MF_UNCHECKED);
        AppendMenuA(popup.get(), flags, IDM_ENGINE_FILE_FIRST + n, name);
    }
    if (InsertMenuA(fileMenu, 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                    reinterpret_cast<UINT_PTR>(popup.get()), "ファイル変更(&C)"))
        popup.release(); // the menu bar owns it now
}

void AppendEntry(EditorState& s, const EngineEntry& e) {
    if (!PushEntry(s.work, e)) return;
    {
        ListUpdate update(s.list);
        InsertName(s.list, s.work.count - 1, e);
    }
    SetModified(s, true);
}

int SelectedEntry(const EditorState& s) {
    const LRESULT sel = SendMessageA(s.list, LB_GETCURSEL, 0, 0);
    return sel == LB_ERR ? -1 : static_cast<int>(sel);
}

void SelectEntry(EditorState& s, int index) {
    SendMessageA(s.list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

const char* EditorFileName(const EditorState& s) {
    if (s.currentFile < 0 || s.currentFile >= kMaxEngineFiles) return "";
    return g_catalogue.names[s.currentFile];
}

int EditorMessage(const EditorState& s, const char* text, UINT flags) {
    return MessageBoxA(s.window, text, MORVEL_TITLE, flags);
}

void OpenEngineFileEditor(HWND owner) {
    std::unique_ptr<EditorState> state(new EditorState());
    DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_EDITOR), owner, EditorProc,
                    reinterpret_cast<LPARAM>(state.get()));
}
