// Engine keywords: text that begins with an entry's keyword and a space ("w 東京") is searched
// with that entry, whichever engine is selected; entries that share a keyword are searched
// together. No Windows needed.
#pragma once
#include <string_view>

#include "base/text.h"
#include "base/wide_text.h"
#include "engines/engine_entry.h"

// At most this many entries are searched for one keyword.
constexpr int kMaxKeywordEngines = 8;

struct KeywordRoute {
    int engines[kMaxKeywordEngines] = {}; // in list order
    int count = 0;                        // 0: the text begins with no keyword
    int matched = 0;          // the entries that have the keyword; beyond 8 they are not searched
    std::u16string_view rest; // the text after the keyword and its space
};

// The unit as keywords are compared: full-width ASCII as half-width, ASCII letters in lower
// case.
constexpr char16_t FoldKeywordUnit(char16_t u) {
    if (u >= 0xFF01 && u <= 0xFF5E) u = static_cast<char16_t>(u - 0xFEE0);
    return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u - u'A' + u'a') : u;
}
// Whether two keywords (Shift-JIS) are the same keyword.
bool SameEngineKeyword(std::string_view a, std::string_view b, Cp932ToUtf16 toUtf16);

// The entries whose keyword is the text's first word, when a half- or full-width space or the
// end of the text follows it (spaces before it are passed over).
KeywordRoute RouteByKeyword(std::u16string_view text, const EngineSet& set, Cp932ToUtf16 toUtf16);

// How many entries other than `except` have the keyword.
int CountKeywordUsers(const EngineExtras* extras, int count, std::string_view keyword, int except,
                      Cp932ToUtf16 toUtf16);

// An entry's top page: the scheme (http unless the head says https) and host of its URL1 head,
// and "/"; empty when the head is a file reference ("\") or names no host.
using TopPageText = FixedText<kHeadSize + 1>;
TopPageText TopPageUrl(const EngineEntry& entry);
