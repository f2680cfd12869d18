// An engine's answer to a suggestion request, in the OpenSearch suggestions form
// ["typed text", ["suggestion", ...], ...]. No Windows needed.
#pragma once
#include <cstddef>
#include <string_view>

#include "query/keyword.h"

// The suggestions kept of one answer, and the longest answer read (the fetcher reads no more
// and drops a longer one).
constexpr int kMaxSuggestions = 8;
constexpr size_t kSuggestAnswerLimit = 64 * 1024;

struct SuggestionList {
    int count = 0;
    WideKeyword items[kMaxSuggestions];
};

// Reads the first kMaxSuggestions strings of the answer's list into out and returns how many:
// each cut to the keyword box's limit (never inside a character), control characters as
// spaces; empty strings, strings with a NUL and whatever in the list is no string are
// skipped; the members after the list are not looked at (but must be JSON). An answer that is
// no JSON (a UTF-8 byte order mark is allowed), not of that form, or longer than
// kSuggestAnswerLimit gives 0 suggestions.
int ReadSuggestions(std::string_view json, SuggestionList& out);
