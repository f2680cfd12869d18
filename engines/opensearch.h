// OpenSearch descriptions as engine entries and back: what a description's values make of
// an entry (the template split at {searchTerms}, the input encoding as Character, the short
// name cut to the field) and the values an export writes. The XML itself is read and written
// by the system's parser; this part sees only the values taken out of it. No Windows needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engines/engine_entry.h"

// The largest description file that is read at all.
constexpr size_t kOpenSearchFileLimit = 256 * 1024;
// Values taken from a description are cut to these many UTF-16 units before they are looked
// at; a longer template cannot fit an entry anyway.
constexpr size_t kOpenSearchTemplateLimit = 4096;
constexpr size_t kOpenSearchTextLimit = 256;
// At most this many Url and InputEncoding elements are looked at.
constexpr size_t kOpenSearchElementLimit = 64;

// One Url element: its type, method and rel attributes and its template, as UTF-8.
struct OpenSearchUrl {
    std::string type;
    std::string method; // empty: GET
    std::string rel;    // empty: "results"
    std::string templ;
    bool templateTooLong = false; // the attribute was longer than kOpenSearchTemplateLimit
};

// What the reader took out of a description. The short name is already in Shift-JIS (the
// caller converts it); everything else is UTF-8.
struct OpenSearchDescription {
    std::string shortName;
    std::vector<OpenSearchUrl> urls;
    std::vector<std::string> inputEncodings; // in document order; none means UTF-8
};

enum class OpenSearchFault {
    None,
    NoShortName,
    NoHtmlUrl,      // no Url of type text/html for results
    PostOnly,       // only POST Urls of type text/html
    NoSearchTerms,  // the template has no {searchTerms}
    TwoSearchTerms, // {searchTerms} more than once
    NeedsParameter, // a required parameter that the program cannot fill (detail: its name)
    Scheme,         // not an http or https address
    TooLong,        // head or tail longer than their fields
    Encoding,       // an input encoding the program cannot send (detail: its name)
};

// Builds the entry: URL1 from the first GET Url of type text/html for results, key "+",
// Character from the first input encoding that the program knows, no URL2, UrlMode 0.
// On a fault the entry is left zeroed and detail may name the value at fault (UTF-8, cut
// to 64 bytes at a character boundary).
OpenSearchFault EntryFromOpenSearch(const OpenSearchDescription& d, EngineEntry& entry,
                                    std::string& detail);

// The Character of an input encoding name (without regard to case); false when unknown.
bool CharacterFromEncoding(const std::string& name, uint8_t& character);

// The template's head and tail around {searchTerms}, as ASCII: "http://" dropped (the
// program puts it in front), "https://" kept, other parameters dropped with their optional
// markers (a query pair that held only an optional parameter goes whole) or filled with
// their usual defaults, and every byte that cannot stand in a URL percent-encoded.
// encodingName is what {inputEncoding} gets.
OpenSearchFault SplitOpenSearchTemplate(const std::string& templ, const std::string& encodingName,
                                        std::string& head, std::string& tail, std::string& detail);

// What an export writes for an entry: the template (Shift-JIS bytes as the fields hold them,
// with "{searchTerms}" between URL1's head and tail, braces of the fields percent-encoded so
// they are not taken for parameters) and the input encoding's name. False for an entry whose
// head is a file reference: a browser cannot search a file of this computer by address.
struct OpenSearchExport {
    std::string shortName;
    std::string templ;
    const char* inputEncoding;
};
bool OpenSearchFromEntry(const EngineEntry& entry, OpenSearchExport& out);

// Whether the bytes of a file hold a document type declaration ("<!DOCTYPE", in any case),
// in a single-byte or multi-byte ASCII-compatible encoding or in UTF-16 of either order.
// Descriptions have none; such a file is rejected before any parser sees it, so no entity
// is ever expanded.
bool HasDocumentType(const std::string& bytes);

// The encoding that a file's XML declaration names (empty when it names none), bounded to
// 40 bytes, and the offset just after the declaration (0 when there is none). A UTF-8 byte
// order mark before it is allowed.
std::string XmlDeclaredEncoding(const std::string& bytes, size_t* declarationEnd = nullptr);

// Shift-JIS text cut to at most maxBytes bytes without splitting a double-byte character.
std::string CutShiftJis(const std::string& text, size_t maxBytes);

// A Shift-JIS name made fit for a file name: characters that a file name cannot hold become
// "_" (a trail byte 0x5C is not a backslash), and an empty name becomes "engine".
std::string FileNameFromName(const char* name, size_t size);
