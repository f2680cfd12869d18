#include "platform/profile_file.h"

#include <memory>
#include <new>

#include "platform/file_replace.h"
#include "platform/handles.h"

namespace {

bool WriteBytes(const wchar_t* temp, const void* context) {
    const std::string_view bytes = static_cast<const ProfileDocument*>(context)->Bytes();
    return WriteNewFile(temp, bytes.data(), bytes.size());
}

} // namespace

bool LoadProfileFile(const wchar_t* path, ProfileDocument& doc) {
    UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD e = GetLastError();
        doc.Load({});
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) ||
        size.QuadPart > static_cast<LONGLONG>(ProfileDocument::kMaxBytes)) {
        doc.Load({});
        return false;
    }
    const DWORD n = static_cast<DWORD>(size.QuadPart);
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[n + 1]);
    DWORD got = 0;
    if (!bytes || !ReadFile(file.get(), bytes.get(), n, &got, nullptr) || got != n) {
        doc.Load({});
        return false;
    }
    return doc.Load(std::string_view(bytes.get(), n));
}

bool SaveProfileFile(const wchar_t* path, const ProfileDocument& doc) {
    return ReplaceFileSafely(path, L"ini", WriteBytes, &doc);
}

int ReadProfileInt(const wchar_t* path, const char* section, const char* key, int def) {
    ProfileDocument doc;
    LoadProfileFile(path, doc);
    return doc.GetInt(section, key, def);
}

bool WriteProfileInt(const wchar_t* path, const char* section, const char* key, int value) {
    ProfileDocument doc;
    if (!LoadProfileFile(path, doc)) return false;
    char text[16];
    wsprintfA(text, "%d", value);
    return doc.Set(section, key, text) && SaveProfileFile(path, doc);
}
