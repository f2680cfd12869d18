#include "ui/editor/editor_state.h"

#include "base/text.h"
#include "platform/engine_store.h"
#include "platform/handles.h"
#include "platform/win_text.h"
#include "ui/common/engine_file_menu.h"
#include "ui/common/resource.h"

namespace {

// The Name of an entry as list text, bounded by its field, and its keyword after a tab.
void InsertName(HWND list, int index, const EngineEntry& e, const EngineExtras& extras) {
    auto text = FromSjisField<kNameSize + kEngineKeywordSize + 1>(e.Name);
    if (extras.Keyword[0] != '\0') {
        text.Append(L'\t');
        AppendSjis(text, std::string_view(extras.Keyword,
                                          FieldLength(extras.Keyword, kEngineKeywordSize)));
    }
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

void InsertEntryName(EditorState& s, int index) {
    InsertName(s.list, index, s.work.entries[index], s.work.extras[index]);
}

void SetModified(EditorState& s, bool modified) {
    if (s.modified == modified) return;
    wchar_t shown[kEditorTitleSize] = {};
    GetWindowTextW(s.window, shown, kEditorTitleSize);
    FixedText<kEditorTitleSize> title;
    WideToSjis(View(shown), title); // the program's own text and a catalogue name
    char marked[kEditorTitleSize] = {};
    CopyBounded(marked, sizeof marked, title.c_str());
    if (MarkEditorTitle(marked, sizeof marked, modified)) SetSjisText(s.window, marked);
    s.modified = modified;
}

void SetEditorTitle(EditorState& s, const char* fileName) {
    char title[kEditorTitleSize];
    FormatEditorTitle(title, sizeof title, fileName);
    SetSjisText(s.window, title);
    s.modified = false;
}

bool OpenFileInEditor(EditorState& s, int index) {
    const EngineFileCatalogue& catalogue = s.app.catalogue;
    if (index < 0 || index >= kMaxEngineFiles || catalogue.names[index][0] == '\0') return false;
    PathText path;
    if (!EngineFilePath(s.app.paths.dataDir, catalogue.names[index], path)) return false;
    EngineSet read;
    const int count = ReadEngineFile(read, path.c_str());
    if (count < 1 || !LoadEntries(s.work, read.entries.get(), count, read.extras)) return false;
    s.currentFile = index;
    SetEditorTitle(s, catalogue.names[index]);
    return true;
}

void RefillEngineList(EditorState& s) {
    ScopedRedrawOff redraw(s.list);
    SendMessageW(s.list, LB_RESETCONTENT, 0, 0);
    for (int k = 0; k < s.work.count; ++k)
        InsertEntryName(s, k);
    SelectEntry(s, 0);
}

void RebuildFileMenu(EditorState& s) {
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) return;
    HMENU fileMenu = GetSubMenu(GetMenu(s.window), 0);
    DeleteMenu(fileMenu, 1, MF_BYPOSITION); // the old popup (or "DUMMY") goes with it
    AppendEngineFileItems(popup.get(), s.app.catalogue, s.currentFile, EngineFileLabels::WholeName);
    if (InsertMenuW(fileMenu, 1, MF_BYPOSITION | MF_POPUP | MF_STRING,
                    reinterpret_cast<UINT_PTR>(popup.get()), L"ファイル変更(&C)"))
        popup.release(); // the menu bar owns it now
}

void AppendEntry(EditorState& s, const EngineEntry& e, const EngineExtras& extras) {
    if (!PushEntry(s.work, e, extras)) return;
    {
        ScopedRedrawOff redraw(s.list);
        InsertEntryName(s, s.work.count - 1);
    }
    SetModified(s, true);
}

int SelectedEntry(const EditorState& s) {
    const LRESULT sel = SendMessageW(s.list, LB_GETCURSEL, 0, 0);
    return sel == LB_ERR ? -1 : static_cast<int>(sel);
}

void SelectEntry(EditorState& s, int index) {
    SendMessageW(s.list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

const char* EditorFileName(const EditorState& s) {
    if (s.currentFile < 0 || s.currentFile >= kMaxEngineFiles) return "";
    return s.app.catalogue.names[s.currentFile];
}

int EditorMessage(const EditorState& s, const wchar_t* text, UINT flags) {
    return ShowMessage(s.window, text, flags);
}

bool RefuseWhenFull(const EditorState& s) {
    if (s.work.count < kMaxEngines) return false;
    EditorMessage(s, L"これ以上データを追加することはできません", MB_OK | MB_ICONWARNING);
    return true;
}
