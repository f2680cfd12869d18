// A stand-in browser for the tests: appends its whole command line and CR LF to the file
// named by MORVEL_BROWSER_LOG (or "browser.log" beside this program) and ends.
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/handles.h"

int main() {
    char path[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("MORVEL_BROWSER_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) {
        const DWORD len = GetModuleFileNameA(nullptr, path, sizeof path);
        if (len == 0 || len >= sizeof path) return 1;
        char* slash = std::strrchr(path, '\\');
        char* name = slash ? slash + 1 : path;
        const char log[] = "browser.log";
        if (static_cast<size_t>(name - path) + sizeof log > sizeof path) return 1;
        std::memcpy(name, log, sizeof log);
    }
    // Several starts may append at once: FILE_APPEND_DATA writes go to the end atomically.
    UniqueFile file(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 1;
    const std::string line = std::string(GetCommandLineA()) + "\r\n";
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return ok && written == line.size() ? 0 : 1;
}
