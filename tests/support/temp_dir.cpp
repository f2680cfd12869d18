#include "tests/support/temp_dir.h"

#include <windows.h>

#include <cstdio>

#include "platform/handles.h"

// A file that a program which just ended still holds is retried for a second.
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
                for (int i = 0; i < 50 && !DeleteFileA(full.c_str()); ++i)
                    Sleep(20);
            }
        } while (FindNextFileA(find.get(), &fd));
    }
    find.reset();
    RemoveDirectoryA(dir.c_str());
}

TempDir::TempDir(const std::string& suffix, const char* prefix) {
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof base, base);
    std::string parent = base;
    if (!parent.empty() && parent.back() != '\\') parent += '\\';
    static unsigned serial = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%s-%lu-%u%s", prefix,
                      static_cast<unsigned long>(GetCurrentProcessId()), ++serial, suffix.c_str());
        const std::string dir = parent + name;
        path_ = dir + "\\";
        if (CreateDirectoryA(dir.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}
