#include "bridge/registrar_script.h"

#include <cctype>

namespace pelka {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

class Parser {
  public:
    Parser(std::string_view text, const Replacements& table) : s_(text), table_(table) {}

    ScriptParse Run() {
        ScriptParse out;
        for (;;) {
            SkipSpace();
            if (AtEnd()) break;
            ScriptRoot root;
            if (!Word(root.name) || root.name.empty() || !Expect('{') || !KeyList(root.keys, 1)) {
                out.errorOffset = pos_;
                out.roots.clear();
                return out;
            }
            out.roots.push_back(std::move(root));
        }
        out.ok = true;
        return out;
    }

  private:
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

    // Appends raw text to out, replacing %NAME% and %%.
    bool Expand(std::string_view raw, std::string& out) {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                out += raw[i];
                continue;
            }
            const std::size_t close = raw.find('%', i + 1);
            if (close == std::string_view::npos) return false;
            const std::string_view name = raw.substr(i + 1, close - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                bool known = false;
                for (const auto& [key, value] : table_) {
                    if (EqualsNoCase(key, name)) {
                        out += value;
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

    // A bare word or a quoted text; false on a missing token or an unterminated quote.
    bool Word(std::string& out) {
        out.clear();
        SkipSpace();
        if (AtEnd()) return false;
        if (s_[pos_] == '\'') {
            std::string raw;
            ++pos_;
            for (;;) {
                if (AtEnd()) return false;
                const char c = s_[pos_++];
                if (c != '\'') {
                    raw += c;
                } else if (!AtEnd() && s_[pos_] == '\'') {
                    raw += '\'';
                    ++pos_;
                } else {
                    break;
                }
            }
            return Expand(raw, out);
        }
        const std::size_t start = pos_;
        const std::size_t end = TokenEnd();
        if (end == start + 1 && (s_[start] == '{' || s_[start] == '}' || s_[start] == '='))
            return false;
        pos_ = end;
        return Expand(s_.substr(start, end - start), out);
    }

    // "= s 'text'" or "= d 123" after a name.
    bool Value(ScriptValue& v) {
        std::string type;
        if (!Expect('=') || !Word(type)) return false;
        std::string data;
        if (!Word(data)) return false;
        if (EqualsNoCase(type, "s")) {
            v.kind = ScriptValue::Kind::String;
            v.text = std::move(data);
            return true;
        }
        if (EqualsNoCase(type, "d")) {
            v.kind = ScriptValue::Kind::Number;
            return ParseNumber(data, v.number);
        }
        return false;
    }

    static bool ParseNumber(const std::string& text, std::uint32_t& out) {
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

    // Keys up to and including the closing brace.
    bool KeyList(std::vector<ScriptKey>& keys, int depth) {
        if (depth > kMaxScriptDepth) return false;
        for (;;) {
            if (Expect('}')) return true;
            if (AtEnd()) return false;
            std::string word;
            if (!Word(word)) return false;
            if (EqualsNoCase(word, "val")) {
                ScriptValue v;
                if (!Word(v.name) || !Value(v)) return false;
                if (depth == 1) return false; // root keys take no values
                // A value belongs to the key whose braces hold it.
                pendingValues_.push_back(std::move(v));
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
                if (!Word(word)) return false;
            }
            if (word.empty()) return false;
            key.name = std::move(word);
            if (Peek('=')) {
                if (!Value(key.defaultValue)) return false;
                key.hasDefault = true;
            }
            if (Expect('{')) {
                std::vector<ScriptValue> outer;
                outer.swap(pendingValues_);
                if (!KeyList(key.children, depth + 1)) return false;
                key.values.swap(pendingValues_);
                pendingValues_.swap(outer);
            }
            keys.push_back(std::move(key));
        }
    }

    std::string_view s_;
    const Replacements& table_;
    std::size_t pos_ = 0;
    std::vector<ScriptValue> pendingValues_;
};

} // namespace

ScriptParse ParseRegistrarScript(std::string_view text, const Replacements& replacements) {
    return Parser(text, replacements).Run();
}

} // namespace pelka
