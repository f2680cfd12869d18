// Character-aware Shift-JIS text operations of the search action. No Windows needed.
#pragma once
#include <string>
#include <string_view>

constexpr size_t kTextNotFound = std::string_view::npos;

// Position of the first occurrence of pattern that begins at a character boundary, or
// kTextNotFound. A match never begins on the trail byte of a double-byte character.
size_t FindText(std::string_view text, std::string_view pattern);

struct ReplaceResult {
    std::string text;
    int count; // replacements made; -1 for an empty pattern (and text is empty)
};

// Every non-overlapping occurrence (found with FindText) replaced; the replacement is never
// searched again.
ReplaceResult ReplaceAll(std::string_view source, std::string_view pattern,
                         std::string_view replacement);

// Removes half-width spaces (0x20 only) at both ends.
void TrimSpaces(std::string& text);
// Shrinks every run of half-width spaces to one.
void CollapseSpaces(std::string& text);
