// Support for the in-process tests under Wine: temporary program directories and files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A fresh directory under %TEMP%, removed with everything in it at the end of the test.
// The optional suffix becomes part of the name (it may hold Shift-JIS bytes).
class TempDir {
  public:
    explicit TempDir(const std::string& suffix = "");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The directory with its trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool WriteFileText(const std::string& path, const std::string& text);
std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);

// The bundled default engine file of the ready-to-run folder.
std::string DefaultEngineFilePath();
