// The program's start: single instance, program directory, settings, engine files, bar.
#pragma once
#include <windows.h>

// 0 after a normal end, 0 when another instance runs, 1 when no engine file loads.
int RunStartup(HINSTANCE instance, int showState);
