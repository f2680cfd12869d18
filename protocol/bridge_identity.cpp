#include "protocol/bridge_identity.h"

bool MenuExtensionAddress(wchar_t* out, size_t outSize, std::wstring_view programDir) {
    if (outSize == 0) return false;
    size_t n = 0;
    bool whole = true;
    for (const std::wstring_view part : {std::wstring_view(L"res://"), programDir,
                                         std::wstring_view(L"" PELKA_FILE "/SETSTRING")}) {
        for (const wchar_t c : part) {
            if (n + 1 >= outSize) whole = false;
            if (!whole) break;
            out[n++] = c;
        }
    }
    out[whole ? n : 0] = L'\0';
    return whole;
}
