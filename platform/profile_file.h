// Files in the profile (INI) form that are Morvel's own, the settings file and the definition
// files: Shift-JIS by definition, so read and written as bytes by ProfileDocument, never through
// the system's profile functions (which follow the system's code page). A change goes through
// the safe replacement: the file is whole, old or new.
#pragma once
#include <windows.h>

#include "base/profile_document.h"

// A missing file reads as empty; false when a file is there and cannot be read, or is not
// Shift-JIS text (a UTF-16 file): such a file must not be written over.
bool LoadProfileFile(const wchar_t* path, ProfileDocument& doc);
// Writes the document in the file's place; false (the old file kept) when it cannot.
bool SaveProfileFile(const wchar_t* path, const ProfileDocument& doc);

// One number, read as the profile functions read it (def when missing).
int ReadProfileInt(const wchar_t* path, const char* section, const char* key, int def);
// One value set in the file; false when the file cannot be written.
bool WriteProfileInt(const wchar_t* path, const char* section, const char* key, int value);
