#include "platform/app_state.h"

#include "platform/win_text.h"

namespace {

// A directory and a file name, cut to the buffer.
void SiblingFile(const wchar_t (&dir)[MAX_PATH], wchar_t (&dest)[MAX_PATH], const wchar_t* name) {
    PathText path(View(dir));
    path.Append(View(name));
    lstrcpynW(dest, path.c_str(), MAX_PATH);
}

} // namespace

void SetProgramDirectory(ProgramPaths& paths, const wchar_t* dir) {
    lstrcpynW(paths.programDir, dir, MAX_PATH);
    SiblingFile(paths.programDir, paths.helpPath, L"vantu.hlp");
    SetDataDirectory(paths, paths.programDir);
}

void SetDataDirectory(ProgramPaths& paths, const wchar_t* dir) {
    if (dir != paths.dataDir) lstrcpynW(paths.dataDir, dir, MAX_PATH);
    SiblingFile(paths.dataDir, paths.iniPath, L"vantu.ini");
}
