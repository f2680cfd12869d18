#include "base/text.h"

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

size_t JoinText(char* dest, size_t destSize, std::initializer_list<std::string_view> parts) {
    size_t whole = 0, n = 0;
    for (const std::string_view part : parts) {
        for (const char c : part)
            if (n + 1 < destSize) dest[n++] = c;
        whole += part.size();
    }
    if (destSize > 0) dest[n] = '\0';
    return whole;
}

bool JoinPath(char* out, size_t outSize, const char* dir, const char* name) {
    if (outSize == 0) return false;
    if (JoinText(out, outSize, {dir, name}) < outSize) return true;
    out[0] = '\0';
    return false;
}

void TextBuffer::Append(std::string_view text) {
    size_t n = text.size();
    const size_t room = capacity_ - 1 - size_;
    if (n > room) {
        n = room;
        cut_ = true;
    }
    if (n > 0) std::memmove(data_ + size_, text.data(), n);
    size_ += n;
    data_[size_] = '\0';
}

void TextBuffer::Append(char c) {
    if (size_ + 1 >= capacity_) {
        cut_ = true;
        return;
    }
    data_[size_++] = c;
    data_[size_] = '\0';
}

void TextBuffer::Append(size_t count, char c) {
    const size_t room = capacity_ - 1 - size_;
    if (count > room) {
        count = room;
        cut_ = true;
    }
    std::memset(data_ + size_, c, count);
    size_ += count;
    data_[size_] = '\0';
}

void TextBuffer::clear() {
    size_ = 0;
    cut_ = false;
    data_[0] = '\0';
}

void TextBuffer::SetWritten(size_t n) {
    size_ = n < capacity_ - 1 ? n : capacity_ - 1;
    data_[size_] = '\0';
}

void TextBuffer::Truncate(size_t n) {
    if (n >= size_) return;
    size_ = n;
    data_[size_] = '\0';
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
