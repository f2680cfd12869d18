#include "ui/editor/definition_io.h"

#include <commdlg.h>

#include <cstring>
#include <memory>
#include <new>

#include "base/text.h"
#include "engines/definition.h"
#include "platform/file_dialogs.h"
#include "platform/file_replace.h"
#include "platform/handles.h"
#include "ui/editor/editor_logic.h"
#include "ui/editor/opensearch_commands.h"

namespace {

const char kFilter[] = "ｻｰﾁｴﾝｼﾞﾝﾃﾞｰﾀ (*.sed)\0*.sed\0";
const char kDefaultExtension[] = "sed";
constexpr DWORD kOpenResultSize = 50000;

// The system's profile reader on one file (source is its path), with the rules of the
// definition file.
DefinitionReader ProfileReader(const char* path) {
    return {path,
            [](const void* file, const char* section, const char* key, DefinitionText& out) {
                char buffer[kDefinitionValueBuffer];
                buffer[0] = '\0';
                const DWORD got = GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer,
                                                           static_cast<const char*>(file));
                out.Assign(ProfileValue(buffer, sizeof buffer, got));
            },
            [](const void* file, const char* section, const char* key) {
                return static_cast<int>(
                    GetPrivateProfileIntA(section, key, 0, static_cast<const char*>(file)));
            }};
}

void ShowRejected(EditorState& s, const char* path, const DefinitionFault& fault) {
    char text[MAX_PATH + 128];
    JoinText(text, sizeof text,
             {"定義ファイルが不正です。\n\nファイル名 : ", path, "\nセクション : ", fault.section,
              "\nキー : ", fault.key});
    EditorMessage(s, text, MB_OK | MB_ICONWARNING);
}

bool IsXmlFile(const char* path) {
    const size_t n = std::strlen(path);
    return n >= 4 && EqualsAsciiNoCase(std::string_view(path + n - 4, 4), ".xml");
}

void SelectLast(EditorState& s) {
    SelectEntry(s, s.work.count - 1);
}

// Writes every value of the entry (the context) into the file; false at the first that
// cannot be written.
bool WriteDefinitionTo(const char* path, const void* context) {
    const EngineEntry& e = *static_cast<const EngineEntry*>(context);
    DefinitionValue values[kMaxDefinitionValues];
    const int n = DefinitionValues(e, values);
    for (int i = 0; i < n; ++i)
        if (!WritePrivateProfileStringA(values[i].section, values[i].key, values[i].text, path))
            return false;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path); // nothing left in a cache
    return true;
}

} // namespace

ImportResult ImportDefinitionFile(EditorState& s, const char* path) {
    if (RefuseWhenFull(s)) return ImportResult::Full;
    EngineEntry e;
    const DefinitionFault fault = EntryFromDefinition(ProfileReader(path), e);
    if (fault.section) {
        ShowRejected(s, path, fault);
        return ImportResult::Rejected;
    }
    AppendEntry(s, e);
    return ImportResult::Added;
}

void ImportDefinitionFiles(EditorState& s) {
    if (RefuseWhenFull(s)) return;
    std::unique_ptr<char[]> result(new (std::nothrow) char[kOpenResultSize]());
    if (!result) return;
    if (!AskOpenPath(s.window, kFilter, kDefaultExtension, result.get(), kOpenResultSize, true))
        return;

    const char* first = result.get();
    const char* name = first + std::strlen(first) + 1;
    if (*name == '\0') {
        ImportDefinitionFile(s, first); // one full path
    } else {
        for (; *name != '\0'; name += std::strlen(name) + 1) {
            char path[MAX_PATH];
            if (!JoinFolderAndName(path, sizeof path, first, name)) {
                // Too long for a path: it cannot be opened, so it reads as all keys missing.
                char shown[MAX_PATH];
                CopyBounded(shown, sizeof shown, name);
                ShowRejected(s, shown, {"Data", "Name"});
                continue;
            }
            if (ImportDefinitionFile(s, path) == ImportResult::Full) break;
        }
    }
    SelectLast(s);
}

void ImportDroppedFiles(EditorState& s, HDROP dropHandle) {
    UniqueDrop drop(dropHandle);
    const UINT dropped = DragQueryFileA(drop.get(), 0xFFFFFFFF, nullptr, 0);
    const int tries = DroppedFilesToTry(s.work.count, static_cast<int>(dropped));
    for (int i = 0; i < tries; ++i) {
        char path[MAX_PATH] = {};
        const UINT n = DragQueryFileA(drop.get(), static_cast<UINT>(i), path, sizeof path);
        if (n == 0 || n >= sizeof path) {
            ShowRejected(s, path, {"Data", "Name"}); // a path that cannot be taken whole
            continue;
        }
        // Descriptions of search sites come as .xml files; everything else is taken for a
        // definition file.
        if (IsXmlFile(path))
            ImportOpenSearchFile(s, path);
        else
            ImportDefinitionFile(s, path);
    }
    SelectLast(s);
}

void ExportDefinitionFile(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    const EngineEntry& e = s.work.entries[sel];
    char path[MAX_PATH];
    char name[kNameSize];
    CopyBounded(name, sizeof name, e.Name, sizeof e.Name);
    JoinText(path, sizeof path, {name, ".sed"});
    if (!AskSavePath(s.window, kFilter, kDefaultExtension, path)) return;

    // The definition is written beside the target and put in its place only when it is
    // complete: a failed export leaves any old file as it was, and says so.
    const bool ok = ReplaceFileSafely(path, "sed", WriteDefinitionTo, &e);
    if (!ok) {
        char text[MAX_PATH + 64];
        JoinText(text, sizeof text,
                 {"定義ファイル書き出しに失敗しました。\n\nファイル名 : ", path});
        EditorMessage(s, text, MB_OK | MB_ICONERROR);
    }
}
