#include "platform/data_folder.h"

#include <shlobj.h>

#include "platform/engine_store.h"
#include "platform/handles.h"
#include "platform/win_text.h"

namespace {

bool IsFolder(const wchar_t* path) {
    const DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasEngineFile(const wchar_t* dir) {
    PathText pattern;
    if (!JoinWidePath(pattern, View(dir), L"*.sef")) return false;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(pattern.c_str(), &fd));
    return static_cast<bool>(find);
}

// Copies dir\name to the same name in dataDir unless it is there already.
bool CopyIn(const wchar_t* programDir, const wchar_t* dataDir, const wchar_t* name) {
    PathText from, to;
    return JoinWidePath(from, View(programDir), View(name)) &&
           JoinWidePath(to, View(dataDir), View(name)) &&
           CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
}

} // namespace

bool FolderIsWritable(const wchar_t* dir) {
    wchar_t name[32];
    wsprintfW(name, L"~vantu%08lX.tmp", GetCurrentProcessId());
    PathText path;
    if (!JoinWidePath(path, View(dir), View(name))) return false;
    // Removed when the handle goes; CREATE_NEW never touches a file of the same name.
    UniqueFile probe(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(probe);
}

int SeedDataFolder(const wchar_t* programDir, const wchar_t* dataDir, bool withSettings) {
    int copied = 0;
    PathText pattern;
    if (JoinWidePath(pattern, View(programDir), L"*.sef")) {
        WIN32_FIND_DATAW fd;
        UniqueFind find(FindFirstFileW(pattern.c_str(), &fd));
        for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &fd)) {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                CopyIn(programDir, dataDir, fd.cFileName)) {
                ++copied;
                // Its companion goes with it when there is one.
                PathText companion;
                if (CompanionPath(fd.cFileName, companion))
                    CopyIn(programDir, dataDir, companion.c_str());
            }
        }
    }
    if (withSettings && CopyIn(programDir, dataDir, L"vantu.ini")) ++copied;
    return copied;
}

bool UserDataFolder(wchar_t (&dir)[MAX_PATH]) {
    wchar_t appData[MAX_PATH] = {};
    // Made when missing: the roaming folder of a new profile may not exist yet.
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData)) ||
        !appData[0])
        return false;
    PathText path;
    if (!JoinWidePath(path, View(appData),
                      appData[lstrlenW(appData) - 1] == L'\\' ? L"Morvel\\" : L"\\Morvel\\"))
        return false;
    lstrcpynW(dir, path.c_str(), MAX_PATH);
    return true;
}

DataFolderKind ChooseDataFolder(ProgramPaths& paths) {
    SetDataDirectory(paths, paths.programDir);
    if (FolderIsWritable(paths.programDir)) return DataFolderKind::kProgramFolder;

    wchar_t dir[MAX_PATH];
    if (!UserDataFolder(dir)) return DataFolderKind::kProgramFolder;
    // The first start here fills the new folder with what the program folder holds; one
    // left without any engine file gets them again rather than starting with none.
    const bool fresh = !IsFolder(dir);
    if (fresh && !CreateDirectoryW(dir, nullptr) && !IsFolder(dir))
        return DataFolderKind::kProgramFolder;
    if (fresh || !HasEngineFile(dir)) SeedDataFolder(paths.programDir, dir, fresh);
    SetDataDirectory(paths, dir);
    return DataFolderKind::kUserFolder;
}
