// OpenSearch descriptions as engine entries and back: what a description's values make of
// an entry (the template split at {searchTerms}, the input encoding as Character, the short
// name cut to the field) and the values an export writes. The XML itself is read and written
// by the system's parser; this part sees only the values taken out of it. No Windows needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/text.h"
#include "engines/engine_entry.h"

// The largest description file that is read at all.
constexpr size_t kOpenSearchFileLimit = 256 * 1024;
// The bytes kept of a value taken from a description; a longer value is marked cut. A
// longer template cannot fit an entry anyway.
constexpr size_t kOpenSearchTemplateLimit = 4096;
constexpr size_t kOpenSearchTextLimit = 256;
// At most this many Url and InputEncoding elements are looked at.
constexpr size_t kOpenSearchUrlLimit = 16;
constexpr size_t kOpenSearchEncodingLimit = 16;

using OpenSearchText = FixedText<kOpenSearchTextLimit + 1>;
using OpenSearchTemplate = FixedText<kOpenSearchTemplateLimit + 1>;
// A value named in a rejection (UTF-8, cut to 64 bytes at a character boundary).
using OpenSearchDetail = FixedText<65>;

// One Url element: its type, method and rel attributes and its template, as UTF-8. A
// template that was longer than kOpenSearchTemplateLimit is marked cut.
struct OpenSearchUrl {
    OpenSearchText type;
    OpenSearchText method; // empty: GET
    OpenSearchText rel;    // words separated by blanks; empty: "results"
    OpenSearchTemplate templ;
    // The pairs of its Param children (and of the parameter extension's Parameter children),
    // "name=value" joined by "&" in document order: the query that goes after the template.
    // Marked cut when it outgrows a template, or when the reader cut a name or a value.
    OpenSearchTemplate query;

    // Adds one child's pair; a child without a name adds nothing. The value is taken as a
    // template is (parameters and all); braces in the name are encoded, so the name is never
    // taken for a parameter.
    void AddParam(std::string_view name, std::string_view value);
};

// What the reader took out of a description. The short name and the keyword are already in
// Shift-JIS (the caller converts them); everything else is UTF-8. Large: kept on the heap.
struct OpenSearchDescription {
    OpenSearchText shortName;
    // The entry's keyword, from the element that Morvel's exports add in its own namespace
    // (browsers skip it); empty when there is none or Shift-JIS cannot say it.
    OpenSearchText keyword;
    size_t urlCount = 0;
    OpenSearchUrl urls[kOpenSearchUrlLimit];
    size_t encodingCount = 0; // in document order; none means UTF-8
    OpenSearchText inputEncodings[kOpenSearchEncodingLimit];

    // The next Url to fill, or null when as many as are looked at are there.
    OpenSearchUrl* AddUrl() { return urlCount < kOpenSearchUrlLimit ? &urls[urlCount++] : nullptr; }
    OpenSearchText* AddEncoding() {
        return encodingCount < kOpenSearchEncodingLimit ? &inputEncodings[encodingCount++]
                                                        : nullptr;
    }
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

// The entry's extras from a description, never a reason to refuse it: its keyword when
// IsEngineKeyword takes it; its suggestion URL from the first GET Url of type
// application/x-suggestions+json, the template with its query pairs taken as the search
// Url's is (SplitOpenSearchTemplate: parameters filled or dropped, every other byte that
// cannot stand in a URL percent-encoded) with "{searchTerms}" put back, when IsSuggestUrl
// takes it. A later suggestions Url is not looked at when the first GET one fails.
void ExtrasFromOpenSearch(const OpenSearchDescription& d, EngineExtras& extras);

// Builds the entry: URL1 from the first GET Url of type text/html for results (a rel that is
// empty or names "results"), or, when there is none, from the first GET one whose rel names
// "searchform" (the search form that a browser also searches with); key "+", Character from
// the first input encoding that the program knows, no URL2, UrlMode 0.
// The Url's template is taken with its query pairs after it (see OpenSearchQueryTemplate).
// On a fault the entry is left zeroed and detail may name the value at fault.
OpenSearchFault EntryFromOpenSearch(const OpenSearchDescription& d, EngineEntry& entry,
                                    OpenSearchDetail& detail);

// The template that a Url's template and its query pairs make, as a browser submits them: the
// pairs after a "?", or after a "&" when the template already has a "?" outside its
// parameters (so a template that ends in "?" gets "?&"). False when it is longer than a
// template may be.
bool OpenSearchQueryTemplate(const OpenSearchUrl& url, OpenSearchTemplate& out);

// The Character of an input encoding name (without regard to case); false when unknown.
bool CharacterFromEncoding(std::string_view name, uint8_t& character);

// The template's head and tail around {searchTerms}, as ASCII: "http://" dropped (the
// program puts it in front), "https://" kept, other parameters dropped with their optional
// markers (a query pair that held only an optional parameter goes whole) or filled with
// their usual defaults, and every byte that cannot stand in a URL percent-encoded.
// encodingName is what {inputEncoding} gets. head and tail are left empty on a fault.
OpenSearchFault SplitOpenSearchTemplate(std::string_view templ, std::string_view encodingName,
                                        TextBuffer& head, TextBuffer& tail,
                                        OpenSearchDetail& detail);

// What an export writes for an entry: the template (Shift-JIS bytes as the fields hold them,
// with "{searchTerms}" between URL1's head and tail, braces of the fields percent-encoded so
// they are not taken for parameters), the input encoding's name, and the keyword and the
// suggestion URL of the extras (Shift-JIS; empty for none or for one that is not one). False for an
// entry whose head is a file reference: a browser cannot search a file of this computer by address.
struct OpenSearchExport {
    FixedText<kNameSize + 1> shortName;
    // "http://", a head and a tail with every byte encoded, and the parameter.
    FixedText<8 + 3 * kHeadSize + 16 + 3 * kTailSize> templ;
    const char* inputEncoding = "UTF-8";
    FixedText<kEngineKeywordSize> keyword;
    FixedText<kSuggestUrlSize> suggest;
};
bool OpenSearchFromEntry(const EngineEntry& entry, OpenSearchExport& out,
                         const EngineExtras& extras = EngineExtras{});

// Whether the bytes of a file hold a document type declaration ("<!DOCTYPE", in any case),
// in a single-byte or multi-byte ASCII-compatible encoding or in UTF-16 of either order.
// Descriptions have none; such a file is rejected before any parser sees it, so no entity
// is ever expanded.
bool HasDocumentType(std::string_view bytes);

// The encoding that a file's XML declaration names (empty when it names none), bounded to
// 40 bytes, and the offset just after the declaration (0 when there is none). A UTF-8 byte
// order mark before it is allowed.
using XmlEncodingName = FixedText<41>;
XmlEncodingName XmlDeclaredEncoding(std::string_view bytes, size_t* declarationEnd = nullptr);

// The longest start of a Shift-JIS text of at most maxBytes bytes that splits no
// double-byte character (a lone lead byte at the end is dropped too).
std::string_view CutShiftJis(std::string_view text, size_t maxBytes);

// A Shift-JIS name made fit for a file name: characters that a file name cannot hold become
// "_" (a trail byte 0x5C is not a backslash), and an empty name becomes "engine".
void FileNameFromName(const char* name, size_t size, TextBuffer& out);
