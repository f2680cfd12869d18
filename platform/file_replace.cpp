#include "platform/file_replace.h"

#include <cstdint>

#include "platform/handles.h"

namespace {

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

} // namespace

bool IsReadOnlyFile(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool FileExists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool WriteNewFile(const wchar_t* path, const void* data, size_t size) {
    UniqueFile file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), static_cast<const uint8_t*>(data), size) &&
           FlushFileBuffers(file.get());
}

bool ReplaceFileSafely(const wchar_t* path, const wchar_t* prefix, FileWriter write,
                       const void* context) {
    // A read-only file is never replaced, also where the file system would let it be.
    if (IsReadOnlyFile(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Write beside the target, then put the new file in its place in one step, so that an
    // interrupted or failed write never destroys the old file.
    wchar_t dir[MAX_PATH];
    lstrcpynW(dir, path, MAX_PATH);
    wchar_t* slash = nullptr;
    for (wchar_t* c = dir; *c; ++c)
        if (*c == L'\\') slash = c;
    if (slash) {
        slash[1] = L'\0';
    } else {
        lstrcpyW(dir, L".\\");
    }
    wchar_t temp[MAX_PATH];
    if (!GetTempFileNameW(dir, prefix, 0, temp)) return false;
    const bool ok = write(temp, context) &&
                    MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        const DWORD error = GetLastError(); // the reason, not that of the clean-up
        DeleteFileW(temp);
        SetLastError(error);
    }
    return ok;
}
