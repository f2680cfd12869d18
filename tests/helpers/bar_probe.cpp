// Tells a test outside Windows how the search bar is: prints one line
// "bar=1 visible=1 iconic=0 foreground=1 keyword=<hex of its Shift-JIS bytes>", or "bar=0".
// With an argument "close" it closes the bar and waits for its process to end.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/handles.h"
#include "protocol/bar_protocol.h"

int main(int argc, char** argv) {
    HWND bar = FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE);
    if (!bar || !GetDlgItem(bar, 1001)) {
        std::printf("bar=0\n");
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "close") == 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(bar, &pid);
        UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
        if (process) TerminateProcess(process.get(), 0);
        if (process) WaitForSingleObject(process.get(), 5000);
        std::printf("closed\n");
        return 0;
    }
    char text[1024] = {};
    SendMessageTimeoutA(GetDlgItem(bar, 1001), WM_GETTEXT, sizeof text,
                        reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    std::printf("bar=1 visible=%d iconic=%d foreground=%d keyword=", IsWindowVisible(bar) ? 1 : 0,
                IsIconic(bar) ? 1 : 0, GetForegroundWindow() == bar ? 1 : 0);
    for (const char* p = text; *p; ++p)
        std::printf("%02X", static_cast<unsigned char>(*p));
    std::printf("\n");
    return 0;
}
