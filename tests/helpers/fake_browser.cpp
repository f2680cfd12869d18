// A stand-in browser for the tests: appends its whole command line and CR LF to the file
// named by MORVEL_BROWSER_LOG (or "browser.log" beside this program) in the ANSI code page,
// and the same line in UTF-8 to that name with ".utf8" added, and ends.
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/handles.h"

namespace {

bool AppendLine(const std::string& path, const std::string& line) {
    // Several starts may append at once: FILE_APPEND_DATA writes go to the end atomically.
    UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return ok && written == line.size();
}

} // namespace

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
    const std::wstring wide = GetCommandLineW();
    std::string utf8(wide.size() * 3 + 1, '\0');
    const int n8 = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(n8 > 0 ? n8 : 0);
    const bool ok = AppendLine(path, std::string(GetCommandLineA()) + "\r\n");
    return ok && AppendLine(std::string(path) + ".utf8", utf8 + "\r\n") ? 0 : 1;
}
