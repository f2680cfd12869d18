// A program that never waits for input: started as vantu.exe, it shows whether the bridge
// gives up waiting for it. It writes its process id to "busy.pid" beside itself so that the
// test can end it, and ends by itself after two minutes.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/handles.h"

int main() {
    char path[MAX_PATH] = {};
    const DWORD len = GetModuleFileNameA(nullptr, path, sizeof path);
    if (len == 0 || len >= sizeof path) return 1;
    char* name = path + len;
    while (name > path && name[-1] != '\\')
        --name;
    const char pidName[] = "busy.pid";
    if (static_cast<size_t>(name - path) + sizeof pidName > sizeof path) return 1;
    std::memcpy(name, pidName, sizeof pidName);
    {
        UniqueFile file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return 1;
        char text[32];
        const int n = std::snprintf(text, sizeof text, "%lu", GetCurrentProcessId());
        DWORD written = 0;
        WriteFile(file.get(), text, static_cast<DWORD>(n), &written, nullptr);
    }
    // A window, but no message loop: the process never becomes idle for input.
    CreateWindowExA(0, "STATIC", "busy", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
    Sleep(120000);
    return 0;
}
