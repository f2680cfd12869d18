#include "engines/companion.h"

#include "engines/catalogue.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// One section as read.
struct Record {
    int place = 0; // 1-based; 0 when the section's header is not a place
    bool named = false;
    FixedText<kNameSize> name;
    FixedText<kEngineKeywordSize> keyword;
    FixedText<kSuggestUrlSize> suggest;
};

// Section header "[n]", n from 1 to 64; 0 otherwise.
int PlaceOf(std::string_view header) {
    if (header.empty() || header.size() > 2) return 0;
    int n = 0;
    for (const char c : header) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= kMaxEngines ? n : 0;
}

// A UTF-8 value in Shift-JIS; false when it is not UTF-8, Shift-JIS cannot say it, or it does
// not fit.
bool ToSjis(std::string_view value, TextBuffer& out, const CompanionCodec& codec) {
    WideText<kSuggestUrlSize> wide;
    if (!DecodeUtf8(value, wide) || wide.cut()) return false;
    out.clear();
    return codec.toCp932(wide.view(), out) == wide.size() && !out.cut();
}

bool SameName(const EngineEntry& entry, const Record& r) {
    return std::string_view(entry.Name, FieldLength(entry.Name, kNameSize)) == r.name.view();
}

// Whole Shift-JIS characters without blanks (half- or full-width) or control characters.
bool SolidShiftJis(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b)) {
            if (i + 1 >= text.size()) return false;
            const auto t = static_cast<unsigned char>(text[i + 1]);
            if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
            if (b == 0x81 && t == 0x40) return false; // the full-width space
            ++i;
        } else if (b <= 0x20 || b == 0x7F) {
            return false;
        }
    }
    return true;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return EqualsAsciiNoCase(Slice(text, 0, prefix.size()), prefix);
}

} // namespace

bool IsEngineKeyword(std::string_view keyword) {
    return !keyword.empty() && keyword.size() < kEngineKeywordSize && SolidShiftJis(keyword);
}

bool IsSuggestUrl(std::string_view url) {
    return url.size() < kSuggestUrlSize &&
           (StartsNoCase(url, "https://") || StartsNoCase(url, "http://")) &&
           url.find("{searchTerms}") != std::string_view::npos && SolidShiftJis(url);
}

bool HasExtras(const EngineExtras* extras, int count) {
    if (!extras) return false;
    for (int i = 0; i < count; ++i)
        if (extras[i].Keyword[0] != '\0' || extras[i].Suggest[0] != '\0') return true;
    return false;
}

int ReadCompanionText(std::string_view text, const EngineEntry* entries, int count,
                      EngineExtras* extras, const CompanionCodec& codec) {
    for (int i = 0; i < count; ++i)
        extras[i] = EngineExtras{};
    if (count < 1 || text.size() > kCompanionMaxBytes) return 0;
    if (Slice(text, 0, kBom.size()) == kBom) text.remove_prefix(kBom.size());

    Record records[kMaxEngines];
    int taken = 0;
    Record* current = nullptr; // null outside a section that counts
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(Slice(text, 0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            current = nullptr;
            const int place = line.size() > 1 && line.back() == ']'
                                  ? PlaceOf(Slice(line, 1, line.size() - 2))
                                  : 0;
            if (place != 0 && taken < kMaxEngines) {
                current = &records[taken++];
                current->place = place;
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        const std::string_view key = Trim(Slice(line, 0, eq));
        const std::string_view value = Trim(From(line, eq + 1));
        if (EqualsAsciiNoCase(key, "name")) {
            current->named = ToSjis(value, current->name, codec) && !current->name.empty();
        } else if (EqualsAsciiNoCase(key, "keyword")) {
            if (!ToSjis(value, current->keyword, codec) || !IsEngineKeyword(current->keyword))
                current->keyword.clear();
        } else if (EqualsAsciiNoCase(key, "suggest")) {
            if (!ToSjis(value, current->suggest, codec) || !IsSuggestUrl(current->suggest))
                current->suggest.clear();
        }
    }

    bool used[kMaxEngines] = {};
    int filled = 0;
    const auto give = [&](const Record& r, int i) {
        used[i] = true;
        CopyBounded(extras[i].Keyword, kEngineKeywordSize, r.keyword.c_str());
        CopyBounded(extras[i].Suggest, kSuggestUrlSize, r.suggest.c_str());
        if (!r.keyword.empty() || !r.suggest.empty()) ++filled;
    };
    bool placed[kMaxEngines] = {};
    for (int k = 0; k < taken; ++k) {
        const int i = records[k].place - 1;
        if (i < count && !used[i] && (!records[k].named || SameName(entries[i], records[k]))) {
            give(records[k], i);
            placed[k] = true;
        }
    }
    for (int k = 0; k < taken; ++k) {
        if (placed[k] || !records[k].named) continue;
        for (int i = 0; i < count; ++i) {
            if (!used[i] && SameName(entries[i], records[k])) {
                give(records[k], i);
                break;
            }
        }
    }
    return filled;
}

bool WriteCompanionText(const char* fileName, const EngineEntry* entries,
                        const EngineExtras* extras, int count, const CompanionCodec& codec,
                        TextBuffer& out) {
    out.clear();
    if (!HasExtras(extras, count)) return false;
    const auto appendSjis = [&](std::string_view sjis) {
        // A suggestion URL is the longest text written.
        static_assert(kCatalogueNameSize <= kSuggestUrlSize, "a file name fits");
        char16_t wide[kSuggestUrlSize] = {};
        const size_t n = codec.toUtf16(sjis, wide, sizeof wide / sizeof wide[0]);
        AppendUtf8(std::u16string_view(wide, n), out);
    };
    AppendUtf8(u"; Morvel: ", out);
    appendSjis(fileName);
    AppendUtf8(u" の検索エンジンのキーワード (UTF-8)\r\n", out);
    for (int i = 0; i < count; ++i) {
        const std::string_view keyword(extras[i].Keyword,
                                       FieldLength(extras[i].Keyword, kEngineKeywordSize));
        const std::string_view suggest(extras[i].Suggest,
                                       FieldLength(extras[i].Suggest, kSuggestUrlSize));
        if (keyword.empty() && suggest.empty()) continue;
        out.Append("\r\n[");
        if (i + 1 >= 10) out.Append(static_cast<char>('0' + (i + 1) / 10));
        out.Append(static_cast<char>('0' + (i + 1) % 10));
        out.Append("]\r\nname=");
        appendSjis(std::string_view(entries[i].Name, FieldLength(entries[i].Name, kNameSize)));
        if (!keyword.empty()) {
            out.Append("\r\nkeyword=");
            appendSjis(keyword);
        }
        if (!suggest.empty()) {
            out.Append("\r\nsuggest=");
            appendSjis(suggest);
        }
        out.Append("\r\n");
    }
    return !out.cut();
}
