#include "query/text_ops.h"

namespace {

// In text without bytes from 0x80 every byte is a character of its own.
bool IsAscii(std::string_view text) {
    unsigned char bits = 0;
    for (const char c : text)
        bits |= static_cast<unsigned char>(c);
    return bits < 0x80;
}

size_t FindWalking(std::string_view text, std::string_view pattern) {
    const size_t size = text.size();
    const char* const data = text.data();
    const size_t n = pattern.size();
    const char first = pattern[0];
    for (size_t pos = 0; pos < size && size - pos >= n;) {
        if (data[pos] == first) {
            size_t k = 1;
            while (k < n && data[pos + k] == pattern[k])
                ++k;
            if (k == n) return pos;
        }
        pos += IsLeadByte(static_cast<unsigned char>(data[pos])) ? 2 : 1;
    }
    return std::string_view::npos;
}


} // namespace

int ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement,
               TextBuffer& out) {
    out.clear();
    if (pattern.empty()) return -1;
    int count = 0;
    // Encoded keywords are ASCII: there every position begins a character.
    const bool ascii = IsAscii(source);
    size_t pos = 0;
    for (;;) {
        size_t found;
        if (ascii) {
            found = source.find(pattern, pos);
            if (found != std::string_view::npos) found -= pos;
        } else {
            found = FindWalking(From(source, pos), pattern);
        }
        if (found == std::string_view::npos) break;
        out.Append(std::string_view(source.data() + pos, found));
        out.Append(replacement);
        pos += found + pattern.size();
        ++count;
    }
    out.Append(From(source, pos));
    return count;
}

WideKeyword NormaliseKeyword(std::u16string_view text) {
    WideKeyword out;
    bool space = false; // a space is pending: written only when a word follows
    for (char16_t u : text) {
        if (u == u'\u3000') u = u' ';
        if (u == u' ') {
            space = !out.empty();
            continue;
        }
        if (space) out.Append(u' ');
        space = false;
        out.Append(u);
    }
    return out;
}
