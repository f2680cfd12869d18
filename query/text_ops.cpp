#include "query/text_ops.h"

#include "app/text.h"

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
    return kTextNotFound;
}

} // namespace

size_t FindText(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return 0;
    return IsAscii(text) ? text.find(pattern) : FindWalking(text, pattern);
}

ReplaceResult ReplaceAll(std::string_view source, std::string_view pattern,
                         std::string_view replacement) {
    if (pattern.empty()) return {std::string(), -1};
    ReplaceResult r{std::string(), 0};
    r.text.reserve(source.size());
    // Encoded keywords are ASCII: there every position begins a character.
    const bool ascii = IsAscii(source);
    size_t pos = 0;
    for (;;) {
        size_t found;
        if (ascii) {
            found = source.find(pattern, pos);
            if (found != std::string_view::npos) found -= pos;
        } else {
            found = FindWalking(source.substr(pos), pattern);
        }
        if (found == kTextNotFound) break;
        r.text.append(source.data() + pos, found);
        r.text.append(replacement);
        pos += found + pattern.size();
        ++r.count;
    }
    r.text.append(source.substr(pos));
    return r;
}

void TrimSpaces(std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    const size_t last = text.find_last_not_of(' ');
    text = text.substr(first, last - first + 1);
}

void CollapseSpaces(std::string& text) {
    size_t out = 0;
    for (size_t in = 0; in < text.size(); ++in) {
        if (text[in] == ' ' && out > 0 && text[out - 1] == ' ') continue;
        text[out++] = text[in];
    }
    text.resize(out);
}
