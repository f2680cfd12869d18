// Support for the in-process tests under Wine: temporary program directories and files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/temp_dir.h"

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadFileBytes(const std::string& path);
// Text between UTF-16 and code page 932 (the system's conversion, best fit and all).
std::string Cp932(const std::u16string& text);
std::u16string FromCp932(const std::string& text);

// The bundled default engine file of the ready-to-run folder.
std::string DefaultEngineFilePath();
