#include "engines/definition.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/text.h"

namespace {

enum class Manner { Required, Optional };

// A value as text: it ends at its first NUL, as a value from the profile reader does.
std::string TextOf(const std::string& v) {
    return v.substr(0, FieldLength(v.c_str(), v.size()));
}

// Reads one text key into a field. Returns false when the value breaks its rule.
bool ReadText(const DefinitionReader& r, const char* section, const char* key, size_t limit,
              Manner manner, char* field, size_t fieldSize) {
    const std::string v = TextOf(r.text(section, key));
    if (v.size() > limit) return false;
    if (v.empty()) return manner == Manner::Optional;
    CopyBounded(field, fieldSize, v.c_str(), v.size());
    return true;
}

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

DefinitionFault EntryFromDefinition(const DefinitionReader& r, EngineEntry& entry) {
    EngineEntry e;
    std::memset(&e, 0, sizeof e);
    std::memset(&entry, 0, sizeof entry);
    struct Step {
        const char* section;
        const char* key;
        size_t limit;
        Manner manner;
        char* field;
        size_t size;
    };
    const Step first[] = {
        {"Data", "Name", kNameSize - 1, Manner::Required, e.Name, kNameSize},
        {"URL1", "head", kHeadSize - 1, Manner::Required, e.head[0], kHeadSize},
        {"URL1", "key", kKeySize - 1, Manner::Required, e.key[0], kKeySize},
        {"URL1", "tail", kTailSize - 1, Manner::Optional, e.tail[0], kTailSize},
    };
    for (const Step& s : first)
        if (!ReadText(r, s.section, s.key, s.limit, s.manner, s.field, s.size))
            return {s.section, s.key};
    e.Character = LowByte8(r.number("Data", "Character"));
    e.UrlMode = LowByte8(r.number("Data", "UrlMode"));

    const std::string head2 = TextOf(r.text("URL2", "head"));
    if (head2.size() > kHeadSize - 1) return {"URL2", "head"};
    if (!head2.empty()) {
        CopyBounded(e.head[1], kHeadSize, head2.c_str(), head2.size());
        if (!ReadText(r, "URL2", "key", kKeySize - 1, Manner::Required, e.key[1], kKeySize))
            return {"URL2", "key"};
        if (!ReadText(r, "URL2", "tail", kTailSize - 1, Manner::Optional, e.tail[1], kTailSize))
            return {"URL2", "tail"};
    }
    entry = e;
    return {};
}

int DefinitionValues(const EngineEntry& e, DefinitionValue (&values)[kMaxDefinitionValues]) {
    int n = 0;
    auto text = [&](const char* section, const char* key, const char* field, size_t size) {
        DefinitionValue& v = values[n++];
        v.section = section;
        v.key = key;
        CopyBounded(v.text, sizeof v.text, field, size);
    };
    auto number = [&](const char* section, const char* key, unsigned value) {
        DefinitionValue& v = values[n++];
        v.section = section;
        v.key = key;
        std::snprintf(v.text, sizeof v.text, "%u", value);
    };
    text("Data", "Name", e.Name, sizeof e.Name);
    if (e.Character != 0) number("Data", "Character", e.Character);
    if (e.UrlMode != 0) number("Data", "UrlMode", e.UrlMode);
    text("URL1", "head", e.head[0], sizeof e.head[0]);
    text("URL1", "key", e.key[0], sizeof e.key[0]);
    text("URL1", "tail", e.tail[0], sizeof e.tail[0]);
    if (HasUrl2(e)) {
        text("URL2", "head", e.head[1], sizeof e.head[1]);
        text("URL2", "key", e.key[1], sizeof e.key[1]);
        text("URL2", "tail", e.tail[1], sizeof e.tail[1]);
    }
    return n;
}

std::string ProfileValue(const char* buffer, size_t bufferSize, size_t got) {
    if (!buffer || bufferSize == 0) return std::string();
    if (got > bufferSize - 1) got = bufferSize - 1;
    return std::string(buffer, FieldLength(buffer, got));
}

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
    return {[this](const char* s, const char* k) { return Text(s, k); },
            [this](const char* s, const char* k) { return Number(s, k); }};
}
