// UTF-16 text in a fixed buffer, for what a person typed or selected before it is put into a
// character code. Like FixedText: always terminated, appends are bounded, and a text that did
// not fit remembers that it was cut. No Windows needed.
#pragma once
#include <cstddef>
#include <string_view>

#include "base/text.h"

// Char is char16_t for the program's own UTF-16 text (WideText) and wchar_t for what goes to
// and comes from the system's wide functions (WinText); both are UTF-16.
template <typename Char, size_t N> class BasicWideText {
    static_assert(N > 0, "room for the terminator");

  public:
    using View = std::basic_string_view<Char>;
    BasicWideText() = default;
    explicit BasicWideText(View text) { Append(text); }

    void Append(View text) {
        size_t n = text.size();
        if (n > N - 1 - size_) {
            n = N - 1 - size_;
            cut_ = true;
        }
        for (size_t i = 0; i < n; ++i)
            data_[size_ + i] = text[i];
        size_ += n;
        data_[size_] = Char();
    }
    void Append(Char c) { Append(View(&c, 1)); }
    void Assign(View text) {
        clear();
        Append(text);
    }
    void clear() {
        size_ = 0;
        cut_ = false;
        data_[0] = Char();
    }
    // Shortens the text to n units (a longer n changes nothing).
    void Truncate(size_t n) {
        if (n >= size_) return;
        size_ = n;
        data_[size_] = Char();
    }
    void MarkCut() { cut_ = true; }

    const Char* c_str() const { return data_; }
    Char* data() { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    static constexpr size_t capacity() { return N - 1; }
    bool cut() const { return cut_; }
    Char operator[](size_t i) const { return data_[i]; }
    View view() const { return View(data_, size_); }
    operator View() const { return view(); }
    // After the buffer was filled through data(): takes the text up to its terminator.
    void Measure() {
        size_ = 0;
        while (size_ < N - 1 && data_[size_] != Char())
            ++size_;
        data_[size_] = Char();
    }

  private:
    Char data_[N] = {};
    size_t size_ = 0;
    bool cut_ = false;
};
template <size_t N> using WideText = BasicWideText<char16_t, N>;
template <size_t N> using WinText = BasicWideText<wchar_t, N>;

inline bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// What a UTF-16 unit weighs against the limits counted in Shift-JIS bytes: 1 for the
// characters that Shift-JIS writes in one byte (ASCII, the half-width katakana, and the few
// code page 932 single bytes beyond them), else 2. A text that Shift-JIS can say so weighs
// exactly its Shift-JIS bytes; another character weighs 2 for each of its UTF-16 units (4
// beyond the Basic Multilingual Plane).
constexpr size_t KeywordUnitWeight(char16_t u) {
    return (u <= 0x80 || (u >= 0xF8F0 && u <= 0xF8F3) || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
}
size_t KeywordWeight(std::u16string_view text);
// The number of units of the longest beginning of text whose weight is at most limit; a
// surrogate pair is never split.
size_t KeywordUnitsWithin(std::u16string_view text, size_t limit);
// The units of the character that begins at position i: 2 for a whole surrogate pair, else 1.
size_t CharacterUnits(std::u16string_view text, size_t i);

// Puts UTF-16 text into code page 932 without best fit: a character that Shift-JIS cannot
// say exactly (no mapping, or one that does not come back as the same character) becomes
// "?" (a surrogate pair one "?"). Appends to out, which tells when it was cut; returns the
// position of the first such character, or text.size() when Shift-JIS can say all of it. The
// program passes the platform's conversion; tests may pass any table.
using Utf16ToCp932 = size_t (*)(std::u16string_view text, TextBuffer& out);
// Converts code page 932 text to at most `capacity` UTF-16 units and returns how many it
// wrote, a terminator not counted. The program passes the platform's conversion; tests may
// pass any table that maps code page 932 the same way.
using Cp932ToUtf16 = size_t (*)(std::string_view text, char16_t* out, size_t capacity);

// Appends the UTF-8 form of UTF-16 text (a lone surrogate as U+FFFD); false when it was cut.
bool AppendUtf8(std::u16string_view text, TextBuffer& out);
// Decodes strict UTF-8 (no overlong forms, no surrogates, nothing beyond U+10FFFF) into out;
// false, out then incomplete, for text that is not UTF-8 (a NUL counts as not) or does not fit.
bool DecodeUtf8Into(std::string_view text, char16_t* out, size_t capacity, size_t& written);
template <size_t N> bool DecodeUtf8(std::string_view text, WideText<N>& out) {
    size_t written = 0;
    const bool ok = DecodeUtf8Into(text, out.data(), N - 1, written);
    out.data()[written] = u'\0';
    out.Measure();
    return ok;
}

#ifdef _WIN32
// The platform's conversion, character by character through WideCharToMultiByte (932,
// WC_NO_BEST_FIT_CHARS) and back.
size_t PlatformUtf16ToCp932(std::u16string_view text, TextBuffer& out);
#endif
