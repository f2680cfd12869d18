// The keyword as the search bar holds it, and the limits it is kept to. No Windows needed.
#pragma once
#include <cstddef>
#include <string_view>

#include "base/wide_text.h"

// A keyword takes at most 127 bytes of Shift-JIS.
constexpr size_t kKeywordSize = 128;

// What a person typed or selected, as UTF-16. Its weight (below) is at most 127, so it never
// has more than 127 units.
using WideKeyword = WideText<kKeywordSize>;

// The limits, in bytes of Shift-JIS: the keyword box, and text taken from a message.
constexpr size_t kKeywordBoxLimit = 120;
constexpr size_t kMessageKeywordLimit = 119;

// What a UTF-16 unit counts against the limits: 1 for the characters that Shift-JIS writes in
// one byte (ASCII, the half-width katakana, and the few code page 932 single bytes beyond
// them), else 2. A text that Shift-JIS can say so weighs exactly its Shift-JIS bytes; another
// character weighs 2 for each of its UTF-16 units (4 beyond the Basic Multilingual Plane).
constexpr size_t KeywordUnitWeight(char16_t u) {
    return (u <= 0x80 || (u >= 0xF8F0 && u <= 0xF8F3) || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
}
size_t KeywordWeight(std::u16string_view text);
// The number of units of the longest beginning of text whose weight is at most limit; a
// surrogate pair is never split.
size_t KeywordUnitsWithin(std::u16string_view text, size_t limit);

// The keyword that UTF-16LE data of another program gives: read unit by unit, never beyond
// size bytes (an odd last byte is left out), up to its first NUL; a lone surrogate becomes
// U+FFFD; the longest beginning within the weight limit, never half a pair.
void KeywordFromUtf16Data(const unsigned char* data, size_t size, size_t limit, WideKeyword& out);
