// Percent-encodings of a keyword for search URLs: of its Shift-JIS bytes, or of its UTF-16
// text as UTF-8. No Windows needed.
#pragma once
#include <string_view>

#include "base/text.h"
#include "query/keyword.h"


// The longest keyword is kKeywordSize - 1 bytes; no byte encodes to more than nine
// characters ("%E3%80%80" for a single-byte character taken as a full UTF-16 unit).
constexpr size_t kEncodedKeywordSize = 9 * (kKeywordSize - 1) + 1;
using EncodedKeyword = FixedText<kEncodedKeywordSize>;

// a-z, @, A-Z, 0-9, * - . _ pass unescaped; every other byte (the space too) is escaped.
bool IsUrlSafeByte(unsigned char b);

// The encoders cut what does not fit (cut() tells); a keyword within the keyword limit
// always fits.
// Byte by byte, without regard to characters: 0x83 0x41 gives "%83A".
EncodedKeyword EncodeShiftJis(std::string_view keyword);
// Double-byte characters converted to EUC-JP and always escaped; single bytes (half-width
// katakana too) as they are, escaped unless URL-safe.
EncodedKeyword EncodeEuc(std::string_view keyword);
// Each UTF-16 unit of the converted keyword as UTF-8; space gives "%20". A keyword longer
// than the keyword limit gives an empty, cut text.
EncodedKeyword EncodeUtf8(std::string_view keyword, Cp932ToUtf16 toUtf16);
// Each character of a UTF-16 keyword as UTF-8, escaped unless URL-safe (space gives "%20"): a
// surrogate pair as one four-byte sequence, a surrogate without its partner as U+FFFD.
EncodedKeyword EncodeUtf8(std::u16string_view keyword);

#ifdef _WIN32
// The platform's conversion: MultiByteToWideChar with code page 932, whatever the system's.
size_t PlatformCp932ToUtf16(std::string_view text, char16_t* out, size_t capacity);
// EncodeUtf8 through the platform's conversion.
EncodedKeyword EncodeUtf8(std::string_view keyword);
#endif
