#include "platform/app_state.h"

#include "base/text.h"

namespace {

// A directory and a file name, cut to the buffer as a formatted copy would be.
void SiblingFile(const char (&dir)[MAX_PATH], char (&dest)[MAX_PATH], const char* name) {
    FixedText<MAX_PATH> path(std::string_view(dir, FieldLength(dir, MAX_PATH)));
    path.Append(name);
    CopyToField(dest, path);
}

} // namespace

void SetProgramDirectory(ProgramPaths& paths, const char* dir) {
    CopyBounded(paths.programDir, sizeof paths.programDir, dir);
    SiblingFile(paths.programDir, paths.helpPath, "vantu.hlp");
    SetDataDirectory(paths, paths.programDir);
}

void SetDataDirectory(ProgramPaths& paths, const char* dir) {
    if (dir != paths.dataDir) CopyBounded(paths.dataDir, sizeof paths.dataDir, dir);
    SiblingFile(paths.dataDir, paths.iniPath, "vantu.ini");
}
