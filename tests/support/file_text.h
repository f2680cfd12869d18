// Whole files as byte strings, and the other small file and environment reads the tests
// under Wine share.
#pragma once
#include <string>

// Writes the bytes as the whole file (a read-only file is made writable first).
bool WriteFileText(const std::string& path, const std::string& text);
// The whole file; empty when it cannot be read.
std::string ReadFileText(const std::string& path);
bool PathExists(const std::string& path);
// An environment variable's value; empty when it is not set.
std::string EnvText(const char* name);
