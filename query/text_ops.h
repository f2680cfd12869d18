// Character-aware Shift-JIS text operations of the search action. No Windows needed.
#pragma once
#include <string_view>

#include "base/text.h"
#include "query/keyword.h"

// Writes source into out with every non-overlapping occurrence of pattern replaced; a match
// begins only at a character boundary, never on the trail byte of a double-byte character,
// and the replacement is never searched again. Returns the number of replacements, or -1
// for an empty pattern (and out is empty). out must not overlap source.
int ReplaceAll(std::string_view source, std::string_view pattern, std::string_view replacement,
               TextBuffer& out);

// The keyword's words as the search action takes them: each full-width space (U+3000) as a
// half-width one, half-width spaces trimmed at both ends and each run of them shrunk to one.
WideKeyword NormaliseKeyword(std::u16string_view text);
