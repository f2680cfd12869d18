#include "app/globals.h"

#include "app/text.h"

HINSTANCE g_instance = nullptr;
char g_programDir[MAX_PATH] = {};
char g_iniPath[MAX_PATH] = {};
char g_helpPath[MAX_PATH] = {};

namespace {

// The program directory and a file name, cut to the buffer as a formatted copy would be.
void SiblingFile(char (&dest)[MAX_PATH], const char* name) {
    FixedText<MAX_PATH> path(std::string_view(g_programDir, FieldLength(g_programDir, MAX_PATH)));
    path.Append(name);
    CopyToField(dest, path);
}

} // namespace

void SetProgramDirectory(const char* dir) {
    CopyBounded(g_programDir, sizeof g_programDir, dir);
    SiblingFile(g_iniPath, "vantu.ini");
    SiblingFile(g_helpPath, "vantu.hlp");
}
