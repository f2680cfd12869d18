// Support for the in-process tests under Wine: temporary program directories and files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool WriteFileText(const std::string& path, const std::string& text);
std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);

// The bundled default engine file of the ready-to-run folder.
std::string DefaultEngineFilePath();
