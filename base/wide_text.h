// UTF-16 text in a fixed buffer, for what a person typed or selected before it is put into a
// character code. Like FixedText: always terminated, appends are bounded, and a text that did
// not fit remembers that it was cut. No Windows needed.
#pragma once
#include <cstddef>
#include <string_view>

template <size_t N> class WideText {
    static_assert(N > 0, "room for the terminator");

  public:
    WideText() = default;
    explicit WideText(std::u16string_view text) { Append(text); }

    void Append(std::u16string_view text) {
        size_t n = text.size();
        if (n > N - 1 - size_) {
            n = N - 1 - size_;
            cut_ = true;
        }
        for (size_t i = 0; i < n; ++i)
            data_[size_ + i] = text[i];
        size_ += n;
        data_[size_] = u'\0';
    }
    void Append(char16_t c) { Append(std::u16string_view(&c, 1)); }
    void Assign(std::u16string_view text) {
        clear();
        Append(text);
    }
    void clear() {
        size_ = 0;
        cut_ = false;
        data_[0] = u'\0';
    }
    // Shortens the text to n units (a longer n changes nothing).
    void Truncate(size_t n) {
        if (n >= size_) return;
        size_ = n;
        data_[size_] = u'\0';
    }
    void MarkCut() { cut_ = true; }

    const char16_t* c_str() const { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    static constexpr size_t capacity() { return N - 1; }
    bool cut() const { return cut_; }
    char16_t operator[](size_t i) const { return data_[i]; }
    std::u16string_view view() const { return std::u16string_view(data_, size_); }
    operator std::u16string_view() const { return view(); }

  private:
    char16_t data_[N] = {};
    size_t size_ = 0;
    bool cut_ = false;
};

inline bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
