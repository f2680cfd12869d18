// The program's start: single instance, program directory, settings, engine files, bar.
#pragma once
#include <windows.h>

#include "protocol/command_line.h"

// 0 after a normal end, 0 when another instance runs, 1 when no engine file loads. With
// /unregister: RunUnregister's result, without a window. With /tray: the bar starts hidden in
// the tray (minimised when there is no tray icon), and a running bar is left where it is.
int RunStartup(HINSTANCE instance, int showState, const StartSwitches& switches = {});
