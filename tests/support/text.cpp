#include "tests/support/text.h"

#include <windows.h>

namespace {
std::string FromWide(UINT codePage, const std::wstring& wide) {
    std::string out(wide.size() * 4, '\0');
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}
} // namespace

std::wstring Widen(const std::string& sjis) {
    std::wstring out(sjis.size(), L'\0');
    const int n = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), &out[0],
                                      static_cast<int>(out.size()));
    out.resize(n > 0 ? n : 0);
    return out;
}

std::string Narrow(const std::wstring& wide) {
    return FromWide(932, wide);
}

std::string Utf8(const std::wstring& wide) {
    return FromWide(CP_UTF8, wide);
}
