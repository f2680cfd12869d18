#include "ui/editor/definition_io.h"

#include <commdlg.h>

#include <memory>
#include <new>

#include "base/text.h"
#include "engines/definition.h"
#include "platform/file_dialogs.h"
#include "platform/file_replace.h"
#include "platform/handles.h"
#include "platform/profile_file.h"
#include "platform/win_text.h"
#include "ui/editor/editor_logic.h"
#include "ui/editor/opensearch_commands.h"

namespace {

const wchar_t kFilter[] = L"ｻｰﾁｴﾝｼﾞﾝﾃﾞｰﾀ (*.sed)\0*.sed\0";
const wchar_t kDefaultExtension[] = L"sed";
constexpr DWORD kOpenResultSize = 50000;

// A definition file read as Shift-JIS bytes (platform/profile_file.h), with the rules of the
// definition file.
DefinitionReader DocumentReader(const ProfileDocument& doc) {
    return {&doc,
            [](const void* source, const char* section, const char* key, DefinitionText& out) {
                char buffer[kDefinitionValueBuffer];
                buffer[0] = '\0';
                const size_t got = static_cast<const ProfileDocument*>(source)->Get(
                    section, key, buffer, sizeof buffer);
                out.Assign(ProfileValue(buffer, sizeof buffer, got));
            },
            [](const void* source, const char* section, const char* key) {
                return static_cast<const ProfileDocument*>(source)->GetInt(section, key, 0);
            }};
}

void ShowRejected(EditorState& s, const wchar_t* path, const DefinitionFault& fault) {
    MessageText text(L"定義ファイルが不正です。\n\nファイル名 : ");
    text.Append(View(path));
    text.Append(L"\nセクション : ");
    AppendSjis(text, fault.section);
    text.Append(L"\nキー : ");
    AppendSjis(text, fault.key);
    EditorMessage(s, text.c_str(), MB_OK | MB_ICONWARNING);
}

bool IsXmlFile(const wchar_t* path) {
    const std::wstring_view p = View(path);
    return p.size() >= 4 && lstrcmpiW(path + p.size() - 4, L".xml") == 0;
}

void SelectLast(EditorState& s) {
    SelectEntry(s, s.work.count - 1);
}

// An entry and its extras, as an export writes them.
struct ExportedEntry {
    const EngineEntry& entry;
    const EngineExtras& extras;
};

// Writes every value of the entry (the context, an ExportedEntry) into the file.
bool WriteDefinitionTo(const wchar_t* path, const void* context) {
    const ExportedEntry& x = *static_cast<const ExportedEntry*>(context);
    DefinitionValue values[kMaxDefinitionValues];
    const int n = DefinitionValues(x.entry, values, x.extras);
    ProfileDocument doc;
    for (int i = 0; i < n; ++i)
        if (!doc.Set(values[i].section, values[i].key, values[i].text)) return false;
    const std::string_view bytes = doc.Bytes();
    return WriteNewFile(path, bytes.data(), bytes.size());
}

} // namespace

ImportResult ImportDefinitionFile(EditorState& s, const wchar_t* path) {
    if (RefuseWhenFull(s)) return ImportResult::Full;
    EngineEntry e;
    ProfileDocument doc;
    LoadProfileFile(path, doc); // a file that cannot be read reads as all keys missing
    const DefinitionFault fault = EntryFromDefinition(DocumentReader(doc), e);
    if (fault.section) {
        ShowRejected(s, path, fault);
        return ImportResult::Rejected;
    }
    EngineExtras extras;
    ExtrasFromDefinition(DocumentReader(doc), extras); // a refused value is left out
    AppendEntry(s, e, extras);
    return ImportResult::Added;
}

void ImportDefinitionFiles(EditorState& s) {
    if (RefuseWhenFull(s)) return;
    std::unique_ptr<wchar_t[]> result(new (std::nothrow) wchar_t[kOpenResultSize]());
    if (!result) return;
    if (!AskOpenPath(s.window, kFilter, kDefaultExtension, result.get(), kOpenResultSize, true))
        return;

    const wchar_t* first = result.get();
    const wchar_t* name = first + lstrlenW(first) + 1;
    if (*name == L'\0') {
        ImportDefinitionFile(s, first); // one full path
    } else {
        for (; *name != L'\0'; name += lstrlenW(name) + 1) {
            wchar_t path[MAX_PATH];
            if (!JoinFolderAndName(path, MAX_PATH, View(first), View(name))) {
                // Too long for a path: it cannot be opened, so it reads as all keys missing.
                ShowRejected(s, name, {"Data", "Name"});
                continue;
            }
            if (ImportDefinitionFile(s, path) == ImportResult::Full) break;
        }
    }
    SelectLast(s);
}

void ImportDroppedFiles(EditorState& s, HDROP dropHandle) {
    UniqueDrop drop(dropHandle);
    const UINT dropped = DragQueryFileW(drop.get(), 0xFFFFFFFF, nullptr, 0);
    const int tries = DroppedFilesToTry(s.work.count, static_cast<int>(dropped));
    for (int i = 0; i < tries; ++i) {
        wchar_t path[MAX_PATH] = {};
        const UINT n = DragQueryFileW(drop.get(), static_cast<UINT>(i), path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) {
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
    wchar_t path[MAX_PATH];
    PathText name = FromSjisField<MAX_PATH>(e.Name);
    name.Append(L".sed");
    lstrcpynW(path, name.c_str(), MAX_PATH);
    if (!AskSavePath(s.window, kFilter, kDefaultExtension, path)) return;

    // The definition is written beside the target and put in its place only when it is
    // complete: a failed export leaves any old file as it was, and says so.
    const ExportedEntry exported{e, s.work.extras[sel]};
    const bool ok = ReplaceFileSafely(path, L"sed", WriteDefinitionTo, &exported);
    if (!ok) {
        MessageText text(L"定義ファイル書き出しに失敗しました。\n\nファイル名 : ");
        text.Append(View(path));
        EditorMessage(s, text.c_str(), MB_OK | MB_ICONERROR);
    }
}
