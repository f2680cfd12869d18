// Text between the system, which speaks UTF-16, and Morvel's own formats (engine files,
// definition files, the settings file, the old message kind), which are Shift-JIS: always
// converted with code page 932, whatever the system's code page is.
#pragma once
#include <windows.h>

#include <string_view>

#include "base/text.h"
#include "base/wide_text.h"

// Shift-JIS into UTF-16 in out (capacity units with the terminator); the units written.
size_t SjisToWide(std::string_view sjis, wchar_t* out, size_t capacity);
template <size_t N> void AppendSjis(WinText<N>& out, std::string_view sjis) {
    wchar_t units[N];
    const size_t n = SjisToWide(sjis, units, N);
    out.Append(std::wstring_view(units, n));
    if (n == 0 && !sjis.empty()) out.MarkCut();
}
template <size_t N> WinText<N> FromSjis(std::string_view sjis) {
    WinText<N> text;
    AppendSjis(text, sjis);
    return text;
}
// A terminated Shift-JIS field (a name in an engine entry, a settings value).
template <size_t N, size_t M> WinText<N> FromSjisField(const char (&field)[M]) {
    return FromSjis<N>(std::string_view(field, FieldLength(field, M)));
}

// UTF-16 into Shift-JIS, appended to out: true when Shift-JIS says every character exactly
// (without best fit); otherwise each character it cannot say is "?".
bool WideToSjis(std::wstring_view text, TextBuffer& out);

// A path in a fixed buffer of MAX_PATH units.
using PathText = WinText<MAX_PATH>;
// dir (with its trailing backslash) followed by name; false when it does not fit whole.
inline bool JoinWidePath(PathText& out, std::wstring_view dir, std::wstring_view name) {
    out.Assign(dir);
    out.Append(name);
    return !out.cut();
}
// The same with a name in Shift-JIS (an engine file's).
inline bool JoinSjisName(PathText& out, std::wstring_view dir, std::string_view sjisName) {
    out.Assign(dir);
    AppendSjis(out, sjisName);
    return !out.cut();
}

// The system's own text as a view.
inline std::wstring_view View(const wchar_t* text) {
    return text ? std::wstring_view(text) : std::wstring_view();
}
