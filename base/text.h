// Shift-JIS text helpers shared by every part of the program. No Windows needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// A byte that begins a double-byte Shift-JIS character.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Whether two texts are equal when the ASCII letters are taken without their case (other
// bytes, those of double-byte characters too, must be equal).
constexpr bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

// Part of a text, as substr gives it but without the exception the program is built without:
// a start or length beyond its end is cut back to the end.
constexpr std::string_view Slice(std::string_view text, size_t pos,
                                 size_t n = std::string_view::npos) {
    if (pos > text.size()) pos = text.size();
    if (n > text.size() - pos) n = text.size() - pos;
    return std::string_view(text.data() + pos, n);
}
// The text from pos on.
constexpr std::string_view From(std::string_view text, size_t pos) {
    return Slice(text, pos);
}

// Length of the text in a fixed field: never looks past the field's last byte.
size_t FieldLength(const char* field, size_t fieldSize);

// Copies at most destSize - 1 bytes of src (which ends at its NUL or at srcSize bytes)
// into dest and always terminates dest. Returns the number of bytes copied.
size_t CopyBounded(char* dest, size_t destSize, const char* src, size_t srcSize = SIZE_MAX);

// Writes the parts one after another into dest, cut to destSize - 1 bytes and terminated as
// a formatted copy ("%s%s...") would be. Returns the length of the whole text, which is
// destSize or more when it was cut.
size_t JoinText(char* dest, size_t destSize, std::initializer_list<std::string_view> parts);
// dir + name into out; false (out empty) when it does not fit whole.
bool JoinPath(char* out, size_t outSize, const char* dir, const char* name);

// Text in a fixed buffer, always terminated. Appends are bounded: what does not fit is
// dropped, and the text remembers that it was cut, so that a caller can refuse it.
// The storage belongs to FixedText below; functions that fill a text of any size take a
// TextBuffer&.
class TextBuffer {
  public:
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    void Append(std::string_view text);
    void Append(char c);
    void Append(size_t count, char c);
    void Assign(std::string_view text) {
        clear();
        Append(text);
    }
    void clear();
    // Shortens the text to n bytes (a longer n changes nothing).
    void Truncate(size_t n);
    // Takes the first n bytes that a call wrote into data() as the text (at most capacity()
    // of them), for functions that fill a buffer themselves.
    void SetWritten(size_t n);
    // Records that the text is not whole although nothing more was appended.
    void MarkCut() { cut_ = true; }

    const char* c_str() const { return data_; }
    char* data() { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    size_t capacity() const { return capacity_ - 1; }
    bool cut() const { return cut_; }
    char operator[](size_t i) const { return data_[i]; }
    char& operator[](size_t i) { return data_[i]; }
    std::string_view view() const { return std::string_view(data_, size_); }
    operator std::string_view() const { return view(); }

    friend bool operator==(const TextBuffer& a, std::string_view b) { return a.view() == b; }
    friend bool operator!=(const TextBuffer& a, std::string_view b) { return a.view() != b; }

  protected:
    TextBuffer(char* storage, size_t storageSize) : data_(storage), capacity_(storageSize) {
        data_[0] = '\0';
    }
    ~TextBuffer() = default;
    void CopyFrom(const TextBuffer& o) {
        Assign(o.view());
        cut_ = cut_ || o.cut_;
    }

  private:
    char* data_;
    size_t capacity_; // bytes of storage, the terminator included
    size_t size_ = 0;
    bool cut_ = false;
};

// A TextBuffer of N bytes: at most N - 1 bytes of text and the terminator.
template <size_t N> class FixedText : public TextBuffer {
    static_assert(N > 0, "room for the terminator");

  public:
    FixedText() : TextBuffer(storage_, N) {}
    explicit FixedText(std::string_view text) : FixedText() { Append(text); }
    FixedText(const FixedText& o) : FixedText() { CopyFrom(o); }
    FixedText& operator=(const FixedText& o) {
        if (this != &o) CopyFrom(o);
        return *this;
    }

  private:
    char storage_[N];
};

// The text of a fixed field (which need not hold a NUL), terminated.
template <size_t N> FixedText<N + 1> FieldText(const char (&field)[N]) {
    return FixedText<N + 1>(std::string_view(field, FieldLength(field, N)));
}
template <size_t N> size_t CopyToField(char (&dest)[N], std::string_view s) {
    return CopyBounded(dest, N, s.data(), s.size());
}

// Cuts a path in place after its last backslash (a trail byte 0x5C is not a backslash).
// Returns false, leaving the text unchanged, when there is no backslash.
bool TrimToDirectory(char* path);

// The low 8 bits of an integer (settings and definition numbers keep only these).
constexpr unsigned char LowByte8(int value) {
    return static_cast<unsigned char>(value & 0xFF);
}
