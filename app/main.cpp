// The entry routine of vantu: the show state and the two switches (protocol/command_line.h).
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
    const StartSwitches switches = ParseStartSwitches(GetCommandLineW());
    ExitProcess(static_cast<UINT>(RunStartup(GetModuleHandleW(nullptr), show, switches)));
}
