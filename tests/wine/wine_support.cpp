#include "wine_support.h"

#include <cstdio>

#include "platform/handles.h"

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA((dir + "*").c_str(), &fd));
    if (find) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + "\\");
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find.get(), &fd));
    }
    find.reset();
    RemoveDirectoryA(dir.c_str());
}

} // namespace

TempDir::TempDir(const std::string& suffix) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned serial = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%smorvel-%lu-%u%s\\", base, GetCurrentProcessId(),
                      ++serial, suffix.c_str());
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return; // the test then fails on use
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD written = 0;
    return WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool WriteFileText(const std::string& path, const std::string& text) {
    return WriteFileBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
    if (!f) return bytes;
    bytes.resize(GetFileSize(f.get(), nullptr));
    DWORD got = 0;
    ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    return bytes;
}

std::string ReadFileText(const std::string& path) {
    const std::vector<unsigned char> b = ReadFileBytes(path);
    return std::string(b.begin(), b.end());
}

std::string DefaultEngineFilePath() {
    return std::string(MORVEL_DIST_DIR) + "/標準.sef";
}
