#include "ui/editor/editor_files.h"

#include "base/text.h"
#include "platform/engine_store.h"
#include "ui/editor/file_name_dialog.h"

namespace {

const char kUnreadable[] = "データファイルが不正です。";

// Writes count entries to a file of the program directory; the thread's last error tells why
// when it fails.
bool WriteEntries(EditorState& s, const EngineEntry* entries, int count, const char* fileName) {
    char path[MAX_PATH];
    if (!EngineFilePath(s.app.paths.dataDir, fileName, path)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return WriteEngineFile(entries, path, count) == 1;
}

// Writes the entries to a file that exists already; the save message when it fails.
bool SaveEntries(EditorState& s, const EngineEntry* entries, int count, const char* fileName) {
    if (WriteEntries(s, entries, count, fileName)) return true;
    EditorMessage(s, "エンジンデータ保存に失敗しました。", MB_OK | MB_ICONWARNING);
    return false;
}

// Writes a new engine file; when it cannot be created the message names it and the reason.
bool CreateEngineFile(EditorState& s, const EngineEntry& entry, const char* fileName) {
    if (WriteEntries(s, &entry, 1, fileName)) return true;
    const DWORD error = GetLastError();
    char reason[256] = {};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                        0, reason, sizeof reason, nullptr))
        wsprintfA(reason, "(エラー %lu)", error);
    char text[kCatalogueNameSize + sizeof reason + 64];
    JoinText(text, sizeof text,
             {"エンジンファイル「", fileName, "」を作成できませんでした。\n\n", reason});
    EditorMessage(s, text, MB_OK | MB_ICONERROR);
    return false;
}

} // namespace

bool SaveEngineFile(EditorState& s, const char* fileName) {
    return SaveEntries(s, s.work.entries, s.work.count, fileName);
}

bool ConfirmSaveChanges(EditorState& s) {
    if (!s.modified) return true;
    char question[kCatalogueNameSize + 64];
    JoinText(question, sizeof question, {EditorFileName(s), " は更新されています。保存しますか？"});
    switch (EditorMessage(s, question, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return SaveEngineFile(s, EditorFileName(s));
    case IDNO:
        return true;
    default:
        return false;
    }
}

void SaveEngineFileCommand(EditorState& s) {
    // A failed write keeps the flag and the marker: the changes are still only here.
    if (SaveEngineFile(s, EditorFileName(s))) SetModified(s, false);
}

void SwitchEngineFileCommand(EditorState& s, int n) {
    if (n == s.currentFile) return;
    if (!ConfirmSaveChanges(s)) return;
    if (!OpenFileInEditor(s, n)) {
        EditorMessage(s, kUnreadable, MB_OK | MB_ICONERROR);
        return;
    }
    RefillEngineList(s);
    RebuildFileMenu(s);
}

void NewEngineFileCommand(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (CatalogueSize(s.app.catalogue) >= kMaxEngineFiles) {
        EditorMessage(s, "これ以上データファイルを作成することはできません。",
                      MB_OK | MB_ICONERROR);
        return;
    }
    if (!ConfirmSaveChanges(s)) return;
    char fileName[kCatalogueNameSize];
    if (!AskEngineFileName(s.window, s.app, fileName, sizeof fileName)) return;
    // The new file holds the noted entry as it is now in the working copy. It is written
    // before anything changes: a file that could not be written never enters the catalogue,
    // and the editor stays on its file with its working copy.
    const EngineEntry noted = s.work.entries[sel >= 0 && sel < s.work.count ? sel : 0];
    if (!CreateEngineFile(s, noted, fileName)) return;
    LoadEntries(s.work, &noted, 1);
    const int slot = AddCatalogueName(s.app.catalogue, fileName, CompareNames);
    s.currentFile = slot >= 0 ? slot : 0;
    RefillEngineList(s);
    RebuildFileMenu(s);
    SetEditorTitle(s, fileName);
}

void DeleteEngineFileCommand(EditorState& s) {
    if (CatalogueSize(s.app.catalogue) < 2) {
        EditorMessage(s, "必ず１つ以上のデータファイルが存在している必要があります。",
                      MB_OK | MB_ICONERROR);
        return;
    }
    char question[kCatalogueNameSize + 32];
    JoinText(question, sizeof question, {EditorFileName(s), " を削除しますか？"});
    if (EditorMessage(s, question, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    DeleteEngineFile(s.app.paths.dataDir, EditorFileName(s));
    RemoveCatalogueName(s.app.catalogue, s.currentFile, CompareNames);
    s.currentFile = 0;
    if (OpenFileInEditor(s, 0)) {
        RefillEngineList(s);
        RebuildFileMenu(s);
        return;
    }
    // The first remaining file does not read: the entries of the deleted file stay in the
    // editor as unsaved changes of that file, so that nothing is lost unasked and the menu
    // and title name a file that exists.
    RebuildFileMenu(s);
    SetEditorTitle(s, EditorFileName(s));
    SetModified(s, true);
    EditorMessage(s, kUnreadable, MB_OK | MB_ICONERROR);
}
