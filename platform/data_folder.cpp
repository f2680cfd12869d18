#include "platform/data_folder.h"

#include <shlobj.h>

#include "base/text.h"
#include "platform/handles.h"

namespace {

// dir followed by name; false when it does not fit.
bool Join(char (&out)[MAX_PATH], const char* dir, const char* name) {
    FixedText<MAX_PATH> text(std::string_view(dir, FieldLength(dir, MAX_PATH)));
    text.Append(name);
    if (text.cut()) return false;
    CopyToField(out, text);
    return true;
}

bool IsFolder(const char* path) {
    const DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasEngineFile(const char* dir) {
    char pattern[MAX_PATH];
    if (!Join(pattern, dir, "*.sef")) return false;
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA(pattern, &fd));
    return static_cast<bool>(find);
}

// Copies dir\name to the same name in dataDir unless it is there already.
bool CopyIn(const char* programDir, const char* dataDir, const char* name) {
    char from[MAX_PATH], to[MAX_PATH];
    return Join(from, programDir, name) && Join(to, dataDir, name) &&
           CopyFileA(from, to, TRUE) != FALSE;
}

} // namespace

bool FolderIsWritable(const char* dir) {
    char name[32];
    wsprintfA(name, "~vantu%08lX.tmp", GetCurrentProcessId());
    char path[MAX_PATH];
    if (!Join(path, dir, name)) return false;
    // Removed when the handle goes; CREATE_NEW never touches a file of the same name.
    UniqueFile probe(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(probe);
}

int SeedDataFolder(const char* programDir, const char* dataDir, bool withSettings) {
    int copied = 0;
    char pattern[MAX_PATH];
    if (Join(pattern, programDir, "*.sef")) {
        WIN32_FIND_DATAA fd;
        UniqueFind find(FindFirstFileA(pattern, &fd));
        for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.get(), &fd)) {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                CopyIn(programDir, dataDir, fd.cFileName))
                ++copied;
        }
    }
    if (withSettings && CopyIn(programDir, dataDir, "vantu.ini")) ++copied;
    return copied;
}

bool UserDataFolder(char (&dir)[MAX_PATH]) {
    char appData[MAX_PATH] = {};
    // Made when missing: the roaming folder of a new profile may not exist yet.
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData)) ||
        !appData[0])
        return false;
    return Join(dir, appData, appData[lstrlenA(appData) - 1] == '\\' ? "Morvel\\" : "\\Morvel\\");
}

DataFolderKind ChooseDataFolder(ProgramPaths& paths) {
    SetDataDirectory(paths, paths.programDir);
    if (FolderIsWritable(paths.programDir)) return DataFolderKind::kProgramFolder;

    char dir[MAX_PATH];
    if (!UserDataFolder(dir)) return DataFolderKind::kProgramFolder;
    // The first start here fills the new folder with what the program folder holds; one
    // left without any engine file gets them again rather than starting with none.
    const bool fresh = !IsFolder(dir);
    if (fresh && !CreateDirectoryA(dir, nullptr) && !IsFolder(dir))
        return DataFolderKind::kProgramFolder;
    if (fresh || !HasEngineFile(dir)) SeedDataFolder(paths.programDir, dir, fresh);
    SetDataDirectory(paths, dir);
    return DataFolderKind::kUserFolder;
}
