#include <windows.h>

#include "base/wide_text.h"

size_t PlatformUtf16ToCp932(std::u16string_view text, TextBuffer& out) {
    size_t first = text.size();
    for (size_t i = 0; i < text.size();) {
        const size_t units = CharacterUnits(text, i);
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data() + i);
        char bytes[4] = {};
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(units),
                                          bytes, sizeof bytes, nullptr, &usedDefault);
        // Said exactly only when nothing was substituted and the bytes come back as the same
        // character.
        bool said = n > 0 && !usedDefault;
        if (said) {
            wchar_t back[4] = {};
            const int m = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, n, back, 4);
            said = m == static_cast<int>(units) && back[0] == wide[0] &&
                   (units == 1 || back[1] == wide[1]);
        }
        if (said) {
            out.Append(std::string_view(bytes, static_cast<size_t>(n)));
        } else {
            out.Append('?');
            if (first == text.size()) first = i;
        }
        i += units;
    }
    return first;
}
