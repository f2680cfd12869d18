#include <windows.h>

#include "query/encode.h"

std::u16string PlatformCp932ToUtf16(std::string_view text) {
    // One UTF-16 unit per byte plus the terminator is always enough for code page 932.
    const int size = static_cast<int>(text.size()) + 1;
    std::u16string wide(static_cast<size_t>(size), u'\0');
    const std::string source(text); // terminated
    const int n = MultiByteToWideChar(CP_ACP, 0, source.c_str(), size,
                                      reinterpret_cast<wchar_t*>(&wide[0]), size);
    if (n <= 0) return std::u16string();
    wide.resize(static_cast<size_t>(n));
    if (!wide.empty() && wide.back() == u'\0') wide.pop_back();
    return wide;
}

std::string EncodeUtf8(std::string_view keyword) {
    return EncodeUtf8(keyword, PlatformCp932ToUtf16);
}
