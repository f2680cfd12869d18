// Files the program writes: existence tests, a new file written whole, and the one safe
// replacement that every file the program saves goes through.
#pragma once
#include <windows.h>

#include <cstddef>

bool FileExists(const char* path);
// An existing file with the read-only attribute.
bool IsReadOnlyFile(const char* path);

// Writes the bytes as a new file (replacing one of that name), flushed to the disk.
bool WriteNewFile(const char* path, const void* data, size_t size);
// Writes what replaces the file at path into a temporary file beside it (write gets its
// path; prefix names it) and puts that in path's place in one step only when write
// succeeded: a failed write leaves the old file as it was and no temporary file behind. A
// read-only target is never replaced. On failure the thread's last error tells why.
using FileWriter = bool (*)(const char* temp, const void* context);
bool ReplaceFileSafely(const char* path, const char* prefix, FileWriter write, const void* context);
