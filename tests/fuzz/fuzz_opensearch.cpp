// The OpenSearch rules on arbitrary input: the declaration and document type scans over the
// raw bytes, and the description rules over values cut from them (separated by NUL bytes:
// short name, type, method, rel, template, then query pairs "name=value" and input encodings
// (the values without "=")). A suggestion URL taken from them must be one, in ASCII.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engines/companion.h"
#include "engines/opensearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    size_t end = 0;
    XmlDeclaredEncoding(bytes, &end);
    HasDocumentType(bytes);

    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t nul = bytes.find('\0', start);
        parts.push_back(
            bytes.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
        if (nul == std::string::npos) break;
        start = nul + 1;
    }
    parts.resize(parts.size() < 5 ? 5 : parts.size());
    static OpenSearchDescription d;
    d = OpenSearchDescription{};
    d.shortName.Assign(parts[0]);
    OpenSearchUrl* u = d.AddUrl();
    u->type.Assign(parts[1]);
    u->method.Assign(parts[2]);
    u->rel.Assign(parts[3]);
    u->templ.Assign(parts[4]);
    for (size_t i = 5; i < parts.size(); ++i) {
        const size_t eq = parts[i].find('=');
        if (eq != std::string::npos)
            u->AddParam(std::string_view(parts[i]).substr(0, eq),
                        std::string_view(parts[i]).substr(eq + 1));
        else if (OpenSearchText* enc = d.AddEncoding())
            enc->Assign(parts[i]);
    }
    EngineEntry e;
    OpenSearchDetail detail;
    EntryFromOpenSearch(d, e, detail);
    EngineExtras extras;
    ExtrasFromOpenSearch(d, extras);
    const std::string_view suggest(extras.Suggest, FieldLength(extras.Suggest, kSuggestUrlSize));
    if (!suggest.empty() && !IsSuggestUrl(suggest)) std::abort();
    for (const char c : suggest)
        if (static_cast<unsigned char>(c) >= 0x80) std::abort();
    OpenSearchExport x;
    OpenSearchFromEntry(e, x, extras);
    FixedText<kHeadSize> head;
    FixedText<kTailSize> tail;
    SplitOpenSearchTemplate(parts[4], parts[0], head, tail, detail);
    OpenSearchTemplate templ;
    OpenSearchQueryTemplate(*u, templ);
    FixedText<64> file;
    FileNameFromName(parts[0].c_str(), parts[0].size() + 1, file);
    CutShiftJis(parts[0], 27);
    return 0;
}
