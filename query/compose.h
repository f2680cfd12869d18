// Search URL composition from a normalised keyword and an engine entry. No Windows needed.
#pragma once
#include <string>
#include <string_view>

#include "engines/engine_entry.h"
#include "query/encode.h"

struct ComposeOptions {
    std::string programDir; // ends with a backslash; used by "\" heads
    Cp932ToUtf16 toUtf16;   // code page 932 to UTF-16, for Character 3
};

// Union of the KeywordClass bits of the keyword's characters (spaces add nothing).
int ClassifyKeyword(std::string_view keyword);

// The URL for a keyword of words separated by single spaces. mode 1 chooses URL2, else URL1;
// UrlMode bits shared with the keyword's classes also choose URL2 when the entry has one.
std::string BuildSearchUrl(std::string_view keyword, int mode, const EngineEntry& entry,
                           const ComposeOptions& options);

// The browser's parameter string for a URL: the URL itself, or, when it holds a space or a
// double quote, the URL in double quotes with its quotes as %22 (and trailing backslashes
// doubled), so that it always reaches the browser as exactly one argument.
std::string BrowserParameters(std::string_view url);
