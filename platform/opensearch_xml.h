// OpenSearch description files, read and written with the system's XML parser (MSXML,
// DOMDocument).
#pragma once
#include <windows.h>

#include "base/text.h"
#include "engines/opensearch.h"
#include "platform/win_text.h"

// Why a file was not taken: the file itself, or what it says (then `content` tells).
enum class OpenSearchFileFault {
    None,
    Open,          // cannot be opened or read
    TooLarge,      // beyond kOpenSearchFileLimit
    DocumentType,  // holds a document type declaration (DTDs are never processed)
    NotXml,        // the parser rejected it (line tells where)
    NoParser,      // the system has no XML parser
    NotOpenSearch, // another kind of XML document
    Content,       // the description cannot become an entry
};

struct OpenSearchRead {
    OpenSearchFileFault file = OpenSearchFileFault::None;
    OpenSearchFault content = OpenSearchFault::None;
    OpenSearchDetail detail; // UTF-8
    long line = 0;
    EngineExtras extras = {}; // the entry's keyword and suggestion URL, when the file was taken
};

// Reads one description into entry (zeroed unless the result has no fault) and its extras
// (ExtrasFromOpenSearch: the keyword of Morvel's own element, the suggestion URL of the
// first GET Url of type application/x-suggestions+json) into the result. The file is
// untrusted: its size is capped, a document type declaration rejects it before the parser
// sees it, the parser runs with DTDs prohibited and external resolution off, and every value
// is bounded before it is used. The calling thread is in a COM apartment.
OpenSearchRead ReadOpenSearchFile(const wchar_t* path, EngineEntry& entry);

// The message for a rejected file (Shift-JIS).
using OpenSearchMessage = WinText<MAX_PATH + 512>;
void OpenSearchReadMessage(const wchar_t* path, const OpenSearchRead& r,
                           OpenSearchMessage& message);

// Writes the entry's URL1 as an OpenSearch 1.1 description (UTF-8), with the suggestion URL
// of the extras, if any, as a Url of type application/x-suggestions+json, and their keyword,
// if any, in Morvel's own namespace (kMorvelOpenSearchNamespace, declared on the
// root; other readers skip it); false when the entry cannot be described (a file reference)
// or the file cannot be written. The old file is replaced only by a complete new one. The
// calling thread is in a COM apartment.
enum class OpenSearchWrite { Written, NotDescribable, Failed };
OpenSearchWrite WriteOpenSearchFile(const wchar_t* path, const EngineEntry& entry,
                                    const EngineExtras& extras = EngineExtras{});

// The namespace of Morvel's own elements in a description (an export gives it the prefix
// "morvel"; a reader goes by the namespace alone).
constexpr wchar_t kMorvelOpenSearchNamespace[] = L"urn:x-morvel:opensearch";
