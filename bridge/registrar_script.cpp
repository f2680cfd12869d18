#include "bridge/registrar_script.h"

#include <cctype>

#include "base/text.h"

namespace pelka {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return EqualsAsciiNoCase(a, b);
}

std::string_view Part(std::string_view s, std::size_t pos, std::size_t n) {
    return std::string_view(s.data() + pos, n);
}

class Parser {
  public:
    Parser(std::string_view text, std::initializer_list<Replacement> table, ScriptParse& out)
        : s_(text), table_(table), out_(out) {}

    void Run() {
        out_.ok = false;
        out_.rootCount = out_.keyCount = out_.valueCount = 0;
        out_.textSize = 0;
        for (;;) {
            SkipSpace();
            if (AtEnd()) break;
            const char* name = nullptr;
            if (out_.rootCount == kMaxScriptRoots || !Word(name) || name[0] == '\0' ||
                !Expect('{')) {
                Fail();
                return;
            }
            ScriptRoot& root = out_.roots[out_.rootCount++];
            root.name = name;
            root.firstKey = kNoItem;
            if (!KeyList(kNoItem, root.firstKey, 1)) {
                Fail();
                return;
            }
        }
        out_.ok = true;
    }

  private:
    void Fail() {
        out_.errorOffset = pos_;
        out_.rootCount = out_.keyCount = out_.valueCount = 0;
        out_.textSize = 0;
    }

    bool AtEnd() const { return pos_ >= s_.size(); }
    void SkipSpace() {
        while (!AtEnd() && IsSpace(s_[pos_]))
            ++pos_;
    }
    // Tokens are separated by white space, so "{guid}" is a name and "{" alone a brace.
    std::size_t TokenEnd() const {
        std::size_t end = pos_;
        while (end < s_.size() && !IsSpace(s_[end]))
            ++end;
        return end;
    }
    bool Peek(char c) {
        SkipSpace();
        return !AtEnd() && s_[pos_] == c && TokenEnd() == pos_ + 1;
    }
    bool Expect(char c) {
        if (!Peek(c)) return false;
        ++pos_;
        return true;
    }

    // Appends to the text buffer; false when it is full.
    bool Put(std::string_view part) {
        if (part.size() >= kScriptTextSize - out_.textSize) return false; // the NUL needs room
        for (const char c : part)
            out_.text[out_.textSize++] = c;
        return true;
    }

    // Appends raw text to the text buffer, replacing %NAME% and %%.
    bool Expand(std::string_view raw) {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                if (!Put(Part(raw, i, 1))) return false;
                continue;
            }
            const std::size_t close = raw.find('%', i + 1);
            if (close == std::string_view::npos) return false;
            const std::string_view name = Part(raw, i + 1, close - i - 1);
            if (name.empty()) {
                if (!Put("%")) return false;
            } else {
                bool known = false;
                for (const Replacement& r : table_) {
                    if (EqualsNoCase(r.name, name)) {
                        if (!Put(r.value)) return false;
                        known = true;
                        break;
                    }
                }
                if (!known) return false;
            }
            i = close;
        }
        return true;
    }

    // A bare word or a quoted text, kept in the text buffer; false on a missing token, an
    // unterminated quote or a full buffer.
    bool Word(const char*& out) {
        SkipSpace();
        if (AtEnd()) return false;
        const std::size_t start = out_.textSize;
        bool expanded;
        if (s_[pos_] == '\'') {
            // The quoted text without its quotes ('' is one quote), then expanded.
            std::size_t rawSize = 0;
            ++pos_;
            for (;;) {
                if (AtEnd()) return false;
                const char c = s_[pos_++];
                if (c == '\'') {
                    if (AtEnd() || s_[pos_] != '\'') break;
                    ++pos_;
                }
                if (rawSize == sizeof raw_) return false;
                raw_[rawSize++] = c;
            }
            expanded = Expand(std::string_view(raw_, rawSize));
        } else {
            const std::size_t from = pos_;
            const std::size_t end = TokenEnd();
            if (end == from + 1 && (s_[from] == '{' || s_[from] == '}' || s_[from] == '='))
                return false;
            pos_ = end;
            expanded = Expand(Part(s_, from, end - from));
        }
        if (!expanded || out_.textSize >= kScriptTextSize) return false;
        out_.text[out_.textSize++] = '\0';
        out = out_.text + start;
        return true;
    }

    // A word only looked at: its text is given back to the buffer.
    bool Keyword(std::string_view& out, std::size_t& mark) {
        mark = out_.textSize;
        const char* word = nullptr;
        if (!Word(word)) return false;
        out = word;
        return true;
    }

    // "= s 'text'" or "= d 123" after a name.
    bool Value(ScriptValue& v) {
        if (!Expect('=')) return false;
        std::string_view type;
        std::size_t mark;
        if (!Keyword(type, mark)) return false;
        const bool text = EqualsNoCase(type, "s");
        const bool number = EqualsNoCase(type, "d");
        out_.textSize = mark;
        const char* data = nullptr;
        if (!Word(data)) return false;
        if (text) {
            v.kind = ScriptValue::Kind::String;
            v.text = data;
            return true;
        }
        if (number) {
            v.kind = ScriptValue::Kind::Number;
            const bool ok = ParseNumber(data, v.number);
            out_.textSize = static_cast<std::size_t>(data - out_.text);
            return ok;
        }
        return false;
    }

    static bool ParseNumber(std::string_view text, std::uint32_t& out) {
        std::size_t i = 0;
        unsigned base = 10;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            base = 16;
            i = 2;
        }
        if (i >= text.size()) return false;
        std::uint64_t n = 0;
        for (; i < text.size(); ++i) {
            const int c = std::tolower(static_cast<unsigned char>(text[i]));
            unsigned digit;
            if (c >= '0' && c <= '9')
                digit = static_cast<unsigned>(c - '0');
            else if (base == 16 && c >= 'a' && c <= 'f')
                digit = static_cast<unsigned>(c - 'a' + 10);
            else
                return false;
            n = n * base + digit;
            if (n > 0xFFFFFFFFu) return false;
        }
        out = static_cast<std::uint32_t>(n);
        return true;
    }

    // Keys up to and including the closing brace, linked from `first`; values go to the
    // key whose braces hold them (parent).
    bool KeyList(int parent, int& first, int depth) {
        if (depth > kMaxScriptDepth) return false;
        int* link = &first;
        int* valueLink = nullptr;
        if (parent != kNoItem) {
            valueLink = &out_.keys[parent].firstValue;
            while (*valueLink != kNoItem)
                valueLink = &out_.values[*valueLink].next;
        }
        for (;;) {
            if (Expect('}')) return true;
            if (AtEnd()) return false;
            std::string_view word;
            std::size_t mark;
            if (!Keyword(word, mark)) return false;
            if (EqualsNoCase(word, "val")) {
                out_.textSize = mark;
                if (parent == kNoItem) return false; // root keys take no values
                if (out_.valueCount == kMaxScriptValues) return false;
                const int index = out_.valueCount;
                ScriptValue v;
                if (!Word(v.name) || !Value(v)) return false;
                out_.values[out_.valueCount++] = v;
                *valueLink = index;
                valueLink = &out_.values[index].next;
                continue;
            }
            ScriptKey key;
            for (;;) {
                if (EqualsNoCase(word, "NoRemove"))
                    key.noRemove = true;
                else if (EqualsNoCase(word, "ForceRemove"))
                    key.forceRemove = true;
                else
                    break;
                out_.textSize = mark;
                if (!Keyword(word, mark)) return false;
            }
            if (word.empty()) return false;
            key.name = word.data(); // the word's text stays in the buffer
            if (Peek('=')) {
                if (!Value(key.defaultValue)) return false;
                key.hasDefault = true;
            }
            if (out_.keyCount == kMaxScriptKeys) return false;
            const int index = out_.keyCount++;
            out_.keys[index] = key;
            *link = index;
            link = &out_.keys[index].next;
            if (Expect('{') && !KeyList(index, out_.keys[index].firstChild, depth + 1))
                return false;
        }
    }

    std::string_view s_;
    std::initializer_list<Replacement> table_;
    ScriptParse& out_;
    std::size_t pos_ = 0;
    char raw_[kScriptTextSize];
};

} // namespace

void ParseRegistrarScript(std::string_view text, std::initializer_list<Replacement> replacements,
                          ScriptParse& out) {
    Parser(text, replacements, out).Run();
}

} // namespace pelka
