#include "app/globals.h"

#include <cstdio>

#include "app/text.h"

HINSTANCE g_instance = nullptr;
char g_programDir[MAX_PATH] = {};
char g_iniPath[MAX_PATH] = {};
char g_helpPath[MAX_PATH] = {};

void SetProgramDirectory(const char* dir) {
    CopyBounded(g_programDir, sizeof g_programDir, dir);
    std::snprintf(g_iniPath, sizeof g_iniPath, "%svantu.ini", g_programDir);
    std::snprintf(g_helpPath, sizeof g_helpPath, "%svantu.hlp", g_programDir);
}
