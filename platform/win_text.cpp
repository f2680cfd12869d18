#include "platform/win_text.h"

size_t SjisToWide(std::string_view sjis, wchar_t* out, size_t capacity) {
    if (capacity == 0) return 0;
    out[0] = L'\0';
    if (sjis.empty()) return 0;
    const int n = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), out,
                                      static_cast<int>(capacity - 1));
    const size_t units = n > 0 ? static_cast<size_t>(n) : 0;
    out[units] = L'\0';
    return units;
}

bool WideToSjis(std::wstring_view text, TextBuffer& out) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.data()), text.size());
    return PlatformUtf16ToCp932(units, out) == units.size();
}
