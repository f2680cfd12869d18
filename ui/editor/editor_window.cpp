#include "ui/editor/editor_window.h"

#include <cstring>
#include <memory>
#include <new>

#include "ui/common/resource.h"
#include "ui/editor/definition_io.h"
#include "ui/editor/editor_files.h"
#include "ui/editor/editor_state.h"
#include "ui/editor/entry_dialog.h"
#include "ui/editor/opensearch_commands.h"

namespace {

constexpr DWORD kEditorHelpContext = 34;

// The entry last copied belongs to the program, so it survives closing and reopening the
// editor; it counts as empty while its Name is empty.
bool ClipboardEmpty(const EditorState& s) {
    return s.app.copiedEntry.Name[0] == '\0';
}

void EnablePaste(EditorState& s) {
    EnableMenuItem(GetMenu(s.window), IDM_PASTE_ENTRY, MF_BYCOMMAND | MF_ENABLED);
}

// ---- entry commands ------------------------------------------------------------------------

// Puts the list item of entry `index` anew (after an edit or a move) and selects it.
void ReplaceListItem(EditorState& s, int oldIndex, int index) {
    ScopedRedrawOff redraw(s.list);
    SendMessageW(s.list, LB_DELETESTRING, static_cast<WPARAM>(oldIndex), 0);
    InsertEntryName(s, index);
    SelectEntry(s, index);
}

void DeleteEntry(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (!RemoveEntryAt(s.work, sel)) return; // no selection, or the only entry: no message
    SetModified(s, true);
    ScopedRedrawOff redraw(s.list);
    SendMessageW(s.list, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
    SelectEntry(s, sel < s.work.count ? sel : sel - 1);
}

void MoveEntry(EditorState& s, int step) {
    const int sel = SelectedEntry(s);
    const int target = MoveEntryBy(s.work, sel, step);
    if (target < 0) return;
    SetModified(s, true);
    ReplaceListItem(s, sel, target);
}

void CopyEntry(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    if (ClipboardEmpty(s)) EnablePaste(s);
    s.app.copiedEntry = s.work.entries[sel];
    s.app.copiedExtras = s.work.extras[sel];
}

// Appends the entry at the end and selects it (paste and new entry).
void AddAndSelect(EditorState& s, const EngineEntry& e, const EngineExtras& extras) {
    AppendEntry(s, e, extras);
    SelectEntry(s, s.work.count - 1);
}

void PasteEntry(EditorState& s) {
    if (ClipboardEmpty(s) || RefuseWhenFull(s)) return;
    AddAndSelect(s, s.app.copiedEntry, s.app.copiedExtras);
}

void NewEntry(EditorState& s) {
    if (RefuseWhenFull(s)) return;
    EngineEntry e;
    std::memset(&e, 0, sizeof e);
    EngineExtras extras = {};
    if (!EditEngineEntry(s.window, s.app, e, extras, {s.work.extras, s.work.count, -1})) return;
    AddAndSelect(s, e, extras);
}

void EditEntry(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    EngineEntry e = s.work.entries[sel];
    EngineExtras extras = s.work.extras[sel];
    if (!EditEngineEntry(s.window, s.app, e, extras, {s.work.extras, s.work.count, sel})) return;
    s.work.entries[sel] = e;
    s.work.extras[sel] = extras;
    SetModified(s, true); // also when no field changed
    ReplaceListItem(s, sel, sel);
}

// ---- the list's keys -----------------------------------------------------------------------

// Shift+Up and Shift+Down move the selected entry, Insert imports, Delete deletes, a double
// click anywhere (also below the last item) edits; dropped files go to the editor.
LRESULT CALLBACK ListKeysProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    HWND editor = GetParent(list);
    switch (msg) {
    case WM_KEYDOWN: {
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        int command = 0;
        if (wParam == VK_UP && shift) command = IDC_MOVE_UP;
        if (wParam == VK_DOWN && shift) command = IDC_MOVE_DOWN;
        if (wParam == VK_INSERT) command = IDC_IMPORT;
        if (wParam == VK_DELETE) command = IDC_DELETE_ENTRY;
        if (command) {
            SendMessageW(editor, WM_COMMAND, MAKEWPARAM(command, 0), 0);
            return 0;
        }
        break;
    }
    case WM_LBUTTONDBLCLK:
        SendMessageW(editor, WM_COMMAND, MAKEWPARAM(IDC_EDIT_ENTRY, 0), 0);
        return 0;
    case WM_DROPFILES:
        return SendMessageW(editor, WM_DROPFILES, wParam, lParam);
    default:
        break;
    }
    return DefSubclassProc(list, msg, wParam, lParam);
}

// ---- opening and closing -------------------------------------------------------------------

void CloseEditor(EditorState& s) {
    if (!ConfirmSaveChanges(s)) return; // cancelled: the editor stays open
    s.listKeys.Remove();
    EndDialog(s.window, 0);
}

BOOL InitEditor(HWND editor, EditorState* s) {
    s->window = editor;
    s->list = GetDlgItem(editor, IDC_ENGINE_LIST);
    // The keywords stand in a column after the names.
    const int keywordColumn = 78; // dialog units
    SendMessageW(s->list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&keywordColumn));
    s->modified = false;
    s->listKeys.Install(s->list, ListKeysProc, 0);
    if (!OpenFileInEditor(*s, s->app.catalogue.current)) {
        EditorMessage(*s, L"データファイルが不正です。", MB_OK | MB_ICONERROR);
        CloseEditor(*s); // nothing is modified: it closes without asking
        return TRUE;
    }
    if (!ClipboardEmpty(*s)) EnablePaste(*s);
    RefillEngineList(*s);
    RebuildFileMenu(*s);
    s->front.Set(editor);
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
        ShowHelp(s.window, s.app.paths.helpPath, HELP_CONTEXT, kEditorHelpContext);
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
    EditorState* s = BoundState<EditorState>(editor, msg, lParam);
    if (!s) return FALSE;
    if (msg == WM_INITDIALOG) return InitEditor(editor, s);
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

void RunEngineFileEditor(HWND owner, AppState& app) {
    std::unique_ptr<EditorState> state(new (std::nothrow) EditorState(app));
    if (!state) return;
    DialogBoxParamW(app.instance, MAKEINTRESOURCEW(IDD_EDITOR), owner, EditorProc,
                    reinterpret_cast<LPARAM>(state.get()));
}
