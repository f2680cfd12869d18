#include "platform/file_replace.h"

#include "base/text.h"
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

bool IsReadOnlyFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool WriteNewFile(const char* path, const void* data, size_t size) {
    UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), static_cast<const uint8_t*>(data), size) &&
           FlushFileBuffers(file.get());
}

bool ReplaceFileSafely(const char* path, const char* prefix, FileWriter write,
                       const void* context) {
    // A read-only file is never replaced, also where the file system would let it be.
    if (IsReadOnlyFile(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Write beside the target, then put the new file in its place in one step, so that an
    // interrupted or failed write never destroys the old file.
    char dir[MAX_PATH];
    CopyBounded(dir, sizeof dir, path);
    if (!TrimToDirectory(dir)) CopyBounded(dir, sizeof dir, ".\\");
    char temp[MAX_PATH];
    if (!GetTempFileNameA(dir, prefix, 0, temp)) return false;
    const bool ok = write(temp, context) &&
                    MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        const DWORD error = GetLastError(); // the reason, not that of the clean-up
        DeleteFileA(temp);
        SetLastError(error);
    }
    return ok;
}
