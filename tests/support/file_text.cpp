#include "tests/support/file_text.h"

#include "platform/handles.h"

bool WriteFileText(const std::string& path, const std::string& text) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f &&
           WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool ReadWholeFile(const std::string& path, std::string& bytes, DWORD busyMs) {
    bytes.clear();
    UniqueFile f;
    for (const DWORD start = GetTickCount();;) {
        f.reset(CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
        if (f || GetLastError() != ERROR_SHARING_VIOLATION || GetTickCount() - start >= busyMs)
            break;
        Sleep(20);
    }
    if (!f) return false;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    return true;
}

std::string ReadFileText(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string EnvText(const char* name) {
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? buf : "";
}

bool KeyExists(HKEY root, const char* path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    UniqueRegKey key(raw);
    return true;
}

bool ReadValue(HKEY root, const char* path, const char* name, DWORD& type, std::string& data) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    UniqueRegKey key(raw);
    char buf[1024] = {};
    DWORD size = sizeof buf;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) !=
        ERROR_SUCCESS)
        return false;
    data.assign(buf, size);
    return true;
}

std::string RegText(HKEY root, const char* path, const char* name) {
    DWORD type = 0;
    std::string data;
    if (!ReadValue(root, path, name, type, data)) return "<none>";
    if (type == REG_DWORD && data.size() == 4)
        return std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
    return type == REG_SZ ? std::string(data.c_str()) : "<none>";
}
