#include "app/text.h"

#include <cstring>

size_t FieldLength(const char* field, size_t fieldSize) {
    size_t n = 0;
    while (n < fieldSize && field[n] != '\0')
        ++n;
    return n;
}

size_t CopyBounded(char* dest, size_t destSize, const char* src, size_t srcSize) {
    if (destSize == 0) return 0;
    size_t n = 0;
    if (src) {
        while (n + 1 < destSize && n < srcSize && src[n] != '\0') {
            dest[n] = src[n];
            ++n;
        }
    }
    dest[n] = '\0';
    return n;
}

std::string FieldText(const char* field, size_t fieldSize) {
    return std::string(field, FieldLength(field, fieldSize));
}

bool TrimToDirectory(char* path) {
    char* cut = nullptr;
    for (unsigned char* p = reinterpret_cast<unsigned char*>(path); *p != '\0'; ++p) {
        if (IsLeadByte(*p)) {
            if (p[1] == '\0') break;
            ++p;
        } else if (*p == '\\') {
            cut = reinterpret_cast<char*>(p) + 1;
        }
    }
    if (!cut) return false;
    *cut = '\0';
    return true;
}
