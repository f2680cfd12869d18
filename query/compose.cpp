#include "query/compose.h"

#include "base/text.h"
#include "query/encode.h"
#include "query/text_ops.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

EncodedKeyword Encode(std::string_view keyword, uint8_t character, const ComposeOptions& options) {
    switch (character) {
    case kCharEuc:
        return EncodeEuc(keyword);
    case kCharNone: {
        EncodedKeyword out;
        ReplaceAll(keyword, " ", "%20", out);
        return out;
    }
    case kCharUtf8:
        return EncodeUtf8(keyword, options.toUtf16);
    default:
        return EncodeShiftJis(keyword);
    }
}

std::string_view Field(const char* field, size_t size) {
    return std::string_view(field, FieldLength(field, size));
}

// Which of the entry's URLs a keyword of these classes goes to: 1 for URL2, else 0. An entry
// without URL2 always uses URL1.
int ChooseUrl(int mode, const EngineEntry& entry, int classes) {
    if (!HasUrl2(entry)) return 0;
    return mode == 1 || (entry.UrlMode & classes) != 0 ? 1 : 0;
}

// What goes in front of the keyword: the head, behind "file:///" and the program directory
// for a "\" head, behind "http://" for a head without its own scheme.
UrlText UrlFront(int url, const EngineEntry& entry, const ComposeOptions& options) {
    UrlText out;
    const std::string_view head = Field(entry.head[url], kHeadSize);
    if (!head.empty() && head[0] == '\\') {
        out.Append("file:///");
        if (head.size() > 1 && head[1] == '\\') {
            out.Append(From(head, 2));
        } else {
            out.Append(Field(options.programDir ? options.programDir : "", kProgramDirSize));
            out.Append(From(head, 1));
        }
    } else {
        // A head with its own scheme keeps it; the others are http addresses.
        if (!StartsWithNoCase(head, "http://") && !StartsWithNoCase(head, "https://"))
            out.Append("http://");
        out.Append(head);
    }
    return out;
}

// The URL of an encoded keyword: the keyword, each "%20" turned into the key, goes straight
// behind the front, and the tail follows.
UrlText ComposeUrl(const EncodedKeyword& encoded, int url, const EngineEntry& entry,
                   const ComposeOptions& options) {
    UrlText out = UrlFront(url, entry, options);
    if (encoded.cut()) out.MarkCut();
    UrlText joined;
    ReplaceAll(encoded, "%20", Field(entry.key[url], kKeySize), joined);
    out.Append(joined);
    if (joined.cut()) out.MarkCut();
    out.Append(Field(entry.tail[url], kTailSize));
    return out;
}

// Appends code page 932 text (a part of a URL) as UTF-16.
constexpr size_t kFrontSize = 8 + kProgramDirSize + kHeadSize;
template <size_t N>
void AppendCp932(WideText<N>& out, std::string_view text, Cp932ToUtf16 toUtf16) {
    if (text.empty()) return;
    char16_t wide[kFrontSize];
    if (!toUtf16 || text.size() >= kFrontSize) {
        out.MarkCut();
        return;
    }
    out.Append(std::u16string_view(wide, toUtf16(text, wide, kFrontSize)));
}

// A URL for the browser's command line: as it is, or, when it holds a space or a double quote,
// in double quotes with its quotes as %22 and the backslashes before the closing quote doubled.
template <typename Char, typename Out>
void QuoteForBrowser(std::basic_string_view<Char> url,
                     size_t (*trailingBackslashes)(std::basic_string_view<Char>), Out& out) {
    bool plain = true;
    for (const Char c : url)
        if (c == Char(' ') || c == Char('"')) plain = false;
    if (plain) {
        out.Append(url);
        return;
    }
    out.Append(Char('"'));
    for (const Char c : url) {
        if (c == Char('"')) {
            out.Append(Char('%'));
            out.Append(Char('2'));
            out.Append(Char('2'));
        } else {
            out.Append(c);
        }
    }
    // Backslashes right before the closing quote would escape it.
    for (size_t n = trailingBackslashes(url); n > 0; --n)
        out.Append(Char('\\'));
    out.Append(Char('"'));
}

// A trail byte 0x5C of a double-byte character is no backslash.
size_t TrailingBackslashes(std::string_view url) {
    size_t trailing = 0;
    for (size_t i = 0; i < url.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(url[i]))) {
            trailing = 0;
            ++i;
        } else {
            trailing = url[i] == '\\' ? trailing + 1 : 0;
        }
    }
    return trailing;
}

size_t TrailingWideBackslashes(std::u16string_view url) {
    size_t trailing = 0;
    for (const char16_t u : url)
        trailing = u == u'\\' ? trailing + 1 : 0;
    return trailing;
}

} // namespace

int ClassifyKeyword(std::string_view keyword) {
    int bits = 0;
    for (size_t i = 0; i < keyword.size(); ++i) {
        const auto b = static_cast<unsigned char>(keyword[i]);
        if (IsLeadByte(b)) {
            bits |= kClassDouble;
            ++i;
        } else if (b == ' ') {
        } else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
            bits |= kClassLetter;
        } else if (b >= '0' && b <= '9') {
            bits |= kClassDigit;
        } else {
            bits |= kClassOtherSingle;
        }
    }
    return bits;
}

int ClassifyKeyword(std::u16string_view keyword) {
    int bits = 0;
    for (const char16_t u : keyword) {
        if (KeywordUnitWeight(u) != 1) {
            bits |= kClassDouble;
        } else if (u == u' ') {
        } else if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')) {
            bits |= kClassLetter;
        } else if (u >= u'0' && u <= u'9') {
            bits |= kClassDigit;
        } else {
            bits |= kClassOtherSingle;
        }
    }
    return bits;
}

UrlText BuildSearchUrl(std::string_view keyword, int mode, const EngineEntry& entry,
                       const ComposeOptions& options) {
    const int url = ChooseUrl(mode, entry, ClassifyKeyword(keyword));
    return ComposeUrl(Encode(keyword, entry.Character, options), url, entry, options);
}

UrlText BuildUtf8SearchUrl(std::u16string_view keyword, int mode, const EngineEntry& entry,
                           const ComposeOptions& options) {
    const int url = ChooseUrl(mode, entry, ClassifyKeyword(keyword));
    return ComposeUrl(EncodeUtf8(keyword), url, entry, options);
}

WideUrlText BuildWideSearchUrl(std::u16string_view keyword, int mode, const EngineEntry& entry,
                               const ComposeOptions& options) {
    const int url = ChooseUrl(mode, entry, ClassifyKeyword(keyword));
    WideUrlText out;
    AppendCp932(out, UrlFront(url, entry, options), options.toUtf16);
    WideText<kKeySize> key;
    AppendCp932(key, Field(entry.key[url], kKeySize), options.toUtf16);
    for (size_t i = 0; i < keyword.size(); ++i) {
        // As the other codes join words: every space, and every "%20", becomes the key.
        if (keyword[i] == u' ') {
            out.Append(key);
        } else if (keyword[i] == u'%' && keyword.size() - i >= 3 && keyword[i + 1] == u'2' &&
                   keyword[i + 2] == u'0') {
            out.Append(key);
            i += 2;
        } else {
            out.Append(keyword[i]);
        }
    }
    if (key.cut()) out.MarkCut();
    AppendCp932(out, Field(entry.tail[url], kTailSize), options.toUtf16);
    return out;
}

BrowserParameterText BrowserParameters(std::string_view url) {
    BrowserParameterText out;
    QuoteForBrowser(url, TrailingBackslashes, out);
    return out;
}

WideBrowserParameterText BrowserParameters(std::u16string_view url) {
    WideBrowserParameterText out;
    QuoteForBrowser(url, TrailingWideBackslashes, out);
    return out;
}
