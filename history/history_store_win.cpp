#include "history/history_store.h"

#include <algorithm>

namespace {

const char kSection[] = "History";

// Four hexadecimal digits a unit, for the 127 units an entry holds at most.
constexpr size_t kHexSize = 4 * (kHistoryTextSize - 1) + 1;
using HexText = FixedText<kHexSize>;
const char kHex[] = "0123456789ABCDEF";

FixedText<20> WideKeyName(int n) {
    FixedText<20> key(HistoryKeyName(n));
    key.Append('U');
    return key;
}

HexText ToHex(std::u16string_view text) {
    HexText hex;
    for (const char16_t u : text)
        for (int shift = 12; shift >= 0; shift -= 4)
            hex.Append(kHex[(u >> shift) & 0x0F]);
    return hex;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The text of a U key; false unless it is whole groups of four hexadecimal digits whose text
// weighs at most 127.
bool FromHex(std::string_view hex, WideText<kHistoryTextSize>& text) {
    if (hex.empty() || hex.size() % 4 != 0 || hex.size() / 4 > text.capacity()) return false;
    for (size_t i = 0; i < hex.size(); i += 4) {
        unsigned u = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int d = HexDigit(hex[i + k]);
            if (d < 0) return false;
            u = u << 4 | static_cast<unsigned>(d);
        }
        text.Append(static_cast<char16_t>(u));
    }
    return KeywordWeight(text) <= kHistoryTextSize - 1;
}

// Code page 932 text as UTF-16.
WideText<kHistoryTextSize> FromCp932(std::string_view bytes) {
    wchar_t wide[kHistoryTextSize] = {};
    const int n = bytes.empty()
                      ? 0
                      : MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()),
                                            wide, static_cast<int>(kHistoryTextSize - 1));
    return WideText<kHistoryTextSize>(
        std::u16string_view(reinterpret_cast<const char16_t*>(wide), n > 0 ? n : 0));
}

} // namespace

int StoredHistoryLimit(int max) {
    return std::min<int>(max, kHistoryLimit);
}

int CompareHistoryTexts(const char16_t* a, const char16_t* b) {
    return lstrcmpW(reinterpret_cast<const wchar_t*>(a), reinterpret_cast<const wchar_t*>(b));
}

void LoadHistory(SearchHistory& history, uint8_t& max, const ProfileDocument& doc) {
    history.count = 0;
    if (max == 0) return;
    if (max > kHistoryLimit) max = kHistoryLimit;
    for (int n = 0; n < max; ++n) {
        char text[kHistoryTextSize] = {};
        doc.Get(kSection, HistoryKeyName(n).c_str(), text, sizeof text);
        if (text[0] == '\0') break; // a gap ends the list
        const std::string_view plain(text, FieldLength(text, sizeof text));
        // One more than the longest valid value, so that a longer one is seen.
        char hex[kHexSize + 1] = {};
        const size_t hexSize = doc.Get(kSection, WideKeyName(n).c_str(), hex, sizeof hex);
        WideText<kHistoryTextSize> exact;
        if (hexSize > 0 && FromHex(std::string_view(hex, hexSize), exact)) {
            FixedText<kHistoryTextSize> said;
            PlatformUtf16ToCp932(exact, said);
            if (!said.cut() && said == plain) {
                AppendHistoryEntry(history, exact);
                continue;
            }
        }
        AppendHistoryEntry(history, FromCp932(plain));
    }
}

bool SaveHistory(const SearchHistory& history, int max, ProfileDocument& doc) {
    bool ok = true;
    const int limit = StoredHistoryLimit(max);
    for (int n = 0; n < limit; ++n) {
        const char16_t* entry = HistoryItemAt(history, n);
        if (!entry) break;
        const std::u16string_view text(entry);
        FixedText<kHistoryTextSize> said;
        const bool whole = PlatformUtf16ToCp932(text, said) == text.size();
        ok &= doc.Set(kSection, HistoryKeyName(n).c_str(), said.view());
        if (!whole) ok &= doc.Set(kSection, WideKeyName(n).c_str(), ToHex(text).view());
    }
    return ok;
}
