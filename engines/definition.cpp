#include "engines/definition.h"

#include <cstring>

#include "base/text.h"
#include "engines/companion.h"

namespace {

enum class Manner { Required, Optional };

// A value as text: it ends at its first NUL, as a value from the profile reader does. A
// value longer than the buffer counts as too long for any field.
std::string_view TextOf(const DefinitionText& v) {
    return std::string_view(v.c_str(), FieldLength(v.c_str(), v.size()));
}

// Reads one text key into a field. Returns false when the value breaks its rule.
bool ReadText(const DefinitionReader& r, const char* section, const char* key, size_t limit,
              Manner manner, char* field, size_t fieldSize) {
    DefinitionText read;
    r.text(r.source, section, key, read);
    const std::string_view v = TextOf(read);
    if (v.size() > limit || read.cut()) return false;
    if (v.empty()) return manner == Manner::Optional;
    CopyBounded(field, fieldSize, v.data(), v.size());
    return true;
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
    e.Character = LowByte8(r.number(r.source, "Data", "Character"));
    e.UrlMode = LowByte8(r.number(r.source, "Data", "UrlMode"));

    DefinitionText read;
    r.text(r.source, "URL2", "head", read);
    const std::string_view head2 = TextOf(read);
    if (head2.size() > kHeadSize - 1 || read.cut()) return {"URL2", "head"};
    if (!head2.empty()) {
        CopyBounded(e.head[1], kHeadSize, head2.data(), head2.size());
        if (!ReadText(r, "URL2", "key", kKeySize - 1, Manner::Required, e.key[1], kKeySize))
            return {"URL2", "key"};
        if (!ReadText(r, "URL2", "tail", kTailSize - 1, Manner::Optional, e.tail[1], kTailSize))
            return {"URL2", "tail"};
    }
    entry = e;
    return {};
}

void ExtrasFromDefinition(const DefinitionReader& r, EngineExtras& extras) {
    extras = EngineExtras{};
    DefinitionText read;
    r.text(r.source, "Data", "Keyword", read);
    std::string_view v = TextOf(read);
    if (!read.cut() && IsEngineKeyword(v)) CopyToField(extras.Keyword, v);
    r.text(r.source, "Data", "Suggest", read);
    v = TextOf(read);
    if (!read.cut() && IsSuggestUrl(v)) CopyToField(extras.Suggest, v);
}

int DefinitionValues(const EngineEntry& e, DefinitionValue (&values)[kMaxDefinitionValues],
                     const EngineExtras& extras) {
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
        // Decimal digits, most significant first (the values are 8-bit).
        char digits[12];
        size_t n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        for (size_t i = 0; i < n; ++i)
            v.text[i] = digits[n - 1 - i];
        v.text[n] = '\0';
    };
    text("Data", "Name", e.Name, sizeof e.Name);
    if (IsEngineKeyword(
            std::string_view(extras.Keyword, FieldLength(extras.Keyword, kEngineKeywordSize))))
        text("Data", "Keyword", extras.Keyword, sizeof extras.Keyword);
    if (IsSuggestUrl(
            std::string_view(extras.Suggest, FieldLength(extras.Suggest, kSuggestUrlSize))))
        text("Data", "Suggest", extras.Suggest, sizeof extras.Suggest);
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

std::string_view ProfileValue(const char* buffer, size_t bufferSize, size_t got) {
    if (!buffer || bufferSize == 0) return std::string_view();
    if (got > bufferSize - 1) got = bufferSize - 1;
    return std::string_view(buffer, FieldLength(buffer, got));
}
