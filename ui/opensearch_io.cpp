#include "ui/opensearch_io.h"

#include <commdlg.h>
#include <msxml2.h>

#include <cstdio>
#include <vector>

#include "app/handles.h"
#include "app/text.h"
#include "engines/engine_files.h"
#include "ui/editor_window.h"

namespace {

// MSXML 6 where it is installed, else MSXML 3 (which every supported system has).
const CLSID kDomDocument60 = {
    0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
const CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID kIXMLDOMDocument2 = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

const wchar_t kNamespace[] = L"http://a9.com/-/spec/opensearch/1.1/";
const char kFilter[] = "OpenSearch (*.xml)\0*.xml\0";
const char kExtension[] = "xml";
constexpr long kMaxNodes = 1024; // children of the root that are looked at

std::string Narrow(const wchar_t* text, size_t length, UINT codePage) {
    if (!text || length == 0) return "";
    const int n = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), &out[0], n, nullptr,
                            nullptr);
    return out;
}

std::wstring Wide(const std::string& text, UINT codePage) {
    if (text.empty()) return L"";
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

// A BSTR cut to `limit` units before it is converted; `cut` tells whether it was longer.
std::string Value(BSTR text, size_t limit, UINT codePage, bool* cut = nullptr) {
    size_t length = text ? SysStringLen(text) : 0;
    if (cut) *cut = length > limit;
    if (length > limit) length = limit;
    return Narrow(text, length, codePage);
}

UniqueBstr Bstr(const wchar_t* text) {
    return UniqueBstr(SysAllocString(text));
}

ComRef<IXMLDOMDocument> NewDocument() {
    ComRef<IXMLDOMDocument> doc;
    if (FAILED(CoCreateInstance(kDomDocument60, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                doc.put())) &&
        FAILED(CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                doc.put())))
        return ComRef<IXMLDOMDocument>();
    doc->put_async(VARIANT_FALSE);
    doc->put_validateOnParse(VARIANT_FALSE);
    doc->put_resolveExternals(VARIANT_FALSE);
    ComRef<IXMLDOMDocument2> doc2;
    if (SUCCEEDED(doc->QueryInterface(kIXMLDOMDocument2, doc2.put()))) {
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

bool ReadCapped(const char* path, std::string& bytes, bool& tooLarge) {
    tooLarge = false;
    UniqueFile f(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(f.get(), &size)) return false;
    if (size.QuadPart > static_cast<LONGLONG>(kOpenSearchFileLimit)) {
        tooLarge = true;
        return false;
    }
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() &&
        (!ReadFile(f.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) ||
         got != bytes.size()))
        return false;
    return true;
}

// The code page of the Japanese encodings that a declaration may name; 0 for the others,
// which the parser decodes itself (not every parser knows the Japanese ones).
UINT JapaneseCodePage(const std::string& declared) {
    uint8_t character = 0;
    if (declared.empty() || !CharacterFromEncoding(declared, character)) return 0;
    if (character == kCharShiftJis) return 932;
    if (character == kCharEuc) return 20932;
    return 0;
}

// Text decoded here goes to the parser as UTF-16 without its declaration.
bool LoadDecoded(IXMLDOMDocument* doc, const std::string& bytes, size_t declarationEnd,
                 UINT codePage) {
    const std::string body = bytes.substr(declarationEnd);
    const std::wstring text = Wide(body, codePage);
    if (text.empty() && !body.empty()) return false;
    UniqueBstr b(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    VARIANT_BOOL ok = VARIANT_FALSE;
    return b && SUCCEEDED(doc->loadXML(b.get(), &ok)) && ok == VARIANT_TRUE;
}

// The parser reads the bytes itself, so it honours the encoding that the file declares.
bool LoadBytes(IXMLDOMDocument* doc, const std::string& bytes) {
    size_t declarationEnd = 0;
    if (const UINT cp = JapaneseCodePage(XmlDeclaredEncoding(bytes, &declarationEnd)))
        return LoadDecoded(doc, bytes, declarationEnd, cp);
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

std::wstring BaseName(IXMLDOMNode* node) {
    BSTR raw = nullptr;
    if (FAILED(node->get_baseName(&raw))) return L"";
    UniqueBstr name(raw);
    return raw ? std::wstring(raw, SysStringLen(raw)) : L"";
}

std::string NodeText(IXMLDOMNode* node, size_t limit, UINT codePage, bool* cut = nullptr) {
    BSTR raw = nullptr;
    if (FAILED(node->get_text(&raw))) return "";
    UniqueBstr text(raw);
    return Value(raw, limit, codePage, cut);
}

std::string Attribute(IXMLDOMElement* element, const wchar_t* name, size_t limit,
                      bool* cut = nullptr) {
    UniqueBstr n = Bstr(name);
    UniqueVariant v;
    if (element->getAttribute(n.get(), v.get()) != S_OK || V_VT(v.get()) != VT_BSTR) return "";
    return Value(V_BSTR(v.get()), limit, CP_UTF8, cut);
}

// The values of the description's children that make an entry.
void Collect(IXMLDOMElement* root, OpenSearchDescription& d) {
    ComRef<IXMLDOMNodeList> children;
    if (FAILED(root->get_childNodes(reinterpret_cast<IXMLDOMNodeList**>(children.put()))) ||
        !children)
        return;
    long count = 0;
    children->get_length(&count);
    bool haveName = false;
    for (long i = 0; i < count && i < kMaxNodes; ++i) {
        ComRef<IXMLDOMNode> node;
        if (children->get_item(i, reinterpret_cast<IXMLDOMNode**>(node.put())) != S_OK) continue;
        DOMNodeType type = NODE_INVALID;
        node->get_nodeType(&type);
        if (type != NODE_ELEMENT) continue;
        const std::wstring name = BaseName(node.get());
        if (name == L"ShortName" && !haveName) {
            d.shortName = NodeText(node.get(), kOpenSearchTextLimit, 932);
            haveName = true;
        } else if (name == L"InputEncoding" && d.inputEncodings.size() < kOpenSearchElementLimit) {
            d.inputEncodings.push_back(NodeText(node.get(), kOpenSearchTextLimit, CP_UTF8));
        } else if (name == L"Url" && d.urls.size() < kOpenSearchElementLimit) {
            ComRef<IXMLDOMElement> element;
            if (FAILED(node->QueryInterface(IID_IXMLDOMElement, element.put()))) continue;
            OpenSearchUrl u;
            u.type = Attribute(element.get(), L"type", kOpenSearchTextLimit);
            u.method = Attribute(element.get(), L"method", kOpenSearchTextLimit);
            u.rel = Attribute(element.get(), L"rel", kOpenSearchTextLimit);
            u.templ =
                Attribute(element.get(), L"template", kOpenSearchTemplateLimit, &u.templateTooLong);
            d.urls.push_back(std::move(u));
        }
    }
}

// A UTF-8 detail shown in a message, in Shift-JIS.
std::string Shown(const std::string& utf8) {
    const std::wstring w = Wide(utf8, CP_UTF8);
    return Narrow(w.c_str(), w.size(), 932);
}

bool AppendElement(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name,
                   const std::wstring& text, ComRef<IXMLDOMElement>* out = nullptr) {
    UniqueVariant type;
    V_VT(type.get()) = VT_I4;
    V_I4(type.get()) = NODE_ELEMENT;
    UniqueBstr n = Bstr(name), ns = Bstr(kNamespace);
    ComRef<IXMLDOMNode> node;
    if (FAILED(
            doc->createNode(*type, n.get(), ns.get(), reinterpret_cast<IXMLDOMNode**>(node.put()))))
        return false;
    if (!text.empty()) {
        UniqueBstr t(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
        if (FAILED(node->put_text(t.get()))) return false;
    }
    ComRef<IXMLDOMNode> added;
    if (FAILED(parent->appendChild(node.get(), reinterpret_cast<IXMLDOMNode**>(added.put()))))
        return false;
    if (out && FAILED(node->QueryInterface(IID_IXMLDOMElement, out->put()))) return false;
    return true;
}

bool SetAttribute(IXMLDOMElement* element, const wchar_t* name, const std::wstring& value) {
    UniqueBstr n = Bstr(name);
    UniqueVariant v;
    V_VT(v.get()) = VT_BSTR;
    V_BSTR(v.get()) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return SUCCEEDED(element->setAttribute(n.get(), *v));
}

// The description's text: the parser's serialisation of the document, in UTF-8.
bool DescriptionText(const EngineEntry& entry, std::string& text, bool& describable) {
    OpenSearchExport x;
    describable = OpenSearchFromEntry(entry, x);
    if (!describable) return false;
    ComRef<IXMLDOMDocument> doc = NewDocument();
    if (!doc) return false;
    UniqueVariant type;
    V_VT(type.get()) = VT_I4;
    V_I4(type.get()) = NODE_ELEMENT;
    UniqueBstr rootName = Bstr(L"OpenSearchDescription"), ns = Bstr(kNamespace);
    ComRef<IXMLDOMNode> root;
    if (FAILED(doc->createNode(*type, rootName.get(), ns.get(),
                               reinterpret_cast<IXMLDOMNode**>(root.put()))))
        return false;
    ComRef<IXMLDOMNode> added;
    if (FAILED(doc->appendChild(root.get(), reinterpret_cast<IXMLDOMNode**>(added.put()))))
        return false;
    const std::wstring name = Wide(x.shortName, 932);
    ComRef<IXMLDOMElement> url;
    if (!AppendElement(doc.get(), root.get(), L"ShortName", name) ||
        !AppendElement(doc.get(), root.get(), L"Description", name) ||
        !AppendElement(doc.get(), root.get(), L"InputEncoding", Wide(x.inputEncoding, CP_UTF8)) ||
        !AppendElement(doc.get(), root.get(), L"Url", L"", &url) ||
        !SetAttribute(url.get(), L"type", L"text/html") ||
        !SetAttribute(url.get(), L"method", L"get") ||
        !SetAttribute(url.get(), L"template", Wide(x.templ, 932)))
        return false;
    BSTR raw = nullptr;
    if (FAILED(root->get_xml(&raw)) || !raw) return false;
    UniqueBstr xml(raw);
    text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" +
           Narrow(raw, SysStringLen(raw), CP_UTF8) + "\r\n";
    return true;
}

bool WriteWhole(const char* path, const std::string& text) {
    UniqueFile f(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!f) return false;
    DWORD written = 0;
    return WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size() && FlushFileBuffers(f.get());
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

// Runs a command with the thread in a COM apartment; a failure to enter says so.
template <typename F> void WithCom(EditorState& s, F f) {
    ComApartment com;
    if (!com.Enter()) {
        EditorMessage(s, "COM の初期化に失敗しました。", MB_OK | MB_ICONERROR);
        return;
    }
    f();
}

} // namespace

OpenSearchRead ReadOpenSearchFile(const char* path, EngineEntry& entry) {
    entry = EngineEntry{};
    OpenSearchRead r;
    std::string bytes;
    bool tooLarge = false;
    if (!ReadCapped(path, bytes, tooLarge)) {
        r.file = tooLarge ? OpenSearchFileFault::TooLarge : OpenSearchFileFault::Open;
        return r;
    }
    if (HasDocumentType(bytes)) {
        r.file = OpenSearchFileFault::DocumentType;
        return r;
    }
    ComRef<IXMLDOMDocument> doc = NewDocument();
    if (!doc) {
        r.file = OpenSearchFileFault::NoParser;
        return r;
    }
    if (!LoadBytes(doc.get(), bytes)) {
        r.file = OpenSearchFileFault::NotXml;
        ComRef<IXMLDOMParseError> error;
        if (SUCCEEDED(doc->get_parseError(reinterpret_cast<IXMLDOMParseError**>(error.put()))) &&
            error)
            error->get_line(&r.line);
        return r;
    }
    ComRef<IXMLDOMElement> root;
    if (doc->get_documentElement(reinterpret_cast<IXMLDOMElement**>(root.put())) != S_OK || !root ||
        BaseName(root.get()) != L"OpenSearchDescription") {
        r.file = OpenSearchFileFault::NotOpenSearch;
        return r;
    }
    OpenSearchDescription d;
    Collect(root.get(), d);
    r.content = EntryFromOpenSearch(d, entry, r.detail);
    if (r.content != OpenSearchFault::None) r.file = OpenSearchFileFault::Content;
    return r;
}

std::string OpenSearchReadMessage(const char* path, const OpenSearchRead& r) {
    std::string reason;
    switch (r.file) {
    case OpenSearchFileFault::Open:
        reason = "ファイルを読み込めません。";
        break;
    case OpenSearchFileFault::TooLarge:
        reason = "ファイルが大きすぎます (256 KB まで)。";
        break;
    case OpenSearchFileFault::DocumentType:
        reason = "DTD を含むファイルは読み込みません。";
        break;
    case OpenSearchFileFault::NotXml: {
        char text[64];
        if (r.line > 0)
            std::snprintf(text, sizeof text, "XML として正しくありません (%ld 行目)。", r.line);
        else
            std::snprintf(text, sizeof text, "XML として正しくありません。");
        reason = text;
        break;
    }
    case OpenSearchFileFault::NoParser:
        reason = "XML パーサ (MSXML) を使えません。";
        break;
    case OpenSearchFileFault::NotOpenSearch:
        reason = "OpenSearch 記述ではありません。";
        break;
    case OpenSearchFileFault::Content:
        reason = ContentReason(r.content);
        if (r.content == OpenSearchFault::NeedsParameter)
            reason += "{" + Shown(r.detail) + "}";
        else if (r.content == OpenSearchFault::Encoding)
            reason += Shown(r.detail);
        break;
    case OpenSearchFileFault::None:
        break;
    }
    return std::string("OpenSearch 記述を読み込めません。\n\nファイル名 : ") + path + "\n" + reason;
}

OpenSearchWrite WriteOpenSearchFile(const char* path, const EngineEntry& entry) {
    std::string text;
    bool describable = true;
    if (!DescriptionText(entry, text, describable))
        return describable ? OpenSearchWrite::Failed : OpenSearchWrite::NotDescribable;
    // Written beside the target and put in its place only when complete.
    char dir[MAX_PATH];
    CopyBounded(dir, sizeof dir, path);
    if (!TrimToDirectory(dir)) CopyBounded(dir, sizeof dir, ".\\");
    char temp[MAX_PATH];
    if (IsReadOnlyFile(path) || GetTempFileNameA(dir, "osd", 0, temp) == 0)
        return OpenSearchWrite::Failed;
    if (!WriteWhole(temp, text) ||
        !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp);
        return OpenSearchWrite::Failed;
    }
    return OpenSearchWrite::Written;
}

ImportResult ImportOpenSearchFile(EditorState& s, const char* path) {
    if (s.work.count >= kMaxEngines) {
        EditorMessage(s, kEntryLimitMessage, MB_OK | MB_ICONWARNING);
        return ImportResult::Full;
    }
    ImportResult result = ImportResult::Rejected;
    WithCom(s, [&] {
        EngineEntry e;
        const OpenSearchRead r = ReadOpenSearchFile(path, e);
        if (r.file != OpenSearchFileFault::None) {
            EditorMessage(s, OpenSearchReadMessage(path, r).c_str(), MB_OK | MB_ICONWARNING);
            return;
        }
        AppendEntry(s, e);
        result = ImportResult::Added;
    });
    return result;
}

void ImportOpenSearchCommand(EditorState& s) {
    if (s.work.count >= kMaxEngines) {
        EditorMessage(s, kEntryLimitMessage, MB_OK | MB_ICONWARNING);
        return;
    }
    char path[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = s.window;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrDefExt = kExtension;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return;
    path[sizeof path - 1] = '\0';
    if (ImportOpenSearchFile(s, path) == ImportResult::Added) SelectEntry(s, s.work.count - 1);
}

void ExportOpenSearchCommand(EditorState& s) {
    const int sel = SelectedEntry(s);
    if (sel < 0 || sel >= s.work.count) return;
    const EngineEntry& e = s.work.entries[sel];
    OpenSearchExport x;
    if (!OpenSearchFromEntry(e, x)) {
        EditorMessage(s, "ファイルを開く検索エンジンは OpenSearch 記述にできません。",
                      MB_OK | MB_ICONWARNING);
        return;
    }
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s.xml", FileNameFromName(e.Name, sizeof e.Name).c_str());
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = s.window;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrDefExt = kExtension;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&ofn)) return;
    path[sizeof path - 1] = '\0';
    WithCom(s, [&] {
        if (WriteOpenSearchFile(path, e) != OpenSearchWrite::Written) {
            char text[MAX_PATH + 64];
            std::snprintf(text, sizeof text,
                          "OpenSearch 書き出しに失敗しました。\n\nファイル名 : %s", path);
            EditorMessage(s, text, MB_OK | MB_ICONERROR);
        }
    });
}
