#include "query/suggest_url.h"

#include "base/text.h"
#include "base/wide_text.h"
#include "query/encode.h"
#include "query/keyword.h"

namespace {

constexpr std::u16string_view kSearchTerms = u"{searchTerms}";

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::u16string_view Part(std::u16string_view text, size_t pos, size_t n) {
    if (pos > text.size()) pos = text.size();
    if (n > text.size() - pos) n = text.size() - pos;
    return std::u16string_view(text.data() + pos, n);
}

// The character at i as "%XX" escapes of its UTF-8 bytes; returns its units.
size_t AppendEscaped(std::u16string_view text, size_t i, WideUrlText& out) {
    static const char kHex[] = "0123456789ABCDEF";
    const size_t units = CharacterUnits(text, i);
    FixedText<8> utf8;
    AppendUtf8(Part(text, i, units), utf8);
    for (const char c : utf8.view()) {
        const auto b = static_cast<unsigned char>(c);
        out.Append(u'%');
        out.Append(static_cast<char16_t>(kHex[b >> 4]));
        out.Append(static_cast<char16_t>(kHex[b & 0x0F]));
    }
    return units;
}

// The text as an engine of this character code takes a keyword; false when Shift-JIS cannot
// say what a Shift-JIS or EUC-JP engine would need.
bool EncodeTerms(std::u16string_view text, uint8_t character, const ComposeOptions& options,
                 EncodedKeyword& out) {
    if (character == kCharUtf8 || character == kCharNone) {
        out = EncodeUtf8(text);
        return !out.cut();
    }
    if (!options.toCp932) return false;
    FixedText<kKeywordSize> bytes;
    if (options.toCp932(text, bytes) != text.size() || bytes.cut()) return false;
    out = character == kCharEuc ? EncodeEuc(bytes) : EncodeShiftJis(bytes);
    return !out.cut();
}

} // namespace

bool BuildSuggestUrl(const char* templ, std::u16string_view text, const EngineEntry& entry,
                     const ComposeOptions& options, WideUrlText& out) {
    out.clear();
    const std::string_view bytes(templ, FieldLength(templ, kSuggestUrlSize));
    if (bytes.empty() || !options.toUtf16) return false;
    char16_t wide[kSuggestUrlSize];
    const std::u16string_view url(wide, options.toUtf16(bytes, wide, kSuggestUrlSize));
    EncodedKeyword terms;
    if (!EncodeTerms(text, entry.Character, options, terms)) return false;

    bool hasTerms = false;
    for (size_t i = 0; i < url.size();) {
        const char16_t u = url[i];
        if (u == u'{' && Part(url, i, kSearchTerms.size()) == kSearchTerms) {
            for (const char c : terms.view())
                out.Append(static_cast<char16_t>(c));
            hasTerms = true;
            i += kSearchTerms.size();
        } else if (u > u' ' && u < 0x7F) {
            out.Append(u);
            ++i;
        } else {
            i += AppendEscaped(url, i, out);
        }
    }
    if (!hasTerms || out.cut() || !IsSuggestUrlAllowed(out)) {
        out.clear();
        return false;
    }
    return true;
}

bool IsSuggestUrlAllowed(std::u16string_view url) {
    if (StartsWithNoCase(url, u"https://")) {
        const std::u16string_view rest = Part(url, 8, url.size());
        return !rest.empty() && rest[0] != u'/' && rest[0] != u'?' && rest[0] != u'#' &&
               rest[0] != u'\\';
    }
    if (!StartsWithNoCase(url, u"http://")) return false;
    const std::u16string_view rest = Part(url, 7, url.size());
    size_t end = 0; // the authority ends at the path, the query or the fragment
    while (end < rest.size() && rest[end] != u'/' && rest[end] != u'?' && rest[end] != u'#' &&
           rest[end] != u'\\')
        ++end;
    const std::u16string_view authority = Part(rest, 0, end);
    size_t host = authority.size();
    if (!authority.empty() && authority[0] == u'[') {
        host = authority.find(u']');
        host = host == std::u16string_view::npos ? authority.size() : host + 1;
    } else {
        host = authority.find(u':');
        if (host == std::u16string_view::npos) host = authority.size();
    }
    const std::u16string_view name = Part(authority, 0, host);
    const std::u16string_view port = Part(authority, host, authority.size());
    if (!port.empty()) {
        if (port[0] != u':' || port.size() < 2 || port.size() > 6) return false;
        for (size_t i = 1; i < port.size(); ++i)
            if (port[i] < u'0' || port[i] > u'9') return false;
    }
    return name == u"127.0.0.1" || name == u"[::1]" ||
           (name.size() == 9 && StartsWithNoCase(name, u"localhost"));
}
