// Process-wide state that start-up establishes and the rest of the program reads.
#pragma once
#include <windows.h>

extern HINSTANCE g_instance;
extern char g_programDir[MAX_PATH]; // ends with a backslash
extern char g_iniPath[MAX_PATH];    // program directory + "vantu.ini"
extern char g_helpPath[MAX_PATH];   // program directory + "vantu.hlp"

// Sets the program directory and the paths built from it (also used by tests).
void SetProgramDirectory(const char* dir);
