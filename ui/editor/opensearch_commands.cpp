#include "ui/editor/opensearch_commands.h"

#include "base/text.h"
#include "platform/file_dialogs.h"
#include "platform/handles.h"
#include "platform/opensearch_xml.h"

namespace {

const wchar_t kFilter[] = L"OpenSearch (*.xml)\0*.xml\0";
const wchar_t kExtension[] = L"xml";

} // namespace

ImportResult ImportOpenSearchFile(EditorState& s, const wchar_t* path) {
    if (RefuseWhenFull(s)) return ImportResult::Full;
    EngineEntry e;
    const OpenSearchRead r = ReadOpenSearchFile(path, e);
    if (r.file != OpenSearchFileFault::None) {
        OpenSearchMessage message;
        OpenSearchReadMessage(path, r, message);
        EditorMessage(s, message.c_str(), MB_OK | MB_ICONWARNING);
        return ImportResult::Rejected;
    }
    AppendEntry(s, e, r.extras);
    return ImportResult::Added;
}

void ImportOpenSearchCommand(EditorState& s) {
    if (RefuseWhenFull(s)) return;
    wchar_t path[MAX_PATH] = {};
    if (!AskOpenPath(s.window, kFilter, kExtension, path, MAX_PATH)) return;
    if (ImportOpenSearchFile(s, path) == ImportResult::Added) SelectEntry(s, s.work.count - 1);
}

void ExportOpenSearchCommand(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    const EngineEntry& e = s.work.entries[sel];
    const EngineExtras& extras = s.work.extras[sel];
    OpenSearchExport x;
    if (!OpenSearchFromEntry(e, x, extras)) {
        EditorMessage(s, L"ファイルを開く検索エンジンは OpenSearch 記述にできません。",
                      MB_OK | MB_ICONWARNING);
        return;
    }
    FixedText<kNameSize + 8> name;
    FileNameFromName(e.Name, sizeof e.Name, name);
    PathText suggested = FromSjis<MAX_PATH>(name.view());
    suggested.Append(L".xml");
    wchar_t path[MAX_PATH];
    lstrcpynW(path, suggested.c_str(), MAX_PATH);
    if (!AskSavePath(s.window, kFilter, kExtension, path)) return;
    if (WriteOpenSearchFile(path, e, extras) != OpenSearchWrite::Written) {
        MessageText text(L"OpenSearch 書き出しに失敗しました。\n\nファイル名 : ");
        text.Append(View(path));
        EditorMessage(s, text.c_str(), MB_OK | MB_ICONERROR);
    }
}
