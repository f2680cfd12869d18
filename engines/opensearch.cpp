#include "engines/opensearch.h"

#include <cstring>

#include "engines/companion.h"

namespace {

using std::string_view;
constexpr size_t npos = string_view::npos;

// Placeholders in a template while it is taken apart: the parameters are replaced by them
// after every control byte of the template itself has been percent-encoded, so none can
// come from the file.
constexpr char kTermsMark = '\x01';
constexpr char kDroppedMark = '\x02';

// The work buffer of a split: a whole template with every byte encoded, and some defaults.
using SplitText = FixedText<3 * kOpenSearchTemplateLimit + 512>;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(string_view a, string_view b) {
    return EqualsAsciiNoCase(a, b);
}

bool StartsNoCase(string_view a, string_view prefix) {
    return a.size() >= prefix.size() && EqualNoCase(Slice(a, 0, prefix.size()), prefix);
}

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

string_view Trim(string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && Blank(s[b]))
        ++b;
    while (e > b && Blank(s[e - 1]))
        --e;
    return Slice(s, b, e - b);
}

// UTF-8 text cut to what the detail holds, at a character boundary.
void SetDetail(OpenSearchDetail& detail, string_view s) {
    size_t n = s.size();
    if (n > detail.capacity()) {
        n = detail.capacity();
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
            --n;
    }
    detail.Assign(Slice(s, 0, n));
}

// Bytes that may stand in a URL as they are; everything else is percent-encoded.
bool UrlSafe(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return false;
    return std::strchr("\"<>\\^`|{}", c) == nullptr;
}

void AppendEncoded(TextBuffer& out, unsigned char c) {
    static const char digits[] = "0123456789ABCDEF";
    out.Append('%');
    out.Append(digits[c >> 4]);
    out.Append(digits[c & 15]);
}

void AppendUrlText(TextBuffer& out, string_view text) {
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (UrlSafe(c))
            out.Append(ch);
        else
            AppendEncoded(out, c);
    }
}

bool ParameterChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ':' ||
           c == '_' || c == '-' || c == '.';
}

// A parameter ("{name}" or "{name?}") that begins at i: its name and whether it is optional,
// and the offset just after it; 0 when none begins there.
size_t ParameterAt(string_view t, size_t i, string_view& name, bool& optional) {
    if (i >= t.size() || t[i] != '{') return 0;
    size_t end = i + 1;
    while (end < t.size() && ParameterChar(t[end]))
        ++end;
    optional = false;
    if (end < t.size() && t[end] == '?') {
        optional = true;
        ++end;
    }
    if (end >= t.size() || t[end] != '}' || end <= i + 1 + (optional ? 1 : 0)) return 0;
    name = Slice(t, i + 1, end - i - 1 - (optional ? 1 : 0));
    return end + 1;
}

// Whether a template has a query: a "?" that is not an optional parameter's marker.
bool HasQuery(string_view t) {
    for (size_t i = 0; i < t.size();) {
        string_view name;
        bool optional = false;
        if (const size_t end = ParameterAt(t, i, name, optional)) {
            i = end;
            continue;
        }
        if (t[i] == '?') return true;
        ++i;
    }
    return false;
}

// The usual value of a parameter that a search page needs; false for one the program
// cannot know.
bool DefaultValue(string_view name, string_view encodingName, string_view& value) {
    if (name == "startIndex" || name == "startPage") {
        value = "1";
    } else if (name == "count") {
        value = "20";
    } else if (name == "language") {
        value = "*";
    } else if (name == "inputEncoding") {
        value = encodingName;
    } else if (name == "outputEncoding") {
        value = "UTF-8";
    } else {
        return false;
    }
    return true;
}

// The media type of a type attribute, without its parameters, is `media`.
bool IsMediaType(string_view type, string_view media) {
    return EqualNoCase(Trim(Slice(type, 0, type.find(';'))), media);
}

bool IsHtmlType(string_view type) {
    return IsMediaType(type, "text/html");
}

// Whether rel, a list of words separated by blanks, names the word.
bool RelNames(string_view rel, string_view word) {
    const string_view r = Trim(rel);
    size_t i = 0;
    while (i < r.size()) {
        size_t end = i;
        while (end < r.size() && !Blank(r[end]))
            ++end;
        if (EqualNoCase(Slice(r, i, end - i), word)) return true;
        i = end + 1;
    }
    return false;
}

// What a text/html Url is for: the results of a search (no rel means "results"), the search
// form (a browser searches with it too), or something else.
enum class HtmlRole { Results, SearchForm, Other };
HtmlRole RoleOf(const OpenSearchUrl& u) {
    if (!IsHtmlType(u.type)) return HtmlRole::Other;
    if (Trim(u.rel).empty() || RelNames(u.rel, "results")) return HtmlRole::Results;
    return RelNames(u.rel, "searchform") ? HtmlRole::SearchForm : HtmlRole::Other;
}

bool IsGet(const OpenSearchUrl& u) {
    const string_view method = Trim(u.method);
    return method.empty() || EqualNoCase(method, "get");
}

// Drops the query pairs whose value was only an optional parameter, then the remaining
// optional markers.
void DropOptional(string_view url, TextBuffer& out) {
    out.clear();
    SplitText kept;
    const size_t q = url.find('?');
    kept.Append(Slice(url, 0, q));
    if (q != npos) {
        const size_t hash = url.find('#', q);
        const string_view query = Slice(url, q + 1, hash == npos ? npos : hash - q - 1);
        bool anyPair = false;
        size_t i = 0;
        for (;;) {
            const size_t amp = query.find('&', i);
            const string_view pair = Slice(query, i, amp == npos ? npos : amp - i);
            const size_t eq = pair.find('=');
            const string_view value = eq == npos ? pair : Slice(pair, eq + 1);
            if (!pair.empty() && value != string_view(&kDroppedMark, 1)) {
                kept.Append(anyPair ? '&' : '?');
                kept.Append(pair);
                anyPair = true;
            }
            if (amp == npos) break;
            i = amp + 1;
        }
        if (!anyPair && hash != npos) kept.Append('?');
        if (hash != npos) kept.Append(Slice(url, hash));
    }
    for (const char c : kept.view())
        if (c != kDroppedMark) out.Append(c);
    if (kept.cut()) out.MarkCut();
}

} // namespace

bool CharacterFromEncoding(string_view name, uint8_t& character) {
    const string_view n = Trim(name);
    static const char* const sjis[] = {"Shift_JIS",   "Shift-JIS", "SJIS",  "x-sjis",
                                       "Windows-31J", "CP932",     "MS932", "MS_Kanji"};
    for (const char* s : sjis)
        if (EqualNoCase(n, s)) {
            character = kCharShiftJis;
            return true;
        }
    if (EqualNoCase(n, "EUC-JP") || EqualNoCase(n, "x-euc-jp") || EqualNoCase(n, "EUC_JP")) {
        character = kCharEuc;
        return true;
    }
    if (EqualNoCase(n, "UTF-8") || EqualNoCase(n, "UTF8")) {
        character = kCharUtf8;
        return true;
    }
    return false;
}

OpenSearchFault SplitOpenSearchTemplate(string_view templ, string_view encodingName,
                                        TextBuffer& head, TextBuffer& tail,
                                        OpenSearchDetail& detail) {
    head.clear();
    tail.clear();
    string_view t = Trim(templ);
    SplitText url;
    if (StartsNoCase(t, "http://")) {
        t = Slice(t, 7); // the program puts "http://" in front of a head without a scheme
    } else if (StartsNoCase(t, "https://")) {
        url.Append("https://");
        t = Slice(t, 8);
    } else {
        return OpenSearchFault::Scheme;
    }

    int terms = 0;
    for (size_t i = 0; i < t.size();) {
        string_view name;
        bool optional = false;
        if (const size_t end = ParameterAt(t, i, name, optional)) {
            const size_t colon = name.rfind(':');
            const string_view local = colon == npos ? name : Slice(name, colon + 1);
            string_view value;
            if (local == "searchTerms" && colon == npos) {
                ++terms;
                url.Append(kTermsMark);
            } else if (optional) {
                url.Append(kDroppedMark);
            } else if (colon == npos && DefaultValue(local, encodingName, value)) {
                AppendUrlText(url, value);
            } else {
                SetDetail(detail, name);
                return OpenSearchFault::NeedsParameter;
            }
            i = end;
            continue;
        }
        AppendUrlText(url, Slice(t, i, 1)); // a stray brace among the bytes
        ++i;
    }
    if (terms == 0) return OpenSearchFault::NoSearchTerms;
    if (terms > 1) return OpenSearchFault::TwoSearchTerms;

    SplitText clean;
    DropOptional(url, clean);
    if (url.cut() || clean.cut()) return OpenSearchFault::TooLong;
    const string_view whole = clean.view();
    const size_t mark = whole.find(kTermsMark);
    const string_view h = Slice(whole, 0, mark), tl = Slice(whole, mark + 1);
    if (h.empty() || h == "https://" || h[0] == '/') return OpenSearchFault::Scheme;
    if (h.size() >= kHeadSize || tl.size() >= kTailSize) return OpenSearchFault::TooLong;
    head.Assign(h);
    tail.Assign(tl);
    if (head.cut() || tail.cut()) {
        head.clear();
        tail.clear();
        return OpenSearchFault::TooLong;
    }
    return OpenSearchFault::None;
}

bool HasDocumentType(string_view bytes) {
    static const char kWord[] = "<!doctype";
    const size_t n = sizeof kWord - 1;
    size_t matched = 0;
    for (const char b : bytes) {
        if (b == '\0') continue; // the other half of a UTF-16 unit
        if (Lower(b) == kWord[matched]) {
            if (++matched == n) return true;
        } else {
            matched = Lower(b) == kWord[0] ? 1 : 0;
        }
    }
    return false;
}

XmlEncodingName XmlDeclaredEncoding(string_view bytes, size_t* declarationEnd) {
    if (declarationEnd) *declarationEnd = 0;
    XmlEncodingName name;
    const size_t start = Slice(bytes, 0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    if (Slice(bytes, start, 5) != "<?xml") return name;
    const size_t end = bytes.find("?>", start);
    if (end == npos || end - start > 512) return name;
    if (declarationEnd) *declarationEnd = end + 2;
    const string_view decl = Slice(bytes, start, end - start);
    const size_t at = decl.find("encoding");
    if (at == npos) return name;
    size_t i = at + 8;
    while (i < decl.size() && Blank(decl[i]))
        ++i;
    if (i >= decl.size() || decl[i] != '=') return name;
    ++i;
    while (i < decl.size() && Blank(decl[i]))
        ++i;
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return name;
    const size_t close = decl.find(decl[i], i + 1);
    if (close == npos) return name;
    name.Append(Slice(decl, i + 1, close - i - 1)); // cut to 40 bytes
    return name;
}

string_view CutShiftJis(string_view text, size_t maxBytes) {
    size_t i = 0;
    while (i < text.size()) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > maxBytes || i + step > text.size()) break;
        i += step;
    }
    return Slice(text, 0, i);
}

void OpenSearchUrl::AddParam(string_view name, string_view value) {
    if (name.empty()) return;
    if (!query.empty()) query.Append('&');
    for (const char c : name)
        if (c == '{' || c == '}')
            AppendEncoded(query, static_cast<unsigned char>(c));
        else
            query.Append(c);
    query.Append('=');
    query.Append(value);
}

bool OpenSearchQueryTemplate(const OpenSearchUrl& url, OpenSearchTemplate& out) {
    out.clear();
    if (url.templ.cut() || url.query.cut()) return false;
    const string_view templ = Trim(url.templ);
    out.Append(templ);
    if (!url.query.empty()) {
        out.Append(HasQuery(templ) ? '&' : '?');
        out.Append(url.query);
    }
    return !out.cut();
}

namespace {

// The Character and name of the first input encoding that the program knows (UTF-8 when none
// is given); false when none of those given is known.
bool EncodingOf(const OpenSearchDescription& d, uint8_t& character, string_view& name) {
    character = kCharUtf8;
    name = "UTF-8";
    const size_t encodings =
        d.encodingCount < kOpenSearchEncodingLimit ? d.encodingCount : kOpenSearchEncodingLimit;
    if (encodings == 0) return true;
    for (size_t i = 0; i < encodings; ++i)
        if (CharacterFromEncoding(d.inputEncodings[i], character)) {
            name = Trim(d.inputEncodings[i]);
            return true;
        }
    return false;
}

} // namespace

OpenSearchFault EntryFromOpenSearch(const OpenSearchDescription& d, EngineEntry& entry,
                                    OpenSearchDetail& detail) {
    entry = EngineEntry{};
    detail.clear();

    // A name shows on one line: control bytes become blanks (Shift-JIS trail bytes are
    // never below 0x40, so no character is touched).
    OpenSearchText blanked;
    for (const char c : d.shortName.view())
        blanked.Append(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c);
    const string_view name = Trim(CutShiftJis(Trim(blanked), kNameSize - 1));
    if (name.empty()) return OpenSearchFault::NoShortName;

    // The first GET Url for results; failing that, the first GET search form.
    const OpenSearchUrl* chosen = nullptr;
    const OpenSearchUrl* form = nullptr;
    bool postOnly = false;
    for (size_t i = 0; i < d.urlCount && i < kOpenSearchUrlLimit && !chosen; ++i) {
        const OpenSearchUrl& u = d.urls[i];
        const HtmlRole role = RoleOf(u);
        if (role == HtmlRole::Other) continue;
        if (!IsGet(u))
            postOnly = true;
        else if (role == HtmlRole::Results)
            chosen = &u;
        else if (!form)
            form = &u;
    }
    if (!chosen) chosen = form;
    if (!chosen) return postOnly ? OpenSearchFault::PostOnly : OpenSearchFault::NoHtmlUrl;

    uint8_t character = kCharUtf8;
    string_view encodingName;
    if (!EncodingOf(d, character, encodingName)) {
        SetDetail(detail, Trim(d.inputEncodings[0]));
        return OpenSearchFault::Encoding;
    }

    OpenSearchTemplate templ;
    if (!OpenSearchQueryTemplate(*chosen, templ)) return OpenSearchFault::TooLong;
    FixedText<kHeadSize> head;
    FixedText<kTailSize> tail;
    const OpenSearchFault f = SplitOpenSearchTemplate(templ, encodingName, head, tail, detail);
    if (f != OpenSearchFault::None) return f;

    CopyToField(entry.Name, name);
    entry.Character = character;
    CopyToField(entry.head[0], head);
    CopyToField(entry.key[0], "+");
    CopyToField(entry.tail[0], tail);
    return OpenSearchFault::None;
}

namespace {

// Braces of the fields would read as parameters; the walk skips trail bytes.
void AppendBracesEscaped(TextBuffer& out, string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c) && i + 1 < text.size()) {
            out.Append(text[i]);
            out.Append(text[++i]);
        } else if (c == '{' || c == '}') {
            AppendEncoded(out, c);
        } else {
            out.Append(text[i]);
        }
    }
}

} // namespace

void ExtrasFromOpenSearch(const OpenSearchDescription& d, EngineExtras& extras) {
    extras = EngineExtras{};
    if (!d.keyword.cut() && IsEngineKeyword(d.keyword))
        CopyBounded(extras.Keyword, kEngineKeywordSize, d.keyword.c_str(), d.keyword.size());

    uint8_t character = kCharUtf8;
    string_view encodingName;
    EncodingOf(d, character, encodingName); // an entry is never made without a known one
    for (size_t i = 0; i < d.urlCount && i < kOpenSearchUrlLimit; ++i) {
        const OpenSearchUrl& u = d.urls[i];
        if (!IsMediaType(u.type, "application/x-suggestions+json") || !IsGet(u)) continue;
        // The template as the search Url's is taken: its pairs after it, the other parameters
        // filled or dropped, and what cannot stand in a URL encoded (so it is all ASCII).
        OpenSearchTemplate templ;
        FixedText<kHeadSize> head;
        FixedText<kTailSize> tail;
        OpenSearchDetail detail;
        if (!OpenSearchQueryTemplate(u, templ) ||
            SplitOpenSearchTemplate(templ, encodingName, head, tail, detail) !=
                OpenSearchFault::None)
            return;
        FixedText<kSuggestUrlSize> url;
        if (!StartsNoCase(head, "https://")) url.Append("http://");
        url.Append(head);
        url.Append("{searchTerms}");
        url.Append(tail);
        if (!url.cut() && IsSuggestUrl(url)) CopyToField(extras.Suggest, url);
        return;
    }
}

bool OpenSearchFromEntry(const EngineEntry& entry, OpenSearchExport& out,
                         const EngineExtras& extras) {
    const auto head = FieldText(entry.head[0]);
    if (head.empty() || head[0] == '\\') return false;
    out.shortName.Assign(FieldText(entry.Name));
    const auto keyword = FieldText(extras.Keyword);
    out.keyword.Assign(IsEngineKeyword(keyword) ? keyword : std::string_view());
    const auto suggest = FieldText(extras.Suggest);
    out.suggest.Assign(IsSuggestUrl(suggest) ? suggest : std::string_view());
    out.templ.clear();
    if (!StartsNoCase(head, "http://") && !StartsNoCase(head, "https://"))
        out.templ.Append("http://");
    AppendBracesEscaped(out.templ, head);
    out.templ.Append("{searchTerms}");
    AppendBracesEscaped(out.templ, FieldText(entry.tail[0]));
    switch (entry.Character) {
    case kCharEuc:
        out.inputEncoding = "EUC-JP";
        break;
    case kCharUtf8:
        out.inputEncoding = "UTF-8";
        break;
    default: // Shift-JIS, and the raw bytes of "no encoding", are Shift-JIS text
        out.inputEncoding = "Shift_JIS";
        break;
    }
    return true;
}

void FileNameFromName(const char* name, size_t size, TextBuffer& out) {
    out.clear();
    const string_view text(name, FieldLength(name, size));
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c) && i + 1 < text.size()) {
            out.Append(text[i]);
            out.Append(text[++i]);
        } else if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) {
            out.Append('_');
        } else {
            out.Append(static_cast<char>(c));
        }
    }
    size_t n = out.size();
    while (n > 0 && (out[n - 1] == ' ' || out[n - 1] == '.'))
        out[--n] = '_';
    if (out.empty()) out.Assign("engine");
}
