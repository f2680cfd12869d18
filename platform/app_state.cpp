#include "platform/app_state.h"

#include "base/text.h"

namespace {

// The program directory and a file name, cut to the buffer as a formatted copy would be.
void SiblingFile(const ProgramPaths& paths, char (&dest)[MAX_PATH], const char* name) {
    FixedText<MAX_PATH> path(
        std::string_view(paths.programDir, FieldLength(paths.programDir, MAX_PATH)));
    path.Append(name);
    CopyToField(dest, path);
}

} // namespace

void SetProgramDirectory(ProgramPaths& paths, const char* dir) {
    CopyBounded(paths.programDir, sizeof paths.programDir, dir);
    SiblingFile(paths, paths.iniPath, "vantu.ini");
    SiblingFile(paths, paths.helpPath, "vantu.hlp");
}
