#include "ui/native_host_registration.h"

#include <string>

#include "app/globals.h"
#include "app/handles.h"
#include "host/host_manifest.h"

namespace {

struct HostFiles {
    std::wstring host, chromium, firefox;
    bool ok = false;
};

std::wstring Widen(const char* ansi) {
    const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, &out[0], n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

HostFiles FilesOf(const char* programDir) {
    HostFiles f;
    const std::wstring dir = Widen(programDir ? programDir : g_programDir);
    if (dir.empty() || dir.back() != L'\\') return f;
    f.host = dir + Widen(host::kHostProgram);
    f.chromium = dir + Widen(host::kChromiumManifestName);
    f.firefox = dir + Widen(host::kFirefoxManifestName);
    f.ok = true;
    return f;
}

bool FileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD wrote = 0;
    const bool ok =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
        wrote == bytes.size();
    file.reset();
    if (!ok) DeleteFileW(path.c_str());
    return ok;
}

// Removes a file; one that is not there is no error.
bool RemoveFile(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return true;
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
}

bool RemoveKey(const wchar_t* key) {
    const LONG r = RegDeleteKeyW(HKEY_CURRENT_USER, key);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND || r == ERROR_PATH_NOT_FOUND;
}

bool WriteKey(const wchar_t* key, const std::wstring& value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueRegKey k(raw);
    return RegSetValueExW(k.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// The default value of a key (empty when the key or the value is missing or not a text).
std::wstring ReadKey(const wchar_t* key) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::wstring();
    UniqueRegKey k(raw);
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD type = 0, size = sizeof buffer - sizeof(wchar_t); // room for a terminator
    if (RegQueryValueExW(k.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::wstring();
    buffer[size / sizeof(wchar_t)] = L'\0';
    return buffer;
}

const std::wstring& ManifestFor(const HostFiles& f, size_t keyIndex) {
    // Chrome and Edge share the Chromium manifest; the last key is Firefox's.
    return keyIndex + 1 < sizeof kNativeHostKeys / sizeof kNativeHostKeys[0] ? f.chromium
                                                                             : f.firefox;
}

} // namespace

bool IsNativeHostRegistered(const char* programDir) {
    const HostFiles f = FilesOf(programDir);
    if (!f.ok || !FileExists(f.chromium) || !FileExists(f.firefox)) return false;
    for (size_t i = 0; i < sizeof kNativeHostKeys / sizeof kNativeHostKeys[0]; ++i)
        if (lstrcmpiW(ReadKey(kNativeHostKeys[i]).c_str(), ManifestFor(f, i).c_str()) != 0)
            return false;
    return true;
}

NativeHostResult RegisterNativeHost(const char* programDir) {
    const HostFiles f = FilesOf(programDir);
    if (!f.ok || !FileExists(f.host)) return NativeHostResult::kHostMissing;
    const std::string hostPath = Utf8(f.host);
    if (!WriteWholeFile(f.chromium, host::HostManifest(host::BrowserFamily::kChromium, hostPath)) ||
        !WriteWholeFile(f.firefox, host::HostManifest(host::BrowserFamily::kFirefox, hostPath))) {
        RemoveFile(f.chromium);
        RemoveFile(f.firefox);
        return NativeHostResult::kManifestFailed;
    }
    for (size_t i = 0; i < sizeof kNativeHostKeys / sizeof kNativeHostKeys[0]; ++i) {
        if (!WriteKey(kNativeHostKeys[i], ManifestFor(f, i))) {
            UnregisterNativeHost(programDir);
            return NativeHostResult::kRegistryFailed;
        }
    }
    return NativeHostResult::kOk;
}

NativeHostResult UnregisterNativeHost(const char* programDir) {
    bool keysGone = true;
    for (const wchar_t* key : kNativeHostKeys)
        keysGone = RemoveKey(key) && keysGone;
    const HostFiles f = FilesOf(programDir);
    bool filesGone = true;
    if (f.ok) {
        filesGone = RemoveFile(f.chromium);
        filesGone = RemoveFile(f.firefox) && filesGone;
    }
    if (!keysGone) return NativeHostResult::kRegistryFailed;
    return filesGone ? NativeHostResult::kOk : NativeHostResult::kManifestFailed;
}
