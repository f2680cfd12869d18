// A temporary folder for one test (the Wine and the end-to-end tests).
#pragma once
#include <string>

// A fresh folder under %TEMP%, removed with everything in it when the owner goes. It is
// named <prefix>-<process id>-<serial><suffix>; the suffix may hold Shift-JIS bytes.
// Removes a folder (its path ends with a backslash) with everything in it, read-only files too.
void RemoveTree(const std::string& dir);

class TempDir {
  public:
    explicit TempDir(const std::string& suffix = "", const char* prefix = "morvel");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with its trailing backslash. When it could not be made, the name it would
    // have had: what the test puts there then fails.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};
