// Whole files as byte strings, and the other small file, environment and registry reads the
// tests under Wine share.
#pragma once
#include <windows.h>

#include <string>

// Writes the bytes as the whole file (a read-only file is made writable first).
bool WriteFileText(const std::string& path, const std::string& text);
// The whole file into bytes; false when it cannot be opened. A file that a program holds open
// without sharing (the bar holds an engine file so while it loads it) is tried again for up to
// busyMs, as any tool of the user's has to.
bool ReadWholeFile(const std::string& path, std::string& bytes, DWORD busyMs = 5000);
// The whole file as ReadWholeFile reads it; empty when it cannot be read.
std::string ReadFileText(const std::string& path);
bool PathExists(const std::string& path);
// An environment variable's value; empty when it is not set.
std::string EnvText(const char* name);

bool KeyExists(HKEY root, const char* path);
// A value's type and raw data; false when the key or the value is missing.
bool ReadValue(HKEY root, const char* path, const char* name, DWORD& type, std::string& data);
// A text value up to its NUL, a REG_DWORD as its decimal number; "<none>" for anything else.
std::string RegText(HKEY root, const char* path, const char* name);
