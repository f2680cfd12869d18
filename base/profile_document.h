// A settings or definition file ("name.ini", "name.sed") held as its bytes and read and
// edited the way the system's profile functions do it, except that the text is always
// taken as Shift-JIS, whatever the system's code page: a trail byte 0x5B or 0x5D is never a
// bracket, a value is never cut inside a character, and names never match by the letter case
// of a trail byte.
// No Windows needed.
//
// The file's syntax, as read:
// - Lines end at CR LF, LF or CR. A line is blank once its blanks (space, tab, VT, FF and
//   Ctrl-Z) are dropped from both ends.
// - A line that begins with '[' and holds a ']' starts a section; its name is the text up to
//   the last ']', without blanks at either end. Whatever follows that ']' is ignored.
// - Any other line that is not blank is a key of the section above it: its name is the text
//   before the first '=' and its value the text after it, both without blanks at either end.
//   A line without '=' is a key without a value (it reads as missing; Set gives it one). A
//   comment ";..." is read the same way, as a key whose name begins with ';'.
// - Section and key names match without regard to the case of ASCII letters; other bytes
//   must be equal. Blanks around the names asked for are dropped. Empty names match nothing.
// - Of repeated sections the first is read and written; of repeated keys in it, the first.
// - A value enclosed in a pair of double or single quotation marks is read without them.
//
// Writing changes only the lines it must and writes new lines with CR LF:
// - A value is replaced by rewriting its line as "name=value", the name as the file spells
//   it; setting the value the line already holds changes nothing.
// - A new key goes after the last line of its section that is not blank (before any blank
//   lines that separate it from the next section); a new section "[name]" goes at the end
//   of the file, with no blank line before it. A last line without a line break gets one
//   first.
// - Every other line (comments, blank lines, lines of no use) stays as it is.
// For a file that these rules or the system's profile functions wrote (no blank lines, one
// "name=value" a line, CR LF) the bytes are those the system writes for the same calls.
//
// A UTF-8 byte order mark is skipped and kept; the text after it is still taken as
// Shift-JIS bytes. Text that starts with a UTF-16 byte order mark is refused.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string_view>

class ProfileDocument {
  public:
    // The largest file held: Load refuses a longer one and Set fails rather than grow past it.
    static constexpr size_t kMaxBytes = 1024 * 1024;

    ProfileDocument() = default;
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    // Takes a copy of a file's bytes (empty for a file that does not exist yet). False, and
    // the document left empty, for more than kMaxBytes bytes, for text that starts with a
    // UTF-16 byte order mark (the caller should leave such a file alone) or when memory runs
    // out.
    bool Load(std::string_view bytes);

    // Whether the section has the key with a value (possibly empty).
    bool Has(const char* section, const char* key) const;

    // The key's value (without enclosing quotation marks) into out, cut to outSize - 1 bytes
    // but never inside a double-byte character, and terminated. Returns the number of bytes
    // copied: 0 and "" for a missing key. Nothing is written when outSize is 0.
    size_t Get(const char* section, const char* key, char* out, size_t outSize) const;

    // The key's value as a number, read from its first 29 bytes: blanks and control bytes
    // before it are skipped, then one '+' or '-', then a prefix "0x" (hex), "0o" (octal) or
    // "0b" (binary), lower case only, else decimal; the digits end at the first byte that is
    // none ("12abc" is 12, "abc" and "- 5" are 0, "0X1f" is 0). The number is taken modulo
    // 2^32 ("4294967295" is -1, "99999999999" is 1215752191). def for a missing key or an
    // empty value.
    int GetInt(const char* section, const char* key, int def) const;

    // Sets the key's value: in its line, or on a new line at the end of its section, or in a
    // new section at the end of the file. Blanks at the start of the value are dropped (those
    // at its end are written, though a reader drops them); a line break or NUL ends it. False
    // when the result would be longer than kMaxBytes or memory runs out, and for names that
    // cannot be written: empty ones, ones holding a line break, and key names that hold '='
    // or begin with '['. The document is unchanged when Set fails.
    bool Set(const char* section, const char* key, std::string_view value);

    // Removes the key's line: the first line with that key name in the first section of that
    // name that has one. Nothing happens when there is none.
    void Remove(const char* section, const char* key);

    // Removes every line of the section that is not blank up to its last such line (its keys,
    // comments and other lines), in every section of that name. The headers stay; a missing
    // section is not added.
    void ClearSection(const char* section);

    // The file's bytes to write back.
    std::string_view Bytes() const { return std::string_view(data_.get(), size_); }

  private:
    // Replaces count bytes at offset at with the parts. False when there is no room.
    bool Splice(size_t at, size_t count, std::initializer_list<std::string_view> parts);

    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
    size_t start_ = 0; // where the text begins: after a UTF-8 byte order mark
};
