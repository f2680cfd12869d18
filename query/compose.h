// Search URL composition from a normalised keyword and an engine entry: from its Shift-JIS
// bytes, or, when Shift-JIS cannot say it, from its UTF-16 text. No Windows needed.
#pragma once
#include <string_view>

#include "base/text.h"
#include "engines/engine_entry.h"
#include "query/encode.h"

struct ComposeOptions {
    const char* programDir; // ends with a backslash; used by "\" heads
    Cp932ToUtf16 toUtf16;   // code page 932 to UTF-16: Character 3, and the UTF-16 URLs
    Utf16ToCp932 toCp932;   // UTF-16 to code page 932 without best fit: what Shift-JIS can say
};

// The longest URL: "file:///" and the program directory, a head, the encoded keyword with
// every "%20" (a third of it at most) turned into a key, and a tail.
constexpr size_t kProgramDirSize = 260;
constexpr size_t kUrlSize = 8192;
static_assert(8 + kProgramDirSize + kHeadSize + (kEncodedKeywordSize / 3) * (kKeySize - 1) +
                      kTailSize <=
                  kUrlSize,
              "every URL fits");
using UrlText = FixedText<kUrlSize>;
// A URL as UTF-16 (Character 2 with a keyword Shift-JIS cannot say): each byte of the rest gives
// at most one unit, and the keyword's 127 units hold at most 63 spaces.
static_assert(8 + kProgramDirSize + kHeadSize + (kKeywordSize / 2) * (kKeySize - 1) + kKeywordSize +
                      kTailSize <=
                  kUrlSize,
              "every UTF-16 URL fits");
using WideUrlText = WideText<kUrlSize>;

// The browser's parameters: every byte of a URL may become "%22", and the two quotes.
using BrowserParameterText = FixedText<3 * kUrlSize + 2>;
using WideBrowserParameterText = WideText<3 * kUrlSize + 2>;

// Union of the KeywordClass bits of the keyword's characters (spaces add nothing).
int ClassifyKeyword(std::string_view keyword);
// The same for UTF-16: a character that Shift-JIS writes in one byte by its value, as the
// byte; every other character, whether Shift-JIS can say it or not, is double-byte.
int ClassifyKeyword(std::u16string_view keyword);

// The URL for a keyword of words separated by single spaces. mode 1 chooses URL2, else URL1;
// UrlMode bits shared with the keyword's classes also choose URL2 when the entry has one.
// A keyword longer than the keyword limit gives a cut URL (cut()).
UrlText BuildSearchUrl(std::string_view keyword, int mode, const EngineEntry& entry,
                       const ComposeOptions& options);
// The URL of Character 3 (UTF-8) for a UTF-16 keyword, composed as BuildSearchUrl composes.
UrlText BuildUtf8SearchUrl(std::u16string_view keyword, int mode, const EngineEntry& entry,
                           const ComposeOptions& options);
// The URL of Character 2 (no encoding) for a UTF-16 keyword: the head and tail converted from
// code page 932, the keyword as it is with its spaces (and any "%20" in it) turned into the key.
WideUrlText BuildWideSearchUrl(std::u16string_view keyword, int mode, const EngineEntry& entry,
                               const ComposeOptions& options);

// The browser's parameter string for a URL: the URL itself, or, when it holds a space or a
// double quote, the URL in double quotes with its quotes as %22 (and trailing backslashes
// doubled), so that it always reaches the browser as exactly one argument.
BrowserParameterText BrowserParameters(std::string_view url);
WideBrowserParameterText BrowserParameters(std::u16string_view url);
