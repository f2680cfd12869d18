// Engine files on disk, the catalogue of the program directory and the active set.
#pragma once
#include <windows.h>

#include "engines/catalogue.h"
#include "engines/engine_entry.h"

extern EngineFileCatalogue g_catalogue;
extern EngineSet g_activeSet;

// Count (1..64) on success, -1 when the file cannot be opened, -2 when it is invalid.
// The set is unchanged on failure.
int ReadEngineFile(EngineSet& set, const char* path);

// 1 when written, 0 when an entry fails the test or the file cannot be written (a read-only
// file is not replaced). The file is replaced only when every byte has been written, so a
// failed save keeps the old file.
int WriteEngineFile(const EngineEntry* entries, const char* path, int count);

// Quick test: more than 64 bytes and the magic. Name is relative to the program directory.
bool IsEngineFile(const char* name);

int EnumerateEngineFiles();
int LoadEngineFileByName(const char* name);
bool EngineFileExists(const char* name);
// The full path of a name in the program directory; false (path empty) when it does not fit.
bool EngineFilePath(const char* name, char (&path)[MAX_PATH]);
void DeleteEngineFile(const char* name);
bool FileExists(const char* path);
// An existing file with the read-only attribute.
bool IsReadOnlyFile(const char* path);

// Writes the bytes as a new file (replacing one of that name), flushed to the disk.
bool WriteNewFile(const char* path, const void* data, size_t size);
// Writes what replaces the file at path into a temporary file beside it (write gets its
// path; prefix names it) and puts that in path's place in one step only when write
// succeeded: a failed write leaves the old file as it was and no temporary file behind. A
// read-only target is never replaced.
using FileWriter = bool (*)(const char* temp, const void* context);
bool ReplaceFileSafely(const char* path, const char* prefix, FileWriter write, const void* context);

// lstrcmpA as a NameCompare.
int CompareNames(const char* a, const char* b);
