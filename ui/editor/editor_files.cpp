#include "ui/editor/editor_files.h"

#include "base/text.h"
#include "platform/engine_store.h"
#include "platform/win_text.h"
#include "ui/editor/file_name_dialog.h"

namespace {

const wchar_t kUnreadable[] = L"データファイルが不正です。";

// Writes count entries to a file of the program directory; the thread's last error tells why
// when it fails.
bool WriteEntries(EditorState& s, const EngineEntry* entries, const EngineExtras* extras, int count,
                  const char* fileName) {
    PathText path;
    if (!EngineFilePath(s.app.paths.dataDir, fileName, path)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return WriteEngineFile(entries, extras, path.c_str(), count) == 1;
}

// Writes the entries to a file that exists already; the save message when it fails.
bool SaveEntries(EditorState& s, const char* fileName) {
    if (WriteEntries(s, s.work.entries, s.work.extras, s.work.count, fileName)) return true;
    EditorMessage(s, L"エンジンデータ保存に失敗しました。", MB_OK | MB_ICONWARNING);
    return false;
}

// Writes a new engine file; when it cannot be created the message names it and the reason.
bool CreateEngineFile(EditorState& s, const EngineEntry& entry, const EngineExtras& extras,
                      const char* fileName) {
    if (WriteEntries(s, &entry, &extras, 1, fileName)) return true;
    const DWORD error = GetLastError();
    wchar_t reason[256] = {};
    if (!FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                        0, reason, 256, nullptr))
        wsprintfW(reason, L"(エラー %lu)", error);
    MessageText text(L"エンジンファイル「");
    AppendSjis(text, fileName);
    text.Append(L"」を作成できませんでした。\n\n");
    text.Append(View(reason));
    EditorMessage(s, text.c_str(), MB_OK | MB_ICONERROR);
    return false;
}

} // namespace

bool SaveEngineFile(EditorState& s, const char* fileName) {
    return SaveEntries(s, fileName);
}

bool ConfirmSaveChanges(EditorState& s) {
    if (!s.modified) return true;
    MessageText question = FromSjis<MAX_PATH + 512>(EditorFileName(s));
    question.Append(L" は更新されています。保存しますか？");
    switch (EditorMessage(s, question.c_str(), MB_YESNOCANCEL | MB_ICONWARNING)) {
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
        EditorMessage(s, L"これ以上データファイルを作成することはできません。",
                      MB_OK | MB_ICONERROR);
        return;
    }
    if (!ConfirmSaveChanges(s)) return;
    char fileName[kCatalogueNameSize];
    if (!AskEngineFileName(s.window, s.app, fileName, sizeof fileName)) return;
    // The new file holds the noted entry as it is now in the working copy. It is written
    // before anything changes: a file that could not be written never enters the catalogue,
    // and the editor stays on its file with its working copy.
    const int from = sel >= 0 && sel < s.work.count ? sel : 0;
    const EngineEntry noted = s.work.entries[from];
    const EngineExtras extras = s.work.extras[from];
    if (!CreateEngineFile(s, noted, extras, fileName)) return;
    LoadEntries(s.work, &noted, 1, &extras);
    const int slot = AddCatalogueName(s.app.catalogue, fileName, CompareNames);
    s.currentFile = slot >= 0 ? slot : 0;
    RefillEngineList(s);
    RebuildFileMenu(s);
    SetEditorTitle(s, fileName);
}

void DeleteEngineFileCommand(EditorState& s) {
    if (CatalogueSize(s.app.catalogue) < 2) {
        EditorMessage(s, L"必ず１つ以上のデータファイルが存在している必要があります。",
                      MB_OK | MB_ICONERROR);
        return;
    }
    MessageText question = FromSjis<MAX_PATH + 512>(EditorFileName(s));
    question.Append(L" を削除しますか？");
    if (EditorMessage(s, question.c_str(), MB_YESNO | MB_ICONWARNING) != IDYES) return;
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
