#include "engines/profile_text.h"

#include <cstdlib>

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

} // namespace

ProfileText::ProfileText(const std::string& text) {
    std::string section;
    bool inSection = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        std::string line = TrimBlanks(text.substr(pos, nl - pos));
        pos = nl + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            section = Lower(TrimBlanks(
                line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            inSection = true;
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = Lower(TrimBlanks(line.substr(0, eq)));
        std::string value = TrimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                  (value.front() == '\'' && value.back() == '\'')))
            value = value.substr(1, value.size() - 2);
        sections_[section].emplace(key, value); // the first of repeated keys wins
    }
}

std::string ProfileText::Text(const char* section, const char* key, size_t capacity) const {
    const auto s = sections_.find(Lower(section));
    if (s == sections_.end()) return std::string();
    const auto k = s->second.find(Lower(key));
    if (k == s->second.end()) return std::string();
    if (capacity == 0) return std::string();
    return k->second.substr(0, capacity - 1);
}

int ProfileText::Number(const char* section, const char* key, int def) const {
    const auto s = sections_.find(Lower(section));
    if (s == sections_.end()) return def;
    const auto k = s->second.find(Lower(key));
    if (k == s->second.end()) return def;
    return std::atoi(k->second.c_str());
}

DefinitionReader ProfileText::Reader() const {
    return {this,
            [](const void* p, const char* s, const char* k, DefinitionText& out) {
                out.Assign(static_cast<const ProfileText*>(p)->Text(s, k));
            },
            [](const void* p, const char* s, const char* k) {
                return static_cast<const ProfileText*>(p)->Number(s, k);
            }};
}
