// Files the program writes: existence tests, a new file written whole, and the one safe
// replacement that every file the program saves goes through.
#pragma once
#include <windows.h>

#include <cstddef>

bool FileExists(const wchar_t* path);
// An existing file with the read-only attribute.
bool IsReadOnlyFile(const wchar_t* path);

// Writes the bytes as a new file (replacing one of that name), flushed to the disk.
bool WriteNewFile(const wchar_t* path, const void* data, size_t size);
// Writes what replaces the file at path into a temporary file beside it (write gets its
// path; prefix names it) and puts that in path's place in one step only when write
// succeeded: a failed write leaves the old file as it was and no temporary file behind. A
// read-only target is never replaced. On failure the thread's last error tells why.
using FileWriter = bool (*)(const wchar_t* temp, const void* context);
bool ReplaceFileSafely(const wchar_t* path, const wchar_t* prefix, FileWriter write,
                       const void* context);
