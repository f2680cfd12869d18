#include "platform/native_host_registration.h"

#include "platform/handles.h"
#include "protocol/native_host_manifest.h"

namespace {

constexpr int kPathChars = MAX_PATH * 2;

struct HostFiles {
    wchar_t host[kPathChars] = {}, chromium[kPathChars] = {}, firefox[kPathChars] = {};
    bool ok = false;
};

// dir (wide, with its trailing backslash) followed by an ASCII name; false when it does not fit.
bool JoinWide(wchar_t (&out)[kPathChars], const wchar_t* dir, const char* name) {
    const int d = lstrlenW(dir), n = lstrlenA(name);
    if (d + n >= kPathChars) return false;
    lstrcpyW(out, dir);
    for (int i = 0; i <= n; ++i)
        out[d + i] = static_cast<unsigned char>(name[i]);
    return true;
}

// A directory with its trailing backslash.
bool IsDirectory(const wchar_t* dir) {
    const int n = dir ? lstrlenW(dir) : 0;
    return n > 0 && dir[n - 1] == L'\\';
}

HostFiles FilesOf(const wchar_t* programDir, const wchar_t* manifestDir) {
    HostFiles f;
    if (!IsDirectory(programDir) || !IsDirectory(manifestDir)) return f;
    f.ok = JoinWide(f.host, programDir, host::kHostProgram) &&
           JoinWide(f.chromium, manifestDir, host::kChromiumManifestName) &&
           JoinWide(f.firefox, manifestDir, host::kFirefoxManifestName);
    return f;
}

bool FileExists(const wchar_t* path) {
    const DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteWholeFile(const wchar_t* path, const TextBuffer& bytes) {
    UniqueFile file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD wrote = 0;
    const bool ok =
        WriteFile(file.get(), bytes.c_str(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
        wrote == bytes.size();
    file.reset();
    if (!ok) DeleteFileW(path);
    return ok;
}

// Removes a file; one that is not there is no error.
bool RemoveFile(const wchar_t* path) {
    if (DeleteFileW(path)) return true;
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
}

bool RemoveKey(const wchar_t* key) {
    const LONG r = RegDeleteKeyW(HKEY_CURRENT_USER, key);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND || r == ERROR_PATH_NOT_FOUND;
}

bool WriteKey(const wchar_t* key, const wchar_t* value) {
    UniqueRegKey k;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, k.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(k.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// Whether the default value of a key is the text expected (a missing key or value, or one
// that is not a text, is not).
bool KeyNames(const wchar_t* key, const wchar_t* expected) {
    UniqueRegKey k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS)
        return false;
    wchar_t buffer[kPathChars] = {};
    DWORD type = 0, size = sizeof buffer - sizeof(wchar_t); // room for a terminator
    if (RegQueryValueExW(k.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    buffer[size / sizeof(wchar_t)] = L'\0';
    return lstrcmpiW(buffer, expected) == 0;
}

const wchar_t* ManifestFor(const HostFiles& f, size_t keyIndex) {
    // Chrome and Edge share the Chromium manifest; the last key is Firefox's.
    return keyIndex + 1 < sizeof kNativeHostKeys / sizeof kNativeHostKeys[0] ? f.chromium
                                                                             : f.firefox;
}

} // namespace

bool IsNativeHostRegistered(const wchar_t* programDir, const wchar_t* manifestDir) {
    const HostFiles f = FilesOf(programDir, manifestDir);
    if (!f.ok || !FileExists(f.chromium) || !FileExists(f.firefox)) return false;
    for (size_t i = 0; i < sizeof kNativeHostKeys / sizeof kNativeHostKeys[0]; ++i)
        if (!KeyNames(kNativeHostKeys[i], ManifestFor(f, i))) return false;
    return true;
}

NativeHostResult RegisterNativeHost(const wchar_t* programDir, const wchar_t* manifestDir) {
    const HostFiles f = FilesOf(programDir, manifestDir);
    if (!f.ok || !FileExists(f.host)) return NativeHostResult::kHostMissing;
    char hostPath[kPathChars * 3] = {};
    if (!WideCharToMultiByte(CP_UTF8, 0, f.host, -1, hostPath, sizeof hostPath, nullptr, nullptr))
        return NativeHostResult::kManifestFailed;
    FixedText<host::kHostManifestSize> chromium, firefox;
    if (!host::HostManifest(chromium, host::BrowserFamily::kChromium, hostPath) ||
        !host::HostManifest(firefox, host::BrowserFamily::kFirefox, hostPath) ||
        !WriteWholeFile(f.chromium, chromium) || !WriteWholeFile(f.firefox, firefox)) {
        RemoveFile(f.chromium);
        RemoveFile(f.firefox);
        return NativeHostResult::kManifestFailed;
    }
    for (size_t i = 0; i < sizeof kNativeHostKeys / sizeof kNativeHostKeys[0]; ++i) {
        if (!WriteKey(kNativeHostKeys[i], ManifestFor(f, i))) {
            UnregisterNativeHost(manifestDir);
            return NativeHostResult::kRegistryFailed;
        }
    }
    return NativeHostResult::kOk;
}

NativeHostResult UnregisterNativeHost(const wchar_t* manifestDir) {
    bool keysGone = true;
    for (const wchar_t* key : kNativeHostKeys)
        keysGone = RemoveKey(key) && keysGone;
    const HostFiles f = FilesOf(manifestDir, manifestDir);
    bool filesGone = true;
    if (f.ok) {
        filesGone = RemoveFile(f.chromium);
        filesGone = RemoveFile(f.firefox) && filesGone;
    }
    if (!keysGone) return NativeHostResult::kRegistryFailed;
    return filesGone ? NativeHostResult::kOk : NativeHostResult::kManifestFailed;
}
