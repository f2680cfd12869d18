// Percent-encodings of a Shift-JIS keyword for search URLs. No Windows needed.
#pragma once
#include <functional>
#include <string>
#include <string_view>

// Converts code page 932 text to UTF-16 units (no terminator). The program passes the
// platform's conversion; tests may pass any table that maps code page 932 the same way.
using Cp932ToUtf16 = std::function<std::u16string(std::string_view)>;

// a-z, @, A-Z, 0-9, * - . _ pass unescaped; every other byte (the space too) is escaped.
bool IsUrlSafeByte(unsigned char b);

// Byte by byte, without regard to characters: 0x83 0x41 gives "%83A".
std::string EncodeShiftJis(std::string_view keyword);
// Double-byte characters converted to EUC-JP and always escaped; single bytes (half-width
// katakana too) as they are, escaped unless URL-safe.
std::string EncodeEuc(std::string_view keyword);
// Each UTF-16 unit of the converted keyword as UTF-8; space gives "%20".
std::string EncodeUtf8(std::string_view keyword, const Cp932ToUtf16& toUtf16);

#ifdef _WIN32
// The platform's conversion: MultiByteToWideChar with the ANSI code page (932).
std::u16string PlatformCp932ToUtf16(std::string_view text);
// EncodeUtf8 through the platform's conversion.
std::string EncodeUtf8(std::string_view keyword);
#endif
