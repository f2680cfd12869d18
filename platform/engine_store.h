// Engine files on disk and the catalogue of the data directory (dataDir, with its trailing
// backslash: the program directory, or the user's folder when that cannot be written).
#pragma once
#include <windows.h>

#include "engines/catalogue.h"
#include "engines/engine_entry.h"

// Count (1..64) on success, -1 when the file cannot be opened, -2 when it is invalid.
// The set is unchanged on failure.
int ReadEngineFile(EngineSet& set, const char* path);

// 1 when written, 0 when an entry fails the test or the file cannot be written (a read-only
// file is not replaced). The file is replaced only when every byte has been written, so a
// failed save keeps the old file; the thread's last error then tells why.
int WriteEngineFile(const EngineEntry* entries, const char* path, int count);

// Quick test: more than 64 bytes and the magic. Name is relative to the data directory.
bool IsEngineFile(const char* dataDir, const char* name);

// Fills the catalogue with the engine files of the data directory, sorted; the file named
// defaultFile becomes the current one. The number of files, -1 when none matched.
int EnumerateEngineFiles(EngineFileCatalogue& catalogue, const char* dataDir,
                         const char* defaultFile);
// Reads the named file into the set (ReadEngineFile's result); the set is unchanged on failure.
int LoadEngineFileByName(EngineSet& set, const char* dataDir, const char* name);
bool EngineFileExists(const char* dataDir, const char* name);
// The full path of a name in the data directory; false (path empty) when it does not fit.
bool EngineFilePath(const char* dataDir, const char* name, char (&path)[MAX_PATH]);
void DeleteEngineFile(const char* dataDir, const char* name);

// lstrcmpA as a NameCompare.
int CompareNames(const char* a, const char* b);
