#include "wine_support.h"

#include "platform/handles.h"

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD written = 0;
    return WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
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

std::string Cp932(const std::u16string& text) {
    char buf[1024] = {};
    WideCharToMultiByte(932, 0, reinterpret_cast<const wchar_t*>(text.c_str()), -1, buf, sizeof buf,
                        nullptr, nullptr);
    return buf;
}

std::u16string FromCp932(const std::string& text) {
    wchar_t buf[1024] = {};
    MultiByteToWideChar(932, 0, text.c_str(), -1, buf, 1024);
    return reinterpret_cast<const char16_t*>(buf);
}

std::string DefaultEngineFilePath() {
    return std::string(MORVEL_DIST_DIR) + "/標準.sef";
}
