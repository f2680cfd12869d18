// Text between the code pages of the tests: Shift-JIS (code page 932, as the test sources
// write it), UTF-16 and UTF-8, through the system's conversion (best fit and all).
#pragma once
#include <string>

std::wstring Widen(const std::string& sjis);
std::string Narrow(const std::wstring& wide);
std::string Utf8(const std::wstring& wide);

inline std::string Cp932(const std::u16string& text) {
    return Narrow(std::wstring(text.begin(), text.end()));
}
inline std::u16string FromCp932(const std::string& text) {
    const std::wstring wide = Widen(text);
    return std::u16string(wide.begin(), wide.end());
}
