// One engine entry in definition-file form (sections "Data", "URL1", "URL2"). The rules of
// which values are required and how long they may be live here; the file access (the
// system's profile functions, or ProfileText of engines/profile_text.h) is supplied by the
// caller.
#pragma once
#include <string_view>

#include "base/text.h"
#include "engines/engine_entry.h"

// The size of the buffer that a text value is read into: room for the longest value taken, a
// suggestion URL, and one byte more, so that a longer value is seen to be too long. (Every
// other value is refused once it outgrows its field, however much of it is seen.)
constexpr size_t kDefinitionValueBuffer = kSuggestUrlSize + 1;
using DefinitionText = FixedText<kDefinitionValueBuffer>;

// Reads a text value with an empty default into out (at most kDefinitionValueBuffer - 1 bytes
// are seen) and a number with default 0, as the profile reader does; source is handed to both.
struct DefinitionReader {
    const void* source;
    void (*text)(const void* source, const char* section, const char* key, DefinitionText& out);
    int (*number)(const void* source, const char* section, const char* key);
};

struct DefinitionFault {
    const char* section = nullptr; // null when the entry was read
    const char* key = nullptr;
};

// Builds an entry from a definition. On a fault the entry is left zeroed and the fault
// names the first failing section and key.
DefinitionFault EntryFromDefinition(const DefinitionReader& reader, EngineEntry& entry);

// The entry's extras from a definition: "Data" "Keyword" and "Suggest", never required. A
// keyword that IsEngineKeyword refuses, or a suggestion URL that IsSuggestUrl refuses (or a
// value too long to be either), is left out, so a definition is never refused for them;
// files without the keys read as before.
void ExtrasFromDefinition(const DefinitionReader& reader, EngineExtras& extras);

// One key of a definition file as an export writes it.
struct DefinitionValue {
    const char* section;
    const char* key;
    char text[kSuggestUrlSize]; // the field's text (bounded by its field) or a decimal number
};
constexpr int kMaxDefinitionValues = 11;

// The keys that an export writes for the entry, in the order written: "Data" "Name";
// "Keyword" and "Suggest" only when the extras have one; "Character" and "UrlMode" only when not 0;
// "URL1" "head", "key" and "tail" (the tail also when empty); "URL2" "head", "key" and "tail" only
// when the URL2 head is not empty. Returns the number of values filled.
int DefinitionValues(const EngineEntry& entry, DefinitionValue (&values)[kMaxDefinitionValues],
                     const EngineExtras& extras = EngineExtras{});

// A value as the profile reader handed it back in a buffer of bufferSize bytes, of which it
// reported `got` bytes: never read beyond the buffer nor past the first NUL.
std::string_view ProfileValue(const char* buffer, size_t bufferSize, size_t got);
