// libFuzzer target: the definition-file rules on arbitrary text. Checks that an entry is
// either rejected, left zeroed and with the failing section and key named, or built with
// every field within its limit and terminated inside its field; that its keyword, if any,
// is one; and that what an export writes for it reads back as the same entry and keyword.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/text.h"
#include "engines/companion.h"
#include "engines/definition.h"
#include "engines/profile_text.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Length of a field's text; the field must hold its NUL.
size_t Measured(const char* field, size_t size) {
    const size_t n = FieldLength(field, size);
    Require(n < size);
    for (size_t i = n; i < size; ++i)
        Require(field[i] == '\0'); // zero-filled behind the text
    return n;
}

// A value that the profile reader gives back unchanged (no blanks or quotation marks at
// its ends, no line breaks), so that the round trip must be exact.
bool Stable(const char* text) {
    const size_t n = std::strlen(text);
    if (n == 0) return true;
    const auto edge = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    if (edge(text[0]) || edge(text[n - 1])) return false;
    return std::strpbrk(text, "\r\n") == nullptr;
}

std::string Render(const DefinitionValue* v, int n) {
    std::string out, section;
    for (int i = 0; i < n; ++i) {
        if (section != v[i].section) {
            section = v[i].section;
            out += "[" + section + "]\r\n";
        }
        out += std::string(v[i].key) + "=" + v[i].text + "\r\n";
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ProfileText profile(text);
    EngineEntry e;
    std::memset(&e, 0xA5, sizeof e);
    const DefinitionFault fault = EntryFromDefinition(profile.Reader(), e);
    if (fault.section) {
        Require(fault.key != nullptr);
        static const EngineEntry zero = {};
        Require(std::memcmp(&e, &zero, sizeof e) == 0);
        return 0;
    }
    const size_t name = Measured(e.Name, sizeof e.Name);
    const size_t head1 = Measured(e.head[0], sizeof e.head[0]);
    const size_t key1 = Measured(e.key[0], sizeof e.key[0]);
    Measured(e.tail[0], sizeof e.tail[0]);
    const size_t head2 = Measured(e.head[1], sizeof e.head[1]);
    const size_t key2 = Measured(e.key[1], sizeof e.key[1]);
    const size_t tail2 = Measured(e.tail[1], sizeof e.tail[1]);
    Require(name >= 1 && head1 >= 1 && key1 >= 1);
    Require(head2 == 0 ? key2 == 0 && tail2 == 0 : key2 >= 1);
    EngineExtras x;
    std::memset(&x, 0xA5, sizeof x);
    ExtrasFromDefinition(profile.Reader(), x);
    const size_t keyword = Measured(x.Keyword, sizeof x.Keyword);
    Require(keyword == 0 || IsEngineKeyword(std::string_view(x.Keyword, keyword)));
    const size_t suggest = Measured(x.Suggest, sizeof x.Suggest);
    Require(suggest == 0 || IsSuggestUrl(std::string_view(x.Suggest, suggest)));

    DefinitionValue values[kMaxDefinitionValues];
    const int n = DefinitionValues(e, values, x);
    Require(n >= 4 && n <= kMaxDefinitionValues);
    bool stable = true;
    for (int i = 0; i < n; ++i) {
        Require(FieldLength(values[i].text, sizeof values[i].text) < sizeof values[i].text);
        stable = stable && Stable(values[i].text);
    }
    if (stable) {
        const ProfileText again(Render(values, n));
        EngineEntry back;
        Require(!EntryFromDefinition(again.Reader(), back).section);
        Require(std::memcmp(&back, &e, sizeof e) == 0);
        EngineExtras backX;
        ExtrasFromDefinition(again.Reader(), backX);
        Require(std::memcmp(&backX, &x, sizeof x) == 0);
    }
    return 0;
}
