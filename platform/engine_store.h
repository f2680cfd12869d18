// Engine files on disk and the catalogue of the data directory (dataDir, with its trailing
// backslash: the program directory, or the user's folder when that cannot be written).
#pragma once
#include <windows.h>

#include "engines/catalogue.h"
#include "engines/engine_entry.h"
#include "platform/app_state.h"

// Engine file names are Shift-JIS, as the catalogue, the settings file and the editor keep
// them; the paths they are found by are UTF-16.

// Count (1..64) on success, -1 when the file cannot be opened, -2 when it is invalid.
// The set is unchanged on failure.
int ReadEngineFile(EngineSet& set, const wchar_t* path);

// The set also gets the extras of the file's companion (path + ".txt", engines/companion.h):
// none when there is no companion or it cannot be read.
//
// WriteEngineFile: 1 when written, 0 when an entry fails the test or the file cannot be
// written (a read-only file is not replaced). The file is replaced only when every byte has
// been written, so a failed save keeps the old file; the thread's last error then tells why.
// The companion is replaced after it the same way, or removed when no entry has extras.
int WriteEngineFile(const EngineEntry* entries, const EngineExtras* extras, const wchar_t* path,
                    int count);
// The companion's path of an engine file; false when it does not fit.
bool CompanionPath(const wchar_t* enginePath, PathText& path);

// Quick test: more than 64 bytes and the magic. Name is relative to the data directory.
bool IsEngineFile(const wchar_t* dataDir, const char* name);

// Fills the catalogue with the engine files of the data directory, sorted; the file named
// defaultFile becomes the current one. A file whose name Shift-JIS cannot say is left out.
// The number of files, -1 when none matched.
int EnumerateEngineFiles(EngineFileCatalogue& catalogue, const wchar_t* dataDir,
                         const char* defaultFile);
// Reads the named file into the set (ReadEngineFile's result); the set is unchanged on failure.
int LoadEngineFileByName(EngineSet& set, const wchar_t* dataDir, const char* name);
bool EngineFileExists(const wchar_t* dataDir, const char* name);
// The full path of a name in the data directory; false (path empty) when it does not fit.
bool EngineFilePath(const wchar_t* dataDir, const char* name, PathText& path);
// Deletes the engine file, and its companion with it.
void DeleteEngineFile(const wchar_t* dataDir, const char* name);

// The system's compare of the names as UTF-16 (lstrcmpW), as a NameCompare.
int CompareNames(const char* a, const char* b);
