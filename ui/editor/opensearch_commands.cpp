#include "ui/editor/opensearch_commands.h"

#include "base/text.h"
#include "platform/file_dialogs.h"
#include "platform/handles.h"
#include "platform/opensearch_xml.h"

namespace {

const char kFilter[] = "OpenSearch (*.xml)\0*.xml\0";
const char kExtension[] = "xml";

} // namespace

ImportResult ImportOpenSearchFile(EditorState& s, const char* path) {
    if (RefuseWhenFull(s)) return ImportResult::Full;
    EngineEntry e;
    const OpenSearchRead r = ReadOpenSearchFile(path, e);
    if (r.file != OpenSearchFileFault::None) {
        FixedText<MAX_PATH + 512> message;
        OpenSearchReadMessage(path, r, message);
        EditorMessage(s, message.c_str(), MB_OK | MB_ICONWARNING);
        return ImportResult::Rejected;
    }
    AppendEntry(s, e);
    return ImportResult::Added;
}

void ImportOpenSearchCommand(EditorState& s) {
    if (RefuseWhenFull(s)) return;
    char path[MAX_PATH] = {};
    if (!AskOpenPath(s.window, kFilter, kExtension, path, sizeof path)) return;
    if (ImportOpenSearchFile(s, path) == ImportResult::Added) SelectEntry(s, s.work.count - 1);
}

void ExportOpenSearchCommand(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    const EngineEntry& e = s.work.entries[sel];
    OpenSearchExport x;
    if (!OpenSearchFromEntry(e, x)) {
        EditorMessage(s, "ファイルを開く検索エンジンは OpenSearch 記述にできません。",
                      MB_OK | MB_ICONWARNING);
        return;
    }
    FixedText<kNameSize + 8> name;
    FileNameFromName(e.Name, sizeof e.Name, name);
    char path[MAX_PATH];
    JoinText(path, sizeof path, {name, ".xml"});
    if (!AskSavePath(s.window, kFilter, kExtension, path)) return;
    if (WriteOpenSearchFile(path, e) != OpenSearchWrite::Written) {
        char text[MAX_PATH + 64];
        JoinText(text, sizeof text, {"OpenSearch 書き出しに失敗しました。\n\nファイル名 : ", path});
        EditorMessage(s, text, MB_OK | MB_ICONERROR);
    }
}
