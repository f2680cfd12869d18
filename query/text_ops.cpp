#include "query/text_ops.h"

#include <cstring>

#include "app/text.h"

size_t FindText(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return 0;
    const size_t size = text.size();
    for (size_t pos = 0; pos < size && size - pos >= pattern.size();) {
        if (std::memcmp(text.data() + pos, pattern.data(), pattern.size()) == 0) return pos;
        pos += IsLeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    }
    return kTextNotFound;
}

ReplaceResult ReplaceAll(std::string_view source, std::string_view pattern,
                         std::string_view replacement) {
    if (pattern.empty()) return {std::string(), -1};
    ReplaceResult r{std::string(), 0};
    r.text.reserve(source.size());
    size_t pos = 0;
    for (;;) {
        const size_t found = FindText(source.substr(pos), pattern);
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
