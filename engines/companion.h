// The companion of an engine file: what its entries have beyond their records (their
// keywords and suggestion URLs), kept beside the file as UTF-8 text that a person can read and keep
// in version control. No Windows needed.
//
//   ; Morvel: 標準.sef の検索エンジンのキーワード (UTF-8)
//   [1]
//   name=Google
//   keyword=g
//   suggest=https://www.google.com/complete/search?client=firefox&q={searchTerms}
//
// One section per entry that has something, numbered by its place in the engine file; "name"
// ties the section to its entry, so that a file reordered by a program that knows nothing of
// the companion still gives each entry its own keyword. Lines end in LF or CR LF; ";" and "#"
// begin comments; unknown keys and sections are skipped, and so is a value that is not UTF-8.
#pragma once
#include <cstddef>
#include <string_view>

#include "base/text.h"
#include "base/wide_text.h"
#include "engines/engine_entry.h"

// The companion of "name.sef" is "name.sef.txt".
constexpr char kCompanionSuffix[] = ".txt";
// A larger companion is not read at all.
constexpr size_t kCompanionMaxBytes = 256 * 1024;
// Room for the text of 64 entries with every field at its longest.
constexpr size_t kCompanionTextSize = 128 * 1024;

// The conversions between the companion's UTF-8 and the entries' Shift-JIS.
struct CompanionCodec {
    Cp932ToUtf16 toUtf16;
    Utf16ToCp932 toCp932;
};

// Whether text may be an entry's keyword: 1 to 15 bytes of Shift-JIS in whole characters,
// without spaces (half- or full-width) or control characters.
bool IsEngineKeyword(std::string_view keyword);
// Whether text may be an entry's suggestion URL: 1 to 511 bytes of Shift-JIS in whole
// characters, without blanks or control characters, beginning with "https://" or "http://"
// and holding "{searchTerms}".
bool IsSuggestUrl(std::string_view url);
// Whether any of the entries has something for the companion (none for null extras).
bool HasExtras(const EngineExtras* extras, int count);

// Fills extras[0..count) (cleared first) from companion text. A section goes to the entry at
// its place when that entry has its name (or the section names none), else to the first
// entry of that name that has none yet, else nowhere. A keyword that IsEngineKeyword refuses,
// a suggestion URL that IsSuggestUrl refuses, or either when Shift-JIS cannot say it, is
// dropped. Returns how many entries got something.
int ReadCompanionText(std::string_view text, const EngineEntry* entries, int count,
                      EngineExtras* extras, const CompanionCodec& codec);

// The companion text of a file (fileName, Shift-JIS, is named in its first line). False when
// no entry has anything (no companion is needed then) or the text did not fit.
bool WriteCompanionText(const char* fileName, const EngineEntry* entries,
                        const EngineExtras* extras, int count, const CompanionCodec& codec,
                        TextBuffer& out);
