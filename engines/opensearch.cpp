#include "engines/opensearch.h"

#include <algorithm>
#include <cstring>

#include "app/text.h"

namespace {

// Placeholders in a template while it is taken apart: the parameters are replaced by them
// after every control byte of the template itself has been percent-encoded, so none can
// come from the file.
constexpr char kTermsMark = '\x01';
constexpr char kDroppedMark = '\x02';

constexpr size_t kDetailLimit = 64;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const char* b) {
    const size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool StartsNoCase(const std::string& a, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return a.size() >= n && EqualNoCase(a.substr(0, n), prefix);
}

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// UTF-8 text cut to at most maxBytes bytes at a character boundary, for messages.
std::string CutUtf8(const std::string& s, size_t maxBytes) {
    if (s.size() <= maxBytes) return s;
    size_t n = maxBytes;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return s.substr(0, n);
}

// Bytes that may stand in a URL as they are; everything else is percent-encoded.
bool UrlSafe(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return false;
    return std::strchr("\"<>\\^`|{}", c) == nullptr;
}

void AppendEncoded(std::string& out, unsigned char c) {
    static const char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[c >> 4];
    out += digits[c & 15];
}

bool ParameterChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ':' ||
           c == '_' || c == '-' || c == '.';
}

// The usual value of a parameter that a search page needs; false for one the program
// cannot know.
bool DefaultValue(const std::string& name, const std::string& encodingName, std::string& value) {
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

// The media type of a type attribute, without its parameters.
bool IsHtmlType(const std::string& type) {
    return EqualNoCase(Trim(type.substr(0, type.find(';'))), "text/html");
}

// rel is a list of words separated by blanks; none means "results".
bool ForResults(const std::string& rel) {
    const std::string r = Trim(rel);
    if (r.empty()) return true;
    size_t i = 0;
    while (i < r.size()) {
        const size_t end = r.find_first_of(" \t\r\n", i);
        const std::string word =
            r.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (EqualNoCase(word, "results")) return true;
        if (end == std::string::npos) break;
        i = end + 1;
    }
    return false;
}

// Drops the query pairs whose value was only an optional parameter and the remaining
// optional markers.
std::string DropOptional(const std::string& url) {
    const size_t q = url.find('?');
    std::string out = url.substr(0, q == std::string::npos ? url.size() : q);
    if (q != std::string::npos) {
        const size_t hash = url.find('#', q);
        const std::string query =
            url.substr(q + 1, hash == std::string::npos ? std::string::npos : hash - q - 1);
        std::string kept;
        size_t i = 0;
        for (;;) {
            const size_t amp = query.find('&', i);
            const std::string pair =
                query.substr(i, amp == std::string::npos ? std::string::npos : amp - i);
            const size_t eq = pair.find('=');
            const std::string value = eq == std::string::npos ? pair : pair.substr(eq + 1);
            if (!pair.empty() && value != std::string(1, kDroppedMark)) {
                if (!kept.empty()) kept += '&';
                kept += pair;
            }
            if (amp == std::string::npos) break;
            i = amp + 1;
        }
        if (!kept.empty() || hash != std::string::npos) out += '?';
        out += kept;
        if (hash != std::string::npos) out += url.substr(hash);
    }
    std::string clean;
    for (char c : out)
        if (c != kDroppedMark) clean += c;
    return clean;
}

} // namespace

bool CharacterFromEncoding(const std::string& name, uint8_t& character) {
    const std::string n = Trim(name);
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

OpenSearchFault SplitOpenSearchTemplate(const std::string& templ, const std::string& encodingName,
                                        std::string& head, std::string& tail, std::string& detail) {
    head.clear();
    tail.clear();
    std::string t = Trim(templ);
    if (StartsNoCase(t, "http://")) {
        t = t.substr(7); // the program puts "http://" in front of a head without a scheme
    } else if (StartsNoCase(t, "https://")) {
        t = "https://" + t.substr(8);
    } else {
        return OpenSearchFault::Scheme;
    }

    std::string url;
    int terms = 0;
    for (size_t i = 0; i < t.size();) {
        if (t[i] == '{') {
            size_t end = i + 1;
            while (end < t.size() && ParameterChar(t[end]))
                ++end;
            bool optional = false;
            if (end < t.size() && t[end] == '?') {
                optional = true;
                ++end;
            }
            if (end < t.size() && t[end] == '}' && end > i + 1 + (optional ? 1 : 0)) {
                std::string name = t.substr(i + 1, end - i - 1 - (optional ? 1 : 0));
                const size_t colon = name.rfind(':');
                const std::string local =
                    colon == std::string::npos ? name : name.substr(colon + 1);
                if (local == "searchTerms" && colon == std::string::npos) {
                    ++terms;
                    url += kTermsMark;
                } else if (optional) {
                    url += kDroppedMark;
                } else {
                    std::string value;
                    if (colon != std::string::npos || !DefaultValue(local, encodingName, value)) {
                        detail = CutUtf8(name, kDetailLimit);
                        return OpenSearchFault::NeedsParameter;
                    }
                    for (unsigned char c : value) {
                        if (UrlSafe(c))
                            url += static_cast<char>(c);
                        else
                            AppendEncoded(url, c);
                    }
                }
                i = end + 1;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(t[i]);
        if (UrlSafe(c))
            url += static_cast<char>(c);
        else
            AppendEncoded(url, c); // a stray brace among them
        ++i;
    }
    if (terms == 0) return OpenSearchFault::NoSearchTerms;
    if (terms > 1) return OpenSearchFault::TwoSearchTerms;

    url = DropOptional(url);
    const size_t mark = url.find(kTermsMark);
    head = url.substr(0, mark);
    tail = url.substr(mark + 1);
    const bool noHost = head.empty() || head == "https://" || head[0] == '/';
    if (noHost) {
        head.clear();
        tail.clear();
        return OpenSearchFault::Scheme;
    }
    if (head.size() >= kHeadSize || tail.size() >= kTailSize) {
        head.clear();
        tail.clear();
        return OpenSearchFault::TooLong;
    }
    return OpenSearchFault::None;
}

bool HasDocumentType(const std::string& bytes) {
    static const char kWord[] = "<!doctype";
    const size_t n = sizeof kWord - 1;
    size_t matched = 0;
    for (char b : bytes) {
        if (b == '\0') continue; // the other half of a UTF-16 unit
        if (Lower(b) == kWord[matched]) {
            if (++matched == n) return true;
        } else {
            matched = Lower(b) == kWord[0] ? 1 : 0;
        }
    }
    return false;
}

std::string XmlDeclaredEncoding(const std::string& bytes, size_t* declarationEnd) {
    if (declarationEnd) *declarationEnd = 0;
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (bytes.compare(start, 5, "<?xml") != 0) return "";
    const size_t end = bytes.find("?>", start);
    if (end == std::string::npos || end - start > 512) return "";
    if (declarationEnd) *declarationEnd = end + 2;
    const std::string decl = bytes.substr(start, end - start);
    const size_t at = decl.find("encoding");
    if (at == std::string::npos) return "";
    size_t i = at + 8;
    while (i < decl.size() &&
           (decl[i] == ' ' || decl[i] == '\t' || decl[i] == '\r' || decl[i] == '\n'))
        ++i;
    if (i >= decl.size() || decl[i] != '=') return "";
    ++i;
    while (i < decl.size() &&
           (decl[i] == ' ' || decl[i] == '\t' || decl[i] == '\r' || decl[i] == '\n'))
        ++i;
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return "";
    const size_t close = decl.find(decl[i], i + 1);
    if (close == std::string::npos) return "";
    return decl.substr(i + 1, std::min<size_t>(close - i - 1, 40));
}

std::string CutShiftJis(const std::string& text, size_t maxBytes) {
    size_t i = 0;
    while (i < text.size()) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > maxBytes || i + step > text.size()) break;
        i += step;
    }
    return text.substr(0, i);
}

OpenSearchFault EntryFromOpenSearch(const OpenSearchDescription& d, EngineEntry& entry,
                                    std::string& detail) {
    entry = EngineEntry{};
    detail.clear();

    // A name shows on one line: control bytes become blanks (Shift-JIS trail bytes are
    // never below 0x40, so no character is touched).
    std::string name = d.shortName;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    name = CutShiftJis(Trim(name), kNameSize - 1);
    name = Trim(name);
    if (name.empty()) return OpenSearchFault::NoShortName;

    const OpenSearchUrl* chosen = nullptr;
    bool postOnly = false;
    for (size_t i = 0; i < d.urls.size() && i < kOpenSearchElementLimit; ++i) {
        const OpenSearchUrl& u = d.urls[i];
        if (!IsHtmlType(u.type) || !ForResults(u.rel)) continue;
        if (Trim(u.method).empty() || EqualNoCase(Trim(u.method), "get")) {
            chosen = &u;
            break;
        }
        postOnly = true;
    }
    if (!chosen) return postOnly ? OpenSearchFault::PostOnly : OpenSearchFault::NoHtmlUrl;

    uint8_t character = kCharUtf8;
    std::string encodingName = "UTF-8";
    if (!d.inputEncodings.empty()) {
        bool known = false;
        for (size_t i = 0; i < d.inputEncodings.size() && i < kOpenSearchElementLimit; ++i)
            if (CharacterFromEncoding(d.inputEncodings[i], character)) {
                encodingName = Trim(d.inputEncodings[i]);
                known = true;
                break;
            }
        if (!known) {
            detail = CutUtf8(Trim(d.inputEncodings[0]), kDetailLimit);
            return OpenSearchFault::Encoding;
        }
    }

    if (chosen->templateTooLong) return OpenSearchFault::TooLong;
    std::string head, tail;
    const OpenSearchFault f =
        SplitOpenSearchTemplate(chosen->templ, encodingName, head, tail, detail);
    if (f != OpenSearchFault::None) return f;

    CopyToField(entry.Name, name);
    entry.Character = character;
    CopyToField(entry.head[0], head);
    CopyToField(entry.key[0], std::string("+"));
    CopyToField(entry.tail[0], tail);
    return OpenSearchFault::None;
}

bool OpenSearchFromEntry(const EngineEntry& entry, OpenSearchExport& out) {
    const std::string head = FieldText(entry.head[0]);
    if (head.empty() || head[0] == '\\') return false;
    // Braces of the fields would read as parameters; the walk skips trail bytes.
    auto escapeBraces = [](const std::string& text) {
        std::string r;
        for (size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (IsLeadByte(c) && i + 1 < text.size()) {
                r += text[i];
                r += text[++i];
            } else if (c == '{' || c == '}') {
                AppendEncoded(r, c);
            } else {
                r += text[i];
            }
        }
        return r;
    };
    out.shortName = FieldText(entry.Name);
    out.templ.clear();
    if (!StartsNoCase(head, "http://") && !StartsNoCase(head, "https://")) out.templ = "http://";
    out.templ += escapeBraces(head) + "{searchTerms}" + escapeBraces(FieldText(entry.tail[0]));
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

std::string FileNameFromName(const char* name, size_t size) {
    const std::string text = FieldText(name, size);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
        } else if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) {
            out += '_';
        } else {
            out += static_cast<char>(c);
        }
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.'))
        out.back() = '_';
    return out.empty() ? "engine" : out;
}
