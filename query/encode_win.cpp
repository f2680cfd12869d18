#include <windows.h>

#include "base/text.h"
#include "query/encode.h"

size_t PlatformCp932ToUtf16(std::string_view text, char16_t* out, size_t capacity) {
    if (capacity < text.size() + 1) return 0;
    // Longer texts are parts of URLs: converted as they are.
    if (text.size() >= kKeywordSize) {
        const int n =
            MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()),
                                reinterpret_cast<wchar_t*>(out), static_cast<int>(capacity));
        return n > 0 ? static_cast<size_t>(n) : 0;
    }
    // A keyword goes to the system terminated, as the keyword box gives it, so that a lead
    // byte cut off at its end is converted the way the system converts it there.
    char source[kKeywordSize];
    CopyBounded(source, sizeof source, text.data(), text.size());
    const int size = static_cast<int>(text.size()) + 1;
    const int n = MultiByteToWideChar(932, 0, source, size, reinterpret_cast<wchar_t*>(out),
                                      static_cast<int>(capacity));
    if (n <= 0) return 0;
    size_t units = static_cast<size_t>(n);
    if (out[units - 1] == u'\0') --units;
    return units;
}

EncodedKeyword EncodeUtf8(std::string_view keyword) {
    return EncodeUtf8(keyword, PlatformCp932ToUtf16);
}
