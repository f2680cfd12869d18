// One search engine: the fixed 1088-byte record used in memory and in engine files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

constexpr int kMaxEngines = 64;
constexpr size_t kNameSize = 28;
constexpr size_t kHeadSize = 256;
constexpr size_t kKeySize = 16;
constexpr size_t kTailSize = 256;

// Character codes of the keywords in the URL.
enum CharacterCode : uint8_t {
    kCharShiftJis = 0,
    kCharEuc = 1,
    kCharNone = 2,
    kCharUtf8 = 3,
};

// Bits of UrlMode and of ClassifyKeyword.
enum KeywordClass : uint8_t {
    kClassLetter = 1,
    kClassDigit = 2,
    kClassOtherSingle = 4,
    kClassDouble = 8,
};

// Index 0 of head/key/tail is URL1 (all words), index 1 is URL2 (any word).
struct EngineEntry {
    char Name[kNameSize];
    uint8_t Reserved[2];
    uint8_t UrlMode;
    uint8_t Character;
    char head[2][kHeadSize];
    char key[2][kKeySize];
    char tail[2][kTailSize];
};

static_assert(sizeof(EngineEntry) == 1088, "engine record size");
static_assert(offsetof(EngineEntry, Name) == 0, "Name");
static_assert(offsetof(EngineEntry, Reserved) == 28, "reserved");
static_assert(offsetof(EngineEntry, UrlMode) == 30, "UrlMode");
static_assert(offsetof(EngineEntry, Character) == 31, "Character");
static_assert(offsetof(EngineEntry, head) == 32, "URL1 head");
static_assert(offsetof(EngineEntry, head) + kHeadSize == 288, "URL2 head");
static_assert(offsetof(EngineEntry, key) == 544, "URL1 key");
static_assert(offsetof(EngineEntry, key) + kKeySize == 560, "URL2 key");
static_assert(offsetof(EngineEntry, tail) == 576, "URL1 tail");
static_assert(offsetof(EngineEntry, tail) + kTailSize == 832, "URL2 tail");

// What an entry has beyond its record: the engine file has no room for it, so it is kept in
// the file's companion (engines/companion.h) and is never required.
constexpr size_t kEngineKeywordSize = 16;
constexpr size_t kSuggestUrlSize = 512;
struct EngineExtras {
    // The word that picks the entry when the typed text begins with it: Shift-JIS, 1 to 15
    // bytes without spaces; "" for none (IsEngineKeyword).
    char Keyword[kEngineKeywordSize];
    // Where the engine's suggestions for the typed text come from: a URL template in
    // Shift-JIS (0 to 511 bytes) with "{searchTerms}" where the text goes, encoded in the
    // entry's character code; "" for none.
    char Suggest[kSuggestUrlSize];
};

// An owned table of 1 to 64 entries read from one engine file, and what its companion adds.
struct EngineSet {
    std::unique_ptr<EngineEntry[]> entries;
    EngineExtras extras[kMaxEngines] = {};
    int count = 0;
};

inline bool HasUrl2(const EngineEntry& e) {
    return e.head[1][0] != '\0';
}
