#include "base/profile_document.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "base/text.h"

namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Neither a blank, CR, LF nor any of the syntax bytes can be a trail byte (those are 0x40 to
// 0x7E and 0x80 to 0xFC) except '[' and ']': only those need the walk by characters.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}
constexpr bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}
constexpr char Folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// s[pos, pos + n), cut to s: string_view::substr would throw, and the program has no
// exceptions.
std::string_view Part(std::string_view s, size_t pos, size_t n = std::string_view::npos) {
    if (pos > s.size()) pos = s.size();
    if (n > s.size() - pos) n = s.size() - pos;
    return std::string_view(s.data() + pos, n);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The bytes of a character that begins at s[i]: a lead byte at the very end stands alone.
size_t CharLength(std::string_view s, size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Equal but for the case of ASCII letters; the trail byte of a double-byte character must be
// equal as it is ("ア" 0x83 0x41 is not "ヂ" 0x83 0x61).
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (CharLength(a, i) == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (Folded(a[i]) != Folded(b[i])) {
            return false;
        }
    }
    return true;
}

struct Line {
    std::string_view text; // without its line break
    size_t begin;
    size_t next; // after the line break
};

// The line that begins at pos (pos < text.size()).
Line LineAt(std::string_view text, size_t pos) {
    size_t end = pos;
    while (end < text.size() && !IsBreak(text[end]))
        ++end;
    size_t next = end;
    if (next < text.size() && text[next] == '\r') ++next;
    if (next < text.size() && text[next] == '\n' && (next == end || text[end] == '\r')) ++next;
    return {Part(text, pos, end - pos), pos, next};
}

// A section header's name; false when the line is none.
bool HeaderName(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return false;
    size_t close = std::string_view::npos;
    for (size_t i = 1; i < line.size(); i += CharLength(line, i))
        if (line[i] == ']') close = i;
    if (close == std::string_view::npos) return false;
    name = Trim(Part(line, 1, close - 1));
    return true;
}

struct KeyLine {
    std::string_view name;
    std::string_view value; // raw: blanks dropped, quotation marks kept
    bool hasValue;
};

// A line in a section that is neither blank nor a header.
KeyLine ParseKey(std::string_view line) {
    line = Trim(line);
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {line, {}, false};
    return {Trim(Part(line, 0, eq)), Trim(Part(line, eq + 1)), true};
}

std::string_view Unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return Part(v, 1, v.size() - 2);
    return v;
}

struct Section {
    std::string_view name;
    size_t bodyBegin; // after the header line
    size_t bodyEnd;   // after the last line of the section that is not blank
    size_t end;       // where the next header begins, or the end of the text
};

// The section whose header line begins at pos.
Section SectionAt(std::string_view text, size_t pos) {
    const Line header = LineAt(text, pos);
    Section s{{}, header.next, header.next, text.size()};
    HeaderName(header.text, s.name);
    for (size_t at = header.next; at < text.size();) {
        const Line line = LineAt(text, at);
        std::string_view ignored;
        if (HeaderName(line.text, ignored)) {
            s.end = at;
            break;
        }
        if (!Trim(line.text).empty()) s.bodyEnd = line.next;
        at = line.next;
    }
    return s;
}

// The first section named name whose header begins at or after from (a line's start).
bool FindSection(std::string_view text, size_t from, std::string_view name, Section& out) {
    if (name.empty()) return false;
    for (size_t at = from; at < text.size();) {
        const Line line = LineAt(text, at);
        std::string_view found;
        if (HeaderName(line.text, found)) {
            out = SectionAt(text, at);
            if (SameName(found, name)) return true;
            at = out.end;
        } else {
            at = line.next;
        }
    }
    return false;
}

struct Key {
    KeyLine key;
    Line line;
};

// The section's first line with the key name.
bool FindKey(std::string_view text, const Section& s, std::string_view name, Key& out) {
    if (name.empty()) return false;
    for (size_t at = s.bodyBegin; at < s.bodyEnd;) {
        const Line line = LineAt(text, at);
        if (!Trim(line.text).empty()) {
            const KeyLine key = ParseKey(line.text);
            if (SameName(key.name, name)) {
                out = {key, line};
                return true;
            }
        }
        at = line.next;
    }
    return false;
}

std::string_view Name(const char* name) {
    return name ? Trim(std::string_view(name)) : std::string_view();
}

bool FindValue(std::string_view text, size_t start, const char* section, const char* key,
               std::string_view& value) {
    Section s;
    Key k;
    if (!FindSection(text, start, Name(section), s) || !FindKey(text, s, Name(key), k) ||
        !k.key.hasValue)
        return false;
    value = Unquoted(k.key.value);
    value = Part(value, 0, value.find('\0'));
    return true;
}

bool HasBreak(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n", 2)) != std::string_view::npos;
}

// What GetPrivateProfileIntA makes of a value.
int ParseNumber(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ')
        ++i;
    bool minus = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) minus = s[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < s.size() && s[i] == '0') {
        const char prefix = s[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        uint32_t digit = base;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        if (c >= 'a' && c <= 'z') digit = static_cast<uint32_t>(c - 'a' + 10);
        if (c >= 'A' && c <= 'Z') digit = static_cast<uint32_t>(c - 'A' + 10);
        if (digit >= base) break;
        total = total * base + digit;
    }
    return static_cast<int>(minus ? 0u - total : total);
}

} // namespace

bool ProfileDocument::Load(std::string_view bytes) {
    data_.reset();
    size_ = capacity_ = start_ = 0;
    if (bytes.size() > kMaxBytes) return false;
    if (bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return false;
    if (!bytes.empty()) {
        data_.reset(new (std::nothrow) char[bytes.size()]);
        if (!data_) return false;
        std::memcpy(data_.get(), bytes.data(), bytes.size());
        size_ = capacity_ = bytes.size();
    }
    if (Part(bytes, 0, kUtf8Mark.size()) == kUtf8Mark) start_ = kUtf8Mark.size();
    return true;
}

bool ProfileDocument::Has(const char* section, const char* key) const {
    std::string_view value;
    return FindValue(Bytes(), start_, section, key, value);
}

size_t ProfileDocument::Get(const char* section, const char* key, char* out, size_t outSize) const {
    if (!out || outSize == 0) return 0;
    std::string_view value;
    if (!FindValue(Bytes(), start_, section, key, value)) value = {};
    size_t n = 0;
    while (n < value.size() && n + CharLength(value, n) <= outSize - 1)
        n += CharLength(value, n);
    if (n) std::memcpy(out, value.data(), n);
    out[n] = '\0';
    return n;
}

int ProfileDocument::GetInt(const char* section, const char* key, int def) const {
    char text[30];
    const size_t n = Get(section, key, text, sizeof text);
    return n == 0 ? def : ParseNumber(std::string_view(text, n));
}

bool ProfileDocument::Set(const char* section, const char* key, std::string_view value) {
    const std::string_view sectionName = Name(section);
    const std::string_view keyName = Name(key);
    if (sectionName.empty() || keyName.empty() || HasBreak(sectionName) || HasBreak(keyName) ||
        keyName.find('=') != std::string_view::npos || keyName.front() == '[')
        return false;
    while (!value.empty() && IsBlank(value.front()))
        value.remove_prefix(1);
    value = Part(value, 0, value.find_first_of(std::string_view("\r\n\0", 3)));

    const std::string_view text = Bytes();
    // A line added at the end of the text follows a line break.
    const auto breakBefore = [&](size_t at) {
        return at == text.size() && at > start_ && !IsBreak(text.back()) ? kNewLine
                                                                         : std::string_view();
    };
    Section s;
    if (!FindSection(text, start_, sectionName, s)) {
        return Splice(
            size_, 0,
            {breakBefore(size_), "[", sectionName, "]", kNewLine, keyName, "=", value, kNewLine});
    }
    Key k;
    if (!FindKey(text, s, keyName, k))
        return Splice(s.bodyEnd, 0, {breakBefore(s.bodyEnd), keyName, "=", value, kNewLine});
    if (k.key.hasValue && k.key.value == value) return true;
    return Splice(k.line.begin, k.line.text.size(), {k.key.name, "=", value});
}

void ProfileDocument::Remove(const char* section, const char* key) {
    const std::string_view text = Bytes();
    Section s;
    Key k;
    for (size_t from = start_; FindSection(text, from, Name(section), s); from = s.end) {
        if (FindKey(text, s, Name(key), k)) {
            Splice(k.line.begin, k.line.next - k.line.begin, {});
            return;
        }
    }
}

void ProfileDocument::ClearSection(const char* section) {
    Section s;
    for (size_t from = start_; FindSection(Bytes(), from, Name(section), s); from = s.bodyBegin)
        Splice(s.bodyBegin, s.bodyEnd - s.bodyBegin, {});
}

bool ProfileDocument::Splice(size_t at, size_t count,
                             std::initializer_list<std::string_view> parts) {
    const uintptr_t low = reinterpret_cast<uintptr_t>(data_.get());
    const uintptr_t high = low + capacity_;
    size_t added = 0;
    bool inside = false; // a part is a view into the text itself
    for (std::string_view part : parts) {
        added += part.size();
        const uintptr_t p = reinterpret_cast<uintptr_t>(part.data());
        inside = inside || (!part.empty() && p >= low && p < high);
    }
    const size_t size = size_ - count + added;
    if (size > kMaxBytes) return false;
    const size_t tail = size_ - at - count;
    if (size <= capacity_ && !inside) {
        char* data = data_.get();
        if (tail) std::memmove(data + at + added, data + at + count, tail);
        for (std::string_view part : parts) {
            if (!part.empty()) std::memcpy(data + at, part.data(), part.size());
            at += part.size();
        }
        size_ = size;
        return true;
    }
    // A new buffer, the old one kept until the parts are copied.
    size_t capacity = capacity_ < 256 ? 256 : capacity_ * 2;
    if (capacity > kMaxBytes) capacity = kMaxBytes;
    if (capacity < size) capacity = size;
    std::unique_ptr<char[]> grown(new (std::nothrow) char[capacity]);
    if (!grown) return false;
    char* out = grown.get();
    if (at) std::memcpy(out, data_.get(), at);
    out += at;
    for (std::string_view part : parts) {
        if (!part.empty()) std::memcpy(out, part.data(), part.size());
        out += part.size();
    }
    if (tail) std::memcpy(out, data_.get() + at + count, tail);
    data_ = std::move(grown);
    capacity_ = capacity;
    size_ = size;
    return true;
}
