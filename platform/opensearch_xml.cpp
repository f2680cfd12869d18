#include "platform/opensearch_xml.h"

#include <msxml2.h>

#include <cwchar>
#include <memory>
#include <new>

#include "base/text.h"
#include "platform/engine_store.h"
#include "platform/file_replace.h"
#include "platform/handles.h"

namespace {

using std::string_view;

// MSXML 6 where it is installed, else MSXML 3 (which every supported system has).
const CLSID kDomDocument60 = {
    0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID kIXMLDOMDocument2 = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

const wchar_t kNamespace[] = L"http://a9.com/-/spec/opensearch/1.1/";
// The root of the search plugins a browser keeps in its profile is SearchPlugin in this one.
const wchar_t kPluginNamespace[] = L"http://www.mozilla.org/2006/browser/search/";
// The parameter extension: Parameter children of a Url and its method attribute.
const wchar_t kParametersNamespace[] =
    L"http://a9.com/-/spec/opensearch/extensions/parameters/1.0/";
constexpr long kMaxNodes = 1024; // children of the root, or of a Url, that are looked at

// An exported description: the declaration, the elements and the template with every
// character escaped as the parser writes it.
using DescriptionBuffer = FixedText<16 * 1024>;

// UTF-16 text converted into out. Text that does not fit is cut at a character boundary
// and out is marked cut.
void Narrow(const wchar_t* text, size_t length, UINT codePage, TextBuffer& out) {
    out.clear();
    if (!text || length == 0) return;
    const int whole = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), nullptr, 0,
                                          nullptr, nullptr);
    if (whole <= 0) return;
    bool cut = false;
    if (static_cast<size_t>(whole) > out.capacity()) {
        // No character takes more than three bytes in the code pages used here.
        length = out.capacity() / 3;
        if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
        cut = true;
    }
    const int n = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), out.data(),
                                      static_cast<int>(out.capacity()), nullptr, nullptr);
    out.SetWritten(n > 0 ? static_cast<size_t>(n) : 0);
    if (cut) out.MarkCut();
}

// Text in a code page as UTF-16, bounded to N - 1 units; false when it does not fit.
template <size_t N> struct WideText {
    wchar_t text[N];
    int length = 0;

    bool From(string_view s, UINT codePage) {
        text[0] = L'\0';
        length = 0;
        if (s.empty()) return true;
        const int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), text,
                                          static_cast<int>(N - 1));
        if (n <= 0) return false;
        length = n;
        text[n] = L'\0';
        return true;
    }
    UniqueBstr Bstr() const { return UniqueBstr(SysAllocStringLen(text, length)); }
};

UniqueBstr Bstr(const wchar_t* text) {
    return UniqueBstr(SysAllocString(text));
}

ComRef<IXMLDOMDocument> NewDocument() {
    ComRef<IXMLDOMDocument> doc;
    if (FAILED(CoCreateInstance(kDomDocument60, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                doc.put_void())) &&
        FAILED(CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                doc.put_void())))
        return ComRef<IXMLDOMDocument>();
    doc->put_async(VARIANT_FALSE);
    doc->put_validateOnParse(VARIANT_FALSE);
    doc->put_resolveExternals(VARIANT_FALSE);
    ComRef<IXMLDOMDocument2> doc2;
    if (SUCCEEDED(doc->QueryInterface(kIXMLDOMDocument2, doc2.put_void()))) {
        // Also told by name where the parser knows these properties; the document type
        // check before parsing does not depend on them.
        const struct {
            const wchar_t* name;
            bool on;
        } flags[] = {{L"ProhibitDTD", true},
                     {L"ResolveExternals", false},
                     {L"AllowDocumentFunction", false},
                     {L"AllowXsltScript", false}};
        for (const auto& f : flags) {
            UniqueVariant v;
            V_VT(v.get()) = VT_BOOL;
            V_BOOL(v.get()) = f.on ? VARIANT_TRUE : VARIANT_FALSE;
            UniqueBstr name = Bstr(f.name);
            doc2->setProperty(name.get(), *v);
        }
        UniqueVariant depth;
        V_VT(depth.get()) = VT_I4;
        V_I4(depth.get()) = 64;
        UniqueBstr name = Bstr(L"MaxElementDepth");
        doc2->setProperty(name.get(), *depth);
    }
    return doc;
}

// The whole file in a block of the heap, when it is no larger than descriptions get.
struct FileBytes {
    UniqueHeapBlock block;
    size_t size = 0;
    string_view view() const { return string_view(static_cast<const char*>(block.get()), size); }
};

bool ReadCapped(const wchar_t* path, FileBytes& bytes, bool& tooLarge) {
    tooLarge = false;
    UniqueFile f(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(f.get(), &size)) return false;
    if (size.QuadPart > static_cast<LONGLONG>(kOpenSearchFileLimit)) {
        tooLarge = true;
        return false;
    }
    const auto n = static_cast<DWORD>(size.QuadPart);
    bytes.block = AllocateHeapBlock(n + 1);
    if (!bytes.block) return false;
    DWORD got = 0;
    if (n > 0 && (!ReadFile(f.get(), bytes.block.get(), n, &got, nullptr) || got != n))
        return false;
    bytes.size = n;
    return true;
}

// The code page of the Japanese encodings that a declaration may name; 0 for the others,
// which the parser decodes itself (not every parser knows the Japanese ones).
UINT JapaneseCodePage(string_view declared) {
    uint8_t character = 0;
    if (declared.empty() || !CharacterFromEncoding(declared, character)) return 0;
    if (character == kCharShiftJis) return 932;
    if (character == kCharEuc) return 20932;
    return 0;
}

// Text decoded here goes to the parser as UTF-16 without its declaration.
bool LoadDecoded(IXMLDOMDocument* doc, string_view body, UINT codePage) {
    if (body.empty()) return false;
    const int n =
        MultiByteToWideChar(codePage, 0, body.data(), static_cast<int>(body.size()), nullptr, 0);
    if (n <= 0) return false;
    UniqueBstr text(SysAllocStringLen(nullptr, static_cast<UINT>(n)));
    if (!text) return false;
    MultiByteToWideChar(codePage, 0, body.data(), static_cast<int>(body.size()), text.get(), n);
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(doc->loadXML(text.get(), &ok)) && ok == VARIANT_TRUE;
}

// The parser reads the bytes itself, so it honours the encoding that the file declares.
bool LoadBytes(IXMLDOMDocument* doc, string_view bytes) {
    size_t declarationEnd = 0;
    const XmlEncodingName declared = XmlDeclaredEncoding(bytes, &declarationEnd);
    if (const UINT cp = JapaneseCodePage(declared))
        return LoadDecoded(
            doc, string_view(bytes.data() + declarationEnd, bytes.size() - declarationEnd), cp);
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return false;
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
        CopyMemory(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    UniqueVariant source; // owns the array from here on
    V_VT(source.get()) = VT_ARRAY | VT_UI1;
    V_ARRAY(source.get()) = array;
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(doc->load(*source, &ok)) && ok == VARIANT_TRUE;
}

// Whether a node's name without its prefix is `name`.
bool HasBaseName(IXMLDOMNode* node, const wchar_t* name) {
    UniqueBstr base;
    if (FAILED(node->get_baseName(base.put())) || !base) return false;
    const size_t n = std::wcslen(name);
    return SysStringLen(base.get()) == n && std::wmemcmp(base.get(), name, n) == 0;
}

bool HasNamespace(IXMLDOMNode* node, const wchar_t* uri) {
    UniqueBstr space;
    if (node->get_namespaceURI(space.put()) != S_OK || !space) return false;
    const size_t n = std::wcslen(uri);
    return SysStringLen(space.get()) == n && std::wmemcmp(space.get(), uri, n) == 0;
}

void NodeText(IXMLDOMNode* node, UINT codePage, TextBuffer& out) {
    out.clear();
    UniqueBstr text;
    if (FAILED(node->get_text(text.put())) || !text) return;
    Narrow(text.get(), SysStringLen(text.get()), codePage, out);
}

// The element's text in Shift-JIS as a keyword can be: empty when it is longer than a keyword
// may be, or Shift-JIS cannot say all of it.
void KeywordText(IXMLDOMNode* node, TextBuffer& out) {
    out.clear();
    UniqueBstr text;
    if (FAILED(node->get_text(text.put())) || !text) return;
    const UINT n = SysStringLen(text.get());
    if (n >= kEngineKeywordSize || !WideToSjis(std::wstring_view(text.get(), n), out)) out.clear();
}

// An attribute's value as UTF-8; false when the element has no such attribute.
bool Attribute(IXMLDOMElement* element, const wchar_t* name, TextBuffer& out) {
    out.clear();
    UniqueBstr n = Bstr(name);
    UniqueVariant v;
    if (element->getAttribute(n.get(), v.get()) != S_OK || V_VT(v.get()) != VT_BSTR) return false;
    Narrow(V_BSTR(v.get()), SysStringLen(V_BSTR(v.get())), CP_UTF8, out);
    return true;
}

// An attribute in a namespace, whatever its prefix.
void QualifiedAttribute(IXMLDOMElement* element, const wchar_t* name, const wchar_t* uri,
                        TextBuffer& out) {
    out.clear();
    ComRef<IXMLDOMNamedNodeMap> attributes;
    if (element->get_attributes(attributes.put()) != S_OK || !attributes) return;
    UniqueBstr n = Bstr(name), ns = Bstr(uri);
    ComRef<IXMLDOMNode> node;
    if (attributes->getQualifiedItem(n.get(), ns.get(), node.put()) != S_OK || !node) return;
    NodeText(node.get(), CP_UTF8, out);
}

// The Url's Param and Parameter children, in document order, as its query pairs. A child
// without a value attribute adds nothing, as one without a name.
void CollectParams(IXMLDOMElement* element, OpenSearchUrl& u) {
    ComRef<IXMLDOMNodeList> children;
    if (FAILED(element->get_childNodes(children.put())) || !children) return;
    long count = 0;
    children->get_length(&count);
    OpenSearchText name;
    OpenSearchTemplate value;
    for (long i = 0; i < count && i < kMaxNodes; ++i) {
        ComRef<IXMLDOMNode> node;
        if (children->get_item(i, node.put()) != S_OK) continue;
        DOMNodeType type = NODE_INVALID;
        node->get_nodeType(&type);
        if (type != NODE_ELEMENT ||
            !(HasBaseName(node.get(), L"Param") || HasBaseName(node.get(), L"Parameter")))
            continue;
        ComRef<IXMLDOMElement> param;
        if (FAILED(node->QueryInterface(IID_IXMLDOMElement, param.put_void()))) continue;
        if (!Attribute(param.get(), L"name", name) || !Attribute(param.get(), L"value", value))
            continue;
        if (name.cut() || value.cut()) u.query.MarkCut();
        u.AddParam(name, value);
    }
}

// The values of the description's children that make an entry.
void Collect(IXMLDOMElement* root, OpenSearchDescription& d) {
    ComRef<IXMLDOMNodeList> children;
    if (FAILED(root->get_childNodes(children.put())) || !children) return;
    long count = 0;
    children->get_length(&count);
    bool haveName = false, haveKeyword = false;
    for (long i = 0; i < count && i < kMaxNodes; ++i) {
        ComRef<IXMLDOMNode> node;
        if (children->get_item(i, node.put()) != S_OK) continue;
        DOMNodeType type = NODE_INVALID;
        node->get_nodeType(&type);
        if (type != NODE_ELEMENT) continue;
        if (!haveName && HasBaseName(node.get(), L"ShortName")) {
            NodeText(node.get(), 932, d.shortName);
            haveName = true;
        } else if (!haveKeyword && HasBaseName(node.get(), L"Keyword") &&
                   HasNamespace(node.get(), kMorvelOpenSearchNamespace)) {
            KeywordText(node.get(), d.keyword);
            haveKeyword = true;
        } else if (HasBaseName(node.get(), L"InputEncoding")) {
            if (OpenSearchText* encoding = d.AddEncoding())
                NodeText(node.get(), CP_UTF8, *encoding);
        } else if (HasBaseName(node.get(), L"Url")) {
            ComRef<IXMLDOMElement> element;
            if (FAILED(node->QueryInterface(IID_IXMLDOMElement, element.put_void()))) continue;
            OpenSearchUrl* u = d.AddUrl();
            if (!u) continue;
            Attribute(element.get(), L"type", u->type);
            if (!Attribute(element.get(), L"method", u->method))
                QualifiedAttribute(element.get(), L"method", kParametersNamespace, u->method);
            Attribute(element.get(), L"rel", u->rel);
            Attribute(element.get(), L"template", u->templ);
            CollectParams(element.get(), *u);
        }
    }
}

// A UTF-8 detail shown in a message, in Shift-JIS.
void AppendShown(TextBuffer& out, string_view utf8) {
    WideText<sizeof(OpenSearchDetail)> wide;
    FixedText<2 * sizeof(OpenSearchDetail)> shown;
    if (wide.From(utf8, CP_UTF8)) Narrow(wide.text, wide.length, 932, shown);
    out.Append(shown);
}

bool AppendElement(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name,
                   const UniqueBstr& text, ComRef<IXMLDOMElement>* out = nullptr,
                   const wchar_t* space = kNamespace) {
    UniqueVariant type;
    V_VT(type.get()) = VT_I4;
    V_I4(type.get()) = NODE_ELEMENT;
    UniqueBstr n = Bstr(name), ns = Bstr(space);
    ComRef<IXMLDOMNode> node;
    if (FAILED(doc->createNode(*type, n.get(), ns.get(), node.put()))) return false;
    if (text && SysStringLen(text.get()) > 0 && FAILED(node->put_text(text.get()))) return false;
    ComRef<IXMLDOMNode> added;
    if (FAILED(parent->appendChild(node.get(), added.put()))) return false;
    if (out && FAILED(node->QueryInterface(IID_IXMLDOMElement, out->put_void()))) return false;
    return true;
}

bool SetAttribute(IXMLDOMElement* element, const wchar_t* name, UniqueBstr value) {
    if (!value) return false;
    UniqueBstr n = Bstr(name);
    UniqueVariant v;
    V_VT(v.get()) = VT_BSTR;
    V_BSTR(v.get()) = value.release(); // the variant frees it
    return SUCCEEDED(element->setAttribute(n.get(), *v));
}

// The keyword element, its namespace declared on the root.
bool AppendKeyword(IXMLDOMDocument* doc, IXMLDOMNode* root, std::string_view keyword) {
    WinText<kEngineKeywordSize + 1> wide;
    AppendSjis(wide, keyword);
    ComRef<IXMLDOMElement> element;
    if (wide.empty() || wide.cut() ||
        FAILED(root->QueryInterface(IID_IXMLDOMElement, element.put_void())))
        return false;
    return SetAttribute(element.get(), L"xmlns:morvel", Bstr(kMorvelOpenSearchNamespace)) &&
           AppendElement(doc, root, L"morvel:Keyword", UniqueBstr(SysAllocString(wide.c_str())),
                         nullptr, kMorvelOpenSearchNamespace);
}

// The description's text: the parser's serialisation of the document, in UTF-8.
bool DescriptionText(const EngineEntry& entry, const EngineExtras& extras, TextBuffer& text,
                     bool& describable) {
    OpenSearchExport x;
    describable = OpenSearchFromEntry(entry, x, extras);
    if (!describable) return false;
    WideText<kNameSize + 1> name;
    WideText<sizeof x.templ> templ;
    WideText<16> encoding;
    if (!name.From(x.shortName, 932) || !templ.From(x.templ, 932) ||
        !encoding.From(x.inputEncoding, CP_UTF8))
        return false;
    ComRef<IXMLDOMDocument> doc = NewDocument();
    if (!doc) return false;
    UniqueVariant type;
    V_VT(type.get()) = VT_I4;
    V_I4(type.get()) = NODE_ELEMENT;
    UniqueBstr rootName = Bstr(L"OpenSearchDescription"), ns = Bstr(kNamespace);
    ComRef<IXMLDOMNode> root;
    if (FAILED(doc->createNode(*type, rootName.get(), ns.get(), root.put()))) return false;
    ComRef<IXMLDOMNode> added;
    if (FAILED(doc->appendChild(root.get(), added.put()))) return false;
    ComRef<IXMLDOMElement> url;
    const UniqueBstr none;
    if (!AppendElement(doc.get(), root.get(), L"ShortName", name.Bstr()) ||
        !AppendElement(doc.get(), root.get(), L"Description", name.Bstr()) ||
        !AppendElement(doc.get(), root.get(), L"InputEncoding", encoding.Bstr()) ||
        !AppendElement(doc.get(), root.get(), L"Url", none, &url) ||
        !SetAttribute(url.get(), L"type", Bstr(L"text/html")) ||
        !SetAttribute(url.get(), L"method", Bstr(L"get")) ||
        !SetAttribute(url.get(), L"template", templ.Bstr()))
        return false;
    if (!x.suggest.empty()) {
        WideText<kSuggestUrlSize> suggest;
        ComRef<IXMLDOMElement> suggestions;
        if (!suggest.From(x.suggest, 932) ||
            !AppendElement(doc.get(), root.get(), L"Url", none, &suggestions) ||
            !SetAttribute(suggestions.get(), L"type", Bstr(L"application/x-suggestions+json")) ||
            !SetAttribute(suggestions.get(), L"method", Bstr(L"get")) ||
            !SetAttribute(suggestions.get(), L"template", suggest.Bstr()))
            return false;
    }
    if (!x.keyword.empty() && !AppendKeyword(doc.get(), root.get(), x.keyword)) return false;
    UniqueBstr xml;
    if (FAILED(root->get_xml(xml.put())) || !xml) return false;
    DescriptionBuffer body;
    Narrow(xml.get(), SysStringLen(xml.get()), CP_UTF8, body);
    text.Assign("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    text.Append(body);
    text.Append("\r\n");
    return !body.cut() && !text.cut();
}

bool WriteText(const wchar_t* temp, const void* context) {
    const TextBuffer& text = *static_cast<const TextBuffer*>(context);
    return WriteNewFile(temp, text.c_str(), text.size());
}

const char* ContentReason(OpenSearchFault f) {
    switch (f) {
    case OpenSearchFault::NoShortName:
        return "ShortName がありません。";
    case OpenSearchFault::NoHtmlUrl:
        return "検索結果ページ (text/html) の Url がありません。";
    case OpenSearchFault::PostOnly:
        return "検索結果ページを POST で求める記述には対応していません。";
    case OpenSearchFault::NoSearchTerms:
        return "template に {searchTerms} がありません。";
    case OpenSearchFault::TwoSearchTerms:
        return "template に {searchTerms} が 2 つ以上あります。";
    case OpenSearchFault::NeedsParameter:
        return "template のパラメータに入れる値がありません : ";
    case OpenSearchFault::Scheme:
        return "template が http または https のアドレスではありません。";
    case OpenSearchFault::TooLong:
        return "template が長すぎます。";
    case OpenSearchFault::Encoding:
        return "対応していない文字コードです : ";
    case OpenSearchFault::None:
        break;
    }
    return "";
}

} // namespace

OpenSearchRead ReadOpenSearchFile(const wchar_t* path, EngineEntry& entry) {
    entry = EngineEntry{};
    OpenSearchRead r;
    FileBytes bytes;
    bool tooLarge = false;
    if (!ReadCapped(path, bytes, tooLarge)) {
        r.file = tooLarge ? OpenSearchFileFault::TooLarge : OpenSearchFileFault::Open;
        return r;
    }
    if (HasDocumentType(bytes.view())) {
        r.file = OpenSearchFileFault::DocumentType;
        return r;
    }
    ComRef<IXMLDOMDocument> doc = NewDocument();
    if (!doc) {
        r.file = OpenSearchFileFault::NoParser;
        return r;
    }
    if (!LoadBytes(doc.get(), bytes.view())) {
        r.file = OpenSearchFileFault::NotXml;
        ComRef<IXMLDOMParseError> error;
        if (SUCCEEDED(doc->get_parseError(error.put())) && error) error->get_line(&r.line);
        return r;
    }
    ComRef<IXMLDOMElement> root;
    // The document element, after whatever comments and processing instructions come first.
    if (doc->get_documentElement(root.put()) != S_OK || !root ||
        !(HasBaseName(root.get(), L"OpenSearchDescription") ||
          (HasBaseName(root.get(), L"SearchPlugin") &&
           HasNamespace(root.get(), kPluginNamespace)))) {
        r.file = OpenSearchFileFault::NotOpenSearch;
        return r;
    }
    std::unique_ptr<OpenSearchDescription> d(new (std::nothrow) OpenSearchDescription);
    if (!d) {
        r.file = OpenSearchFileFault::Open;
        return r;
    }
    Collect(root.get(), *d);
    r.content = EntryFromOpenSearch(*d, entry, r.detail);
    if (r.content != OpenSearchFault::None)
        r.file = OpenSearchFileFault::Content;
    else
        ExtrasFromOpenSearch(*d, r.extras);
    return r;
}

namespace {

// Why the file was refused, after the file's name.
void ReadFault(const OpenSearchRead& r, TextBuffer& message) {
    switch (r.file) {
    case OpenSearchFileFault::Open:
        message.Append("ファイルを読み込めません。");
        break;
    case OpenSearchFileFault::TooLarge:
        message.Append("ファイルが大きすぎます (256 KB まで)。");
        break;
    case OpenSearchFileFault::DocumentType:
        message.Append("DTD を含むファイルは読み込みません。");
        break;
    case OpenSearchFileFault::NotXml:
        if (r.line > 0) {
            char text[64];
            wsprintfA(text, "XML として正しくありません (%ld 行目)。", r.line);
            message.Append(text);
        } else {
            message.Append("XML として正しくありません。");
        }
        break;
    case OpenSearchFileFault::NoParser:
        message.Append("XML パーサ (MSXML) を使えません。");
        break;
    case OpenSearchFileFault::NotOpenSearch:
        message.Append("OpenSearch 記述ではありません。");
        break;
    case OpenSearchFileFault::Content:
        message.Append(ContentReason(r.content));
        if (r.content == OpenSearchFault::NeedsParameter) {
            message.Append('{');
            AppendShown(message, r.detail);
            message.Append('}');
        } else if (r.content == OpenSearchFault::Encoding) {
            AppendShown(message, r.detail);
        }
        break;
    case OpenSearchFileFault::None:
        break;
    }
}

} // namespace

void OpenSearchReadMessage(const wchar_t* path, const OpenSearchRead& r,
                           OpenSearchMessage& message) {
    message.Assign(L"OpenSearch 記述を読み込めません。\n\nファイル名 : ");
    message.Append(View(path));
    message.Append(L'\n');
    FixedText<512> fault;
    ReadFault(r, fault);
    AppendSjis(message, fault.view());
}

OpenSearchWrite WriteOpenSearchFile(const wchar_t* path, const EngineEntry& entry,
                                    const EngineExtras& extras) {
    std::unique_ptr<DescriptionBuffer> text(new (std::nothrow) DescriptionBuffer);
    bool describable = true;
    if (!text || !DescriptionText(entry, extras, *text, describable))
        return describable ? OpenSearchWrite::Failed : OpenSearchWrite::NotDescribable;
    // Written beside the target and put in its place only when complete.
    return ReplaceFileSafely(path, L"osd", WriteText, text.get()) ? OpenSearchWrite::Written
                                                                  : OpenSearchWrite::Failed;
}
