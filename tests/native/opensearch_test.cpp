// OpenSearch values as engine entries and back: the template split, the parameters, the
// encodings, the short name and each rejection.
#include "engines/opensearch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"

namespace {

using Params = std::vector<std::pair<std::string, std::string>>;

struct UrlSpec {
    std::string type, method, rel, templ;
    Params params = {};
};

struct Description {
    std::string name = "Example";
    std::vector<UrlSpec> urls;
    std::vector<std::string> encodings;

    // As the reader fills it.
    std::unique_ptr<OpenSearchDescription> Make() const {
        auto d = std::make_unique<OpenSearchDescription>();
        d->shortName.Assign(name);
        for (const UrlSpec& u : urls) {
            OpenSearchUrl* url = d->AddUrl();
            url->type.Assign(u.type);
            url->method.Assign(u.method);
            url->rel.Assign(u.rel);
            url->templ.Assign(u.templ);
            for (const auto& p : u.params)
                url->AddParam(p.first, p.second);
        }
        for (const std::string& e : encodings)
            d->AddEncoding()->Assign(e);
        return d;
    }
    OpenSearchFault Entry(EngineEntry& e, OpenSearchDetail& detail) const {
        return EntryFromOpenSearch(*Make(), e, detail);
    }
};

Description Describe(const std::string& templ, const char* encoding = nullptr,
                     const char* name = "Example") {
    Description d;
    d.name = name;
    d.urls.push_back({"text/html", "get", "", templ});
    if (encoding) d.encodings.push_back(encoding);
    return d;
}

using Head = FixedText<kHeadSize>;
using Tail = FixedText<kTailSize>;

} // namespace

TEST(OpenSearch, TemplateSplitsAtSearchTerms) {
    struct Case {
        const char* templ;
        OpenSearchFault fault;
        const char* head;
        const char* tail;
    } cases[] = {
        {"http://example.com/search?q={searchTerms}", OpenSearchFault::None,
         "example.com/search?q=", ""},
        {"HTTPS://example.com/?q={searchTerms}&src=os", OpenSearchFault::None,
         "https://example.com/?q=", "&src=os"},
        {"  http://example.com/{searchTerms}.html\r\n", OpenSearchFault::None, "example.com/",
         ".html"},
        // Optional parameters go with their pairs; required ones get their usual values.
        {"http://e.com/s?q={searchTerms}&start={startIndex?}&hl={language?}&n={count}",
         OpenSearchFault::None, "e.com/s?q=", "&n=20"},
        {"http://e.com/s?p={startPage}&q={searchTerms}&ie={inputEncoding}&oe={outputEncoding}",
         OpenSearchFault::None, "e.com/s?p=1&q=", "&ie=Shift_JIS&oe=UTF-8"},
        {"http://e.com/s?{geo:box?}q={searchTerms}&lang={language}", OpenSearchFault::None,
         "e.com/s?q=", "&lang=*"},
        {"http://e.com/{startIndex?}/s?q={searchTerms}#top", OpenSearchFault::None,
         "e.com//s?q=", "#top"},
        // Whatever cannot stand in a URL is percent-encoded, UTF-8 bytes and stray braces too.
        // (UTF-8 bytes written out: the test's own literals are Shift-JIS.)
        {"http://e.com/\xE6\xA4\x9C\xE7\xB4\xA2?a b={searchTerms}&x={y", OpenSearchFault::None,
         "e.com/%E6%A4%9C%E7%B4%A2?a%20b=", "&x=%7By"},
        {"http://e.com/?q={searchTerms}&c=\x01\x02", OpenSearchFault::None,
         "e.com/?q=", "&c=%01%02"},
        {"http://e.com/?q={searchTerms?}", OpenSearchFault::None, "e.com/?q=", ""},
        {"http://e.com/?q=", OpenSearchFault::NoSearchTerms, "", ""},
        {"http://e.com/?q={searchterms}", OpenSearchFault::NeedsParameter, "", ""},
        {"http://e.com/?q={searchTerms}&r={searchTerms}", OpenSearchFault::TwoSearchTerms, "", ""},
        {"http://e.com/?q={searchTerms}&u={user}", OpenSearchFault::NeedsParameter, "", ""},
        {"http://e.com/?q={searchTerms}&g={geo:box}", OpenSearchFault::NeedsParameter, "", ""},
        {"ftp://e.com/?q={searchTerms}", OpenSearchFault::Scheme, "", ""},
        {"javascript:alert({searchTerms})", OpenSearchFault::Scheme, "", ""},
        {"/search?q={searchTerms}", OpenSearchFault::Scheme, "", ""},
        {"http://{searchTerms}.example.com/", OpenSearchFault::Scheme, "", ""},
        {"https://{searchTerms}", OpenSearchFault::Scheme, "", ""},
    };
    for (const Case& c : cases) {
        Head head("x");
        Tail tail("x");
        OpenSearchDetail detail;
        EXPECT_EQ(SplitOpenSearchTemplate(c.templ, "Shift_JIS", head, tail, detail), c.fault)
            << c.templ;
        EXPECT_EQ(head, c.head) << c.templ;
        EXPECT_EQ(tail, c.tail) << c.templ;
    }
    Head head;
    Tail tail;
    OpenSearchDetail detail;
    SplitOpenSearchTemplate("http://e.com/?q={searchTerms}&g={geo:box}", "", head, tail, detail);
    EXPECT_EQ(detail, "geo:box");

    // The fields' limits: 255 bytes of head, 255 of tail.
    const std::string h254 = "http://" + std::string(254, 'h');
    EXPECT_EQ(SplitOpenSearchTemplate(h254 + "{searchTerms}" + std::string(255, 't'), "", head,
                                      tail, detail),
              OpenSearchFault::None);
    EXPECT_EQ(head.size(), 254u);
    EXPECT_EQ(SplitOpenSearchTemplate(h254 + "hh{searchTerms}", "", head, tail, detail),
              OpenSearchFault::TooLong);
    EXPECT_EQ(SplitOpenSearchTemplate(h254 + "{searchTerms}" + std::string(256, 't'), "", head,
                                      tail, detail),
              OpenSearchFault::TooLong);
    EXPECT_EQ(SplitOpenSearchTemplate("http://e/?q={searchTerms}" + std::string(100000, 'a'), "",
                                      head, tail, detail),
              OpenSearchFault::TooLong);
    // A character takes nine bytes once encoded: 30 of them overrun the head.
    std::string wide;
    for (int i = 0; i < 30; ++i)
        wide += "\xE3\x81\x82";
    EXPECT_EQ(SplitOpenSearchTemplate("http://e/" + wide + "{searchTerms}", "", head, tail, detail),
              OpenSearchFault::TooLong);
}

// Param children: their pairs go after the template as a browser appends them, and their
// values are templates too.
TEST(OpenSearch, ParamsMakeTheQuery) {
    const std::string ken = "\xE6\xA4\x9C"; // a character written as it is (UTF-8)
    const struct Case {
        std::string templ;
        Params params;
        OpenSearchFault fault;
        std::string head, tail;
    } cases[] = {
        {"https://s.example/search",
         {{"q", "{searchTerms}"}, {"ie", "UTF-8"}},
         OpenSearchFault::None,
         "https://s.example/search?q=",
         "&ie=UTF-8"},
        {"http://s.example/s?src=os ",
         {{"q", "{searchTerms}"}},
         OpenSearchFault::None,
         "s.example/s?src=os&q=",
         ""},
        // A "?" of an optional parameter is no query; an empty query gains no empty pair.
        {"http://s.example/s{startPage?}",
         {{"q", "{searchTerms}"}},
         OpenSearchFault::None,
         "s.example/s?q=",
         ""},
        {"http://s.example/s?",
         {{"q", "{searchTerms}"}, {"n", "{count}"}},
         OpenSearchFault::None,
         "s.example/s?q=",
         "&n=20"},
        {"http://s.example/" + ken,
         {{"q", "{searchTerms}"}, {"t", ken + " x"}},
         OpenSearchFault::None,
         "s.example/%E6%A4%9C?q=",
         "&t=%E6%A4%9C%20x"},
        // Names are never parameters; pairs without a name are left out.
        {"http://s.example/",
         {{"{searchTerms}", "a"}, {"", "b"}, {"q", "{searchTerms}"}},
         OpenSearchFault::None,
         "s.example/?%7BsearchTerms%7D=a&q=",
         ""},
        {"http://s.example/?q={searchTerms}",
         {{"ie", "{inputEncoding}"}},
         OpenSearchFault::None,
         "s.example/?q=",
         "&ie=UTF-8"},
        {"http://s.example/?q={searchTerms}",
         {{"r", "{searchTerms}"}},
         OpenSearchFault::TwoSearchTerms,
         "",
         ""},
        {"http://s.example/",
         {{"q", "{searchTerms}"}, {"u", "{user}"}},
         OpenSearchFault::NeedsParameter,
         "",
         ""},
        {"http://s.example/", {{"q", "searchTerms"}}, OpenSearchFault::NoSearchTerms, "", ""},
        {"http://s.example/" + std::string(4070, 'p'),
         {{"q", "{searchTerms}"}, {"v", "1"}},
         OpenSearchFault::TooLong,
         "",
         ""},
        {"http://s.example/",
         {{"q", "{searchTerms}"}, {"v", std::string(5000, 'v')}},
         OpenSearchFault::TooLong,
         "",
         ""},
    };
    for (const Case& c : cases) {
        Description d;
        // The first Url's pairs are not the chosen one's.
        d.urls = {{"application/x-suggestions+json", "", "", "http://j/", {{"j", "{searchTerms}"}}},
                  {"text/html", "", "", c.templ, c.params}};
        EngineEntry e;
        OpenSearchDetail detail;
        EXPECT_EQ(d.Entry(e, detail), c.fault) << c.templ;
        EXPECT_EQ(FieldText(e.head[0]), c.head) << c.templ;
        EXPECT_EQ(FieldText(e.tail[0]), c.tail) << c.templ;
    }
}

TEST(OpenSearch, DescriptionBecomesEntry) {
    EngineEntry e;
    OpenSearchDetail detail;
    Description d = Describe("http://e.com/?q={searchTerms}", "EUC-JP", " 例\tサイト ");
    ASSERT_EQ(d.Entry(e, detail), OpenSearchFault::None);
    EXPECT_EQ(FieldText(e.Name), "例 サイト");
    EXPECT_EQ(e.Character, kCharEuc);
    EXPECT_EQ(FieldText(e.head[0]), "e.com/?q=");
    EXPECT_EQ(FieldText(e.key[0]), "+");
    EXPECT_EQ(FieldText(e.tail[0]), "");
    EXPECT_FALSE(HasUrl2(e));
    EXPECT_EQ(e.UrlMode, 0);

    // Encodings: the first known one counts; none given means UTF-8; unknown names fail.
    struct Enc {
        std::vector<std::string> names;
        OpenSearchFault fault;
        uint8_t character;
    } encs[] = {
        {{}, OpenSearchFault::None, kCharUtf8},
        {{"shift_jis"}, OpenSearchFault::None, kCharShiftJis},
        {{"Windows-31J"}, OpenSearchFault::None, kCharShiftJis},
        {{"CP932"}, OpenSearchFault::None, kCharShiftJis},
        {{"utf-8"}, OpenSearchFault::None, kCharUtf8},
        {{"ISO-2022-JP", "EUC-JP"}, OpenSearchFault::None, kCharEuc},
        {{"ISO-8859-1"}, OpenSearchFault::Encoding, 0},
        {{" UTF-16 ", "GB2312"}, OpenSearchFault::Encoding, 0},
    };
    for (const Enc& k : encs) {
        d = Describe("http://e.com/?q={searchTerms}&ie={inputEncoding}");
        d.encodings = k.names;
        EXPECT_EQ(d.Entry(e, detail), k.fault);
        EXPECT_EQ(e.Character, k.character);
    }
    EXPECT_EQ(detail, "UTF-16");
    d.encodings = {"ISO-2022-JP", "EUC-JP"};
    ASSERT_EQ(d.Entry(e, detail), OpenSearchFault::None);
    EXPECT_EQ(FieldText(e.tail[0]), "&ie=EUC-JP");

    // The Url: text/html results by GET, the first of them; POST only and none rejected.
    d = Describe("http://a/?q={searchTerms}");
    d.urls.insert(d.urls.begin(),
                  {"application/x-suggestions+json", "", "", "http://s/{searchTerms}"});
    d.urls.insert(d.urls.begin(), {"text/html", "post", "", "http://p/{searchTerms}"});
    d.urls.insert(d.urls.begin(), {"text/html", "", "suggestions", "http://r/{searchTerms}"});
    d.urls.push_back({"TEXT/HTML; charset=UTF-8", "GET", "results", "http://b/?q={searchTerms}"});
    ASSERT_EQ(d.Entry(e, detail), OpenSearchFault::None);
    EXPECT_EQ(FieldText(e.head[0]), "a/?q=");
    d.urls.erase(d.urls.begin() + 3);
    d.urls.back().method = "get";
    d.urls.back().rel = "self results";
    ASSERT_EQ(d.Entry(e, detail), OpenSearchFault::None);
    EXPECT_EQ(FieldText(e.head[0]), "b/?q=");
    d.urls.pop_back();
    EXPECT_EQ(d.Entry(e, detail), OpenSearchFault::PostOnly);
    d.urls.erase(d.urls.begin() + 1);
    EXPECT_EQ(d.Entry(e, detail), OpenSearchFault::NoHtmlUrl);
    EXPECT_EQ(FieldText(e.Name), ""); // nothing of a rejected description stays

    // Names: cut to 27 bytes at a character boundary; blank or missing rejected.
    d = Describe("http://a/?q={searchTerms}", nullptr, "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x82\xa0");
    ASSERT_EQ(d.Entry(e, detail), OpenSearchFault::None);
    EXPECT_EQ(FieldText(e.Name), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    d.name = "ABCDEFGHIJKLMNOPQRSTUVWXY\x82\xa0";
    ASSERT_EQ(d.Entry(e, detail), OpenSearchFault::None);
    EXPECT_EQ(FieldText(e.Name).size(), 27u);
    d.name = " \t ";
    EXPECT_EQ(d.Entry(e, detail), OpenSearchFault::NoShortName);
    EXPECT_EQ(CutShiftJis("\x83\x5C\x83", 3), "\x83\x5C");
    EXPECT_EQ(CutShiftJis("ab\x83", 10), "ab");
}

TEST(OpenSearch, EntryExportsAndImportsBack) {
    EngineEntry e = {};
    CopyToField(e.Name, std::string("サンプル{検索}"));
    CopyToField(e.head[0], std::string("www.example.jp/s?q="));
    CopyToField(e.key[0], std::string("+"));
    CopyToField(e.tail[0], std::string("&t={x}"));
    struct Case {
        uint8_t character;
        const char* encoding;
    } cases[] = {{0, "Shift_JIS"}, {1, "EUC-JP"}, {2, "Shift_JIS"}, {3, "UTF-8"}};
    for (const Case& c : cases) {
        e.Character = c.character;
        OpenSearchExport x;
        ASSERT_TRUE(OpenSearchFromEntry(e, x));
        EXPECT_EQ(x.templ, "http://www.example.jp/s?q={searchTerms}&t=%7Bx%7D");
        EXPECT_STREQ(x.inputEncoding, c.encoding);
        EXPECT_EQ(x.shortName, "サンプル{検索}");
        Description d = Describe(std::string(x.templ), x.inputEncoding, x.shortName.c_str());
        EngineEntry back;
        OpenSearchDetail detail;
        ASSERT_EQ(d.Entry(back, detail), OpenSearchFault::None);
        EXPECT_EQ(FieldText(back.Name), FieldText(e.Name));
        EXPECT_EQ(FieldText(back.head[0]), FieldText(e.head[0]));
        EXPECT_EQ(FieldText(back.tail[0]), "&t=%7Bx%7D");
        EXPECT_EQ(back.Character, c.character == 2 ? 0 : c.character);
    }
    CopyToField(e.head[0], std::string("HTTPS://secure.example/?q="));
    OpenSearchExport x;
    ASSERT_TRUE(OpenSearchFromEntry(e, x));
    EXPECT_EQ(x.templ, "HTTPS://secure.example/?q={searchTerms}&t=%7Bx%7D");
    CopyToField(e.head[0], std::string("\\page.html?q="));
    EXPECT_FALSE(OpenSearchFromEntry(e, x)); // a file of this computer
    // A trail byte 0x7B is not a brace.
    CopyToField(e.head[0], std::string("e/\x83\x7B?q="));
    ASSERT_TRUE(OpenSearchFromEntry(e, x));
    EXPECT_EQ(x.templ.view().substr(0, 14), "http://e/\x83\x7B?q=");
}

// The keyword: taken when it is one, else left out without refusing the description; an
// export carries a keyword only.
TEST(OpenSearch, KeywordGoesBothWays) {
    const struct {
        std::string keyword; // Shift-JIS, as the reader gives it
        const char* taken;
    } cases[] = {
        {"w", "w"},
        {"\x8E\xAB", "\x8E\xAB"}, // 辞
        {"", ""},
        {"a b", ""},
        {std::string(16, 'k'), ""},
    };
    const Description d = Describe("http://a/?q={searchTerms}");
    for (const auto& c : cases) {
        auto desc = d.Make();
        desc->keyword.Assign(c.keyword);
        EngineExtras x;
        std::memset(&x, 0x55, sizeof x);
        ExtrasFromOpenSearch(*desc, x);
        EXPECT_STREQ(x.Keyword, c.taken) << c.keyword;
        EXPECT_STREQ(x.Suggest, "") << c.keyword;
        EngineEntry e;
        OpenSearchDetail detail;
        ASSERT_EQ(EntryFromOpenSearch(*desc, e, detail), OpenSearchFault::None);
        OpenSearchExport out;
        ASSERT_TRUE(OpenSearchFromEntry(e, out, x));
        EXPECT_EQ(out.keyword, c.taken) << c.keyword;
    }
}

// The search Url by its rel: results first (none means results), else a search form, which
// browsers search with too; other roles never.
TEST(OpenSearch, RelChoosesTheSearchUrl) {
    const struct {
        std::vector<UrlSpec> urls;
        OpenSearchFault fault;
        const char* head;
    } cases[] = {
        {{{"text/html", "GET", "searchform", "http://f/?q={searchTerms}"}},
         OpenSearchFault::None,
         "f/?q="},
        {{{"text/html", "", "searchform", "http://f/{searchTerms}"},
          {"text/html", "", "", "http://r/{searchTerms}"}},
         OpenSearchFault::None,
         "r/"},
        {{{"text/html", "", "SearchForm results", "http://f/{searchTerms}"},
          {"text/html", "", "results", "http://r/{searchTerms}"}},
         OpenSearchFault::None,
         "f/"},
        {{{"text/html", "post", "", "http://p/{searchTerms}"},
          {"text/html", "", " searchform\t", "http://f/{searchTerms}"}},
         OpenSearchFault::None,
         "f/"},
        {{{"text/html", "post", "searchform", "http://p/{searchTerms}"}},
         OpenSearchFault::PostOnly,
         ""},
        {{{"text/html", "", "self", "http://s/{searchTerms}"},
          {"text/html", "", "searchforms", "http://x/{searchTerms}"},
          {"application/x-suggestions+json", "", "searchform", "http://j/{searchTerms}"}},
         OpenSearchFault::NoHtmlUrl,
         ""},
    };
    for (const auto& c : cases) {
        Description d;
        d.urls = c.urls;
        EngineEntry e;
        OpenSearchDetail detail;
        EXPECT_EQ(d.Entry(e, detail), c.fault) << c.urls[0].templ;
        EXPECT_EQ(FieldText(e.head[0]), c.head) << c.urls[0].templ;
    }
}

// The suggestion URL: the first GET suggestions Url, taken as a search template is, or none;
// the description is taken either way, and an export writes it back.
TEST(OpenSearch, SuggestionUrlGoesBothWays) {
    const std::string ken = "\xE6\xA4\x9C"; // a character written as it is (UTF-8)
    const std::string json = "application/x-suggestions+json";
    const struct {
        std::vector<UrlSpec> urls;
        std::string suggest;
    } cases[] = {
        {{{json, "", "", "https://s.example/complete?client=x&q={searchTerms}"}},
         "https://s.example/complete?client=x&q={searchTerms}"},
        {{{json + "; charset=UTF-8",
           "GET",
           "suggestions",
           "https://w.example/w/api.php",
           {{"action", "opensearch"}, {"search", "{searchTerms}"}}}},
         "https://w.example/w/api.php?action=opensearch&search={searchTerms}"},
        {{{json, "", "", "http://s/" + ken + "?q={searchTerms}&ie={inputEncoding}&n={count?}"}},
         "http://s/%E6%A4%9C?q={searchTerms}&ie=EUC-JP"},
        {{{json, "post", "", "http://p/?q={searchTerms}"},
          {json, "", "", "http://g/{searchTerms}"}},
         "http://g/{searchTerms}"},
        {{{json, "", "", "http://a/?q="}, {json, "", "", "http://g/{searchTerms}"}}, ""},
        {{{json, "", "", "ftp://s/?q={searchTerms}"}}, ""},
        {{{json, "", "", "http://s/?q={searchTerms}&u={user}"}}, ""},
        {{{json, "", "", "http://s/?q={searchTerms}&" + std::string(240, 'p')},
          {"application/json", "", "", "http://j/{searchTerms}"}},
         "http://s/?q={searchTerms}&" + std::string(240, 'p')},
        {{{json, "", "",
           "http://" + std::string(250, 'h') + "/?q={searchTerms}&" + std::string(250, 't')}},
         ""},
    };
    for (const auto& c : cases) {
        Description d = Describe("http://a/?q={searchTerms}", "EUC-JP");
        d.urls.insert(d.urls.end(), c.urls.begin(), c.urls.end());
        EngineEntry e;
        OpenSearchDetail detail;
        ASSERT_EQ(d.Entry(e, detail), OpenSearchFault::None) << c.urls[0].templ;
        EngineExtras x;
        ExtrasFromOpenSearch(*d.Make(), x);
        EXPECT_EQ(std::string(x.Suggest), c.suggest) << c.urls[0].templ;
        OpenSearchExport out;
        ASSERT_TRUE(OpenSearchFromEntry(e, out, x));
        EXPECT_EQ(out.suggest, c.suggest) << c.urls[0].templ;
    }
    EngineEntry e = {};
    CopyToField(e.head[0], std::string("a/?q="));
    EngineExtras x = {};
    CopyToField(x.Suggest, std::string("http://a/?q="));
    OpenSearchExport out;
    ASSERT_TRUE(OpenSearchFromEntry(e, out, x));
    EXPECT_EQ(out.suggest, ""); // not a suggestion URL: not written
}

TEST(OpenSearch, FileNameFromEngineName) {
    struct Case {
        const char* name;
        const char* file;
    } cases[] = {
        {"Google", "Google"},
        {"a/b:c*d?e\"f<g>h|i\\j", "a_b_c_d_e_f_g_h_i_j"},
        {"\x83\x5C\x83\x74\x83\x67", "\x83\x5C\x83\x74\x83\x67"}, // ソフト: 0x5C stays
        {"name.", "name_"},
        {"", "engine"},
    };
    for (const Case& c : cases) {
        char field[kNameSize] = {};
        CopyBounded(field, sizeof field, c.name);
        FixedText<64> file;
        FileNameFromName(field, sizeof field, file);
        EXPECT_EQ(file, c.file) << c.name;
    }
}

TEST(OpenSearch, DeclarationAndDocumentType) {
    struct Case {
        const char* bytes;
        const char* encoding;
        size_t end;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a/>", "Shift_JIS", 42},
        {"\xEF\xBB\xBF<?xml version='1.0' encoding = 'EUC-JP' ?>\r\n<a/>", "EUC-JP", 45},
        {"<?xml version=\"1.0\"?><a/>", "", 21},
        {"<a/><?xml encoding=\"x\"?>", "", 0},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"", "", 0}, // never closed
        {"<?xml encoding=\"unterminated?>", "", 30},
    };
    for (const Case& c : cases) {
        size_t end = 99;
        EXPECT_EQ(XmlDeclaredEncoding(c.bytes, &end), c.encoding) << c.bytes;
        EXPECT_EQ(end, c.end) << c.bytes;
    }
    EXPECT_EQ(XmlDeclaredEncoding("<?xml encoding=\"" + std::string(100, 'e') + "\"?>").size(),
              40u);

    EXPECT_TRUE(HasDocumentType("<?xml?><!DOCTYPE a>"));
    EXPECT_TRUE(HasDocumentType("<!doctype a [<!ENTITY x SYSTEM \"file:///\">]>"));
    EXPECT_TRUE(HasDocumentType(std::string("\xFE\xFF\0<\0!\0D\0O\0C\0T\0Y\0P\0E", 20)));
    EXPECT_TRUE(HasDocumentType("<<!DOCTYPE"));
    EXPECT_FALSE(HasDocumentType("<a>DOCTYPE <!-- --> <!DOCTYP</a>"));
}
