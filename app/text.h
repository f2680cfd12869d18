// Shift-JIS text helpers shared by every part of the program. No Windows needed.
#pragma once
#include <cstddef>
#include <string>

// A byte that begins a double-byte Shift-JIS character.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the text in a fixed field: never looks past the field's last byte.
size_t FieldLength(const char* field, size_t fieldSize);

// Copies at most destSize - 1 bytes of src (which ends at its NUL or at srcSize bytes)
// into dest and always terminates dest. Returns the number of bytes copied.
size_t CopyBounded(char* dest, size_t destSize, const char* src, size_t srcSize = SIZE_MAX);

// The text of a fixed field as a string (bounded by the field).
std::string FieldText(const char* field, size_t fieldSize);

template <size_t N> std::string FieldText(const char (&field)[N]) {
    return FieldText(field, N);
}
template <size_t N> size_t CopyToField(char (&dest)[N], const std::string& s) {
    return CopyBounded(dest, N, s.c_str(), s.size());
}

// Cuts a path in place after its last backslash (a trail byte 0x5C is not a backslash).
// Returns false, leaving the text unchanged, when there is no backslash.
bool TrimToDirectory(char* path);

// The low 8 bits of an integer (settings and definition numbers keep only these).
constexpr unsigned char LowByte8(int value) {
    return static_cast<unsigned char>(value & 0xFF);
}
