// The keyword as the search bar holds it, and the limits it is kept to. No Windows needed.
#pragma once
#include <cstddef>
#include <string_view>

#include "base/wide_text.h" // the weights against these limits

// A keyword takes at most 127 bytes of Shift-JIS.
constexpr size_t kKeywordSize = 128;

// What a person typed or selected, as UTF-16. Its weight (KeywordWeight) is at most 127, so it
// never has more than 127 units.
using WideKeyword = WideText<kKeywordSize>;

// The limits, in bytes of Shift-JIS: the keyword box, and text taken from a message.
constexpr size_t kKeywordBoxLimit = 120;
constexpr size_t kMessageKeywordLimit = 119;

// The keyword that UTF-16LE data of another program gives: read unit by unit, never beyond
// size bytes (an odd last byte is left out), up to its first NUL; a lone surrogate becomes
// U+FFFD; the longest beginning within the weight limit, never half a pair.
void KeywordFromUtf16Data(const unsigned char* data, size_t size, size_t limit, WideKeyword& out);

// The keyword that a selection taken from another program gives, as a browser hands a
// selection over: the text up to its first NUL, each line break (CR LF, CR or LF) and tab as
// one space, spaces trimmed at both ends, then cut as KeywordFromUtf16Data cuts (a lone
// surrogate as U+FFFD, the longest beginning within the weight limit, never half a pair).
void KeywordFromSelectedText(std::u16string_view text, size_t limit, WideKeyword& out);
