// OpenSearch descriptions through the system's XML parser: the fixtures in the forms that
// sites publish and that browsers keep, each kind of malformed or hostile file, and the
// export read back.
#include "platform/opensearch_xml.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/text.h"
#include "base/wide_text.h"
#include "platform/handles.h"
#include "query/compose.h"
#include "tests/support/text.h"
#include "tests/support//file_text.h"
#include "tests/support/temp_dir.h"

namespace {

std::string Fixture(const char* name) {
    return std::string(MORVEL_FIXTURE_DIR) + "/opensearch/" + name;
}

// The message as the program shows it, in Shift-JIS for the comparisons.
std::string Message(const char* path, const OpenSearchRead& r) {
    OpenSearchMessage text;
    OpenSearchReadMessage(Widen(path).c_str(), r, text);
    return Narrow(std::wstring(text.view()));
}

class OpenSearchFiles : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(com.Enter()); }
    ComApartment com;
    TempDir dir;
};

} // namespace

TEST_F(OpenSearchFiles, PublishedFormsAndRejections) {
    const struct {
        const char* file;
        OpenSearchFileFault fault;
        OpenSearchFault content;
        const char* name;
        uint8_t character;
        const char* head;
        const char* tail;
    } cases[] = {
        {"wiki-utf8.xml", OpenSearchFileFault::None, OpenSearchFault::None, "ウィキ百科 (ja)", 3,
         "https://ja.wiki.example.org/w/index.php?title=%E7%89%B9%E5%88%A5:%E6%A4%9C%E7%B4%A2&"
         "search=",
         ""},
        {"shop-sjis.xml", OpenSearchFileFault::None, OpenSearchFault::None, "価格比較サーチ", 0,
         "search.shop.example.jp/search.asp?kw=", "&cat=0"},
        {"news-optional.xml", OpenSearchFileFault::None, OpenSearchFault::None, "ニュース速報", 1,
         "news.example.jp/search?q=", "&ie=EUC-JP&fmt=html"},
        {"unclosed.xml", OpenSearchFileFault::NotXml, OpenSearchFault::None, "", 0, "", ""},
        {"twice.xml", OpenSearchFileFault::Content, OpenSearchFault::TwoSearchTerms, "", 0, "", ""},
        {"post-only.xml", OpenSearchFileFault::Content, OpenSearchFault::PostOnly, "", 0, "", ""},
        {"latin1.xml", OpenSearchFileFault::Content, OpenSearchFault::Encoding, "", 0, "", ""},
        {"bomb.xml", OpenSearchFileFault::DocumentType, OpenSearchFault::None, "", 0, "", ""},
        {"external-entity.xml", OpenSearchFileFault::DocumentType, OpenSearchFault::None, "", 0, "",
         ""},
        {"rss-feed.xml", OpenSearchFileFault::NotOpenSearch, OpenSearchFault::None, "", 0, "", ""},
        {"missing.xml", OpenSearchFileFault::Open, OpenSearchFault::None, "", 0, "", ""},
    };
    for (const auto& c : cases) {
        EngineEntry e;
        const OpenSearchRead r = ReadOpenSearchFile(Widen(Fixture(c.file)).c_str(), e);
        EXPECT_EQ(r.file, c.fault) << c.file;
        EXPECT_EQ(r.content, c.content) << c.file;
        EXPECT_EQ(FieldText(e.Name), c.name) << c.file;
        EXPECT_EQ(e.Character, c.character) << c.file;
        EXPECT_EQ(FieldText(e.head[0]), c.head) << c.file;
        EXPECT_EQ(FieldText(e.key[0]), c.fault == OpenSearchFileFault::None ? "+" : "") << c.file;
        EXPECT_EQ(FieldText(e.tail[0]), c.tail) << c.file;
        EXPECT_FALSE(HasUrl2(e)) << c.file;
    }

    EngineEntry e;
    OpenSearchRead r = ReadOpenSearchFile(Widen(Fixture("latin1.xml")).c_str(), e);
    EXPECT_EQ(Message("C:\\d\\latin1.xml", r),
              "OpenSearch 記述を読み込めません。\n\nファイル名 : C:\\d\\latin1.xml\n"
              "対応していない文字コードです : ISO-8859-1");
    r = ReadOpenSearchFile(Widen(Fixture("unclosed.xml")).c_str(), e);
    EXPECT_EQ(Message("u.xml", r)
                  .rfind("OpenSearch 記述を読み込めません。\n\nファイル名 : u.xml\nXML "
                         "として正しくありません",
                         0),
              0u);

    // Written here: a 100 KB template, a file over the size cap, a document type in UTF-16,
    // a description in UTF-16 with its byte order mark.
    const std::string head = "<?xml version=\"1.0\"?>\r\n<OpenSearchDescription "
                             "xmlns=\"http://a9.com/-/spec/opensearch/1.1/\"><ShortName>L"
                             "</ShortName><Url type=\"text/html\" template=\"http://l.example/";
    ASSERT_TRUE(
        WriteFileText(dir / "long.xml", head + std::string(100 * 1024, 'a') +
                                            "?q={searchTerms}\"/></OpenSearchDescription>"));
    r = ReadOpenSearchFile(Widen(dir / "long.xml").c_str(), e);
    EXPECT_EQ(r.content, OpenSearchFault::TooLong);
    ASSERT_TRUE(WriteFileText(dir / "big.xml", head + "?q={searchTerms}\"/>" +
                                                   std::string(300 * 1024, ' ') +
                                                   "</OpenSearchDescription>"));
    EXPECT_EQ(ReadOpenSearchFile(Widen(dir / "big.xml").c_str(), e).file,
              OpenSearchFileFault::TooLarge);
    auto utf16 = [](const char* ascii) {
        std::string out = "\xFF\xFE";
        for (const char* p = ascii; *p; ++p) {
            out += *p;
            out += '\0';
        }
        return out;
    };
    ASSERT_TRUE(WriteFileText(
        dir / "dtd16.xml", utf16("<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"b\">]><x/>")));
    EXPECT_EQ(ReadOpenSearchFile(Widen(dir / "dtd16.xml").c_str(), e).file,
              OpenSearchFileFault::DocumentType);
    ASSERT_TRUE(WriteFileText(
        dir / "u16.xml",
        utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><OpenSearchDescription><ShortName>W"
              "</ShortName><Url type=\"text/html\" template=\"http://w.example/{searchTerms}\"/>"
              "</OpenSearchDescription>")));
    r = ReadOpenSearchFile(Widen(dir / "u16.xml").c_str(), e);
    EXPECT_EQ(r.file, OpenSearchFileFault::None);
    EXPECT_EQ(FieldText(e.head[0]), "w.example/");
}

TEST_F(OpenSearchFiles, ExportReadsBackAsTheSameEntry) {
    EngineEntry e = {};
    CopyToField(e.Name, std::string("辞書 & <検索>"));
    CopyToField(e.head[0], std::string("dict.example.jp/s?q="));
    CopyToField(e.key[0], std::string("+"));
    CopyToField(e.tail[0], std::string("&mode=all"));
    EngineEntry back;
    for (uint8_t character : {0, 1, 3}) {
        e.Character = character;
        const std::string path = dir / "out.xml";
        ASSERT_EQ(WriteOpenSearchFile(Widen(path).c_str(), e), OpenSearchWrite::Written);
        const std::string text = ReadFileText(path);
        EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
        EXPECT_NE(text.find("xmlns=\"http://a9.com/-/spec/opensearch/1.1/\""), std::string::npos);
        EXPECT_NE(text.find("http://dict.example.jp/s?q={searchTerms}&amp;mode="),
                  std::string::npos);
        EXPECT_NE(text.find("\xE8\xBE\x9E\xE6\x9B\xB8 &amp; &lt;"), std::string::npos); // 辞書
        EXPECT_EQ(text.find("morvel"), std::string::npos); // no keyword, no element
        const OpenSearchRead r = ReadOpenSearchFile(Widen(path).c_str(), back);
        ASSERT_EQ(r.file, OpenSearchFileFault::None) << int(r.content);
        EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0) << int(character);
    }
    // With a keyword: Morvel's element, its namespace declared on the root, and read back;
    // with a suggestion URL: a suggestions Url.
    EngineExtras keyword = {};
    CopyToField(keyword.Keyword, std::string("辞"));
    CopyToField(keyword.Suggest, std::string("https://dict.example.jp/c?q={searchTerms}&n=1"));
    ASSERT_EQ(WriteOpenSearchFile(Widen(dir / "k.xml").c_str(), e, keyword),
              OpenSearchWrite::Written);
    const std::string text = ReadFileText(dir / "k.xml");
    EXPECT_NE(text.find("<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\" "
                        "xmlns:morvel=\"urn:x-morvel:opensearch\">"),
              std::string::npos)
        << text;
    // (The parser may declare it again on the element itself, as it does for the others.)
    EXPECT_NE(text.find("<morvel:Keyword"), std::string::npos) << text;
    EXPECT_NE(text.find(">\xE8\xBE\x9E</morvel:Keyword>"), std::string::npos) << text;
    EXPECT_NE(text.find("type=\"application/x-suggestions+json\" method=\"get\" "
                        "template=\"https://dict.example.jp/c?q={searchTerms}&amp;n=1\""),
              std::string::npos)
        << text;
    OpenSearchRead r = ReadOpenSearchFile(Widen(dir / "k.xml").c_str(), back);
    ASSERT_EQ(r.file, OpenSearchFileFault::None);
    EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0);
    EXPECT_STREQ(r.extras.Keyword, "辞");
    EXPECT_STREQ(r.extras.Suggest, keyword.Suggest);
    // The keyword is found by its namespace, whatever the prefix; one that Shift-JIS cannot
    // say or that cannot be a keyword is left out, and the description is still taken.
    const struct {
        const char* element;
        const char* keyword;
    } keywords[] = {
        {"<k:Keyword xmlns:k=\"urn:x-morvel:opensearch\">yt</k:Keyword>", "yt"},
        {"<Keyword xmlns=\"urn:x-morvel:opensearch\">\xE8\xBE\x9E</Keyword>", "辞"},
        {"<morvel:Keyword xmlns:morvel=\"urn:x-other\">w</morvel:Keyword>", ""},
        {"<Keyword>w</Keyword>", ""}, // the description's own namespace
        {"<m:Keyword xmlns:m=\"urn:x-morvel:opensearch\">\xC3\xAB</m:Keyword>", ""}, // ë
        {"<m:Keyword xmlns:m=\"urn:x-morvel:opensearch\">a b</m:Keyword>", ""},
    };
    for (const auto& k : keywords) {
        ASSERT_TRUE(WriteFileText(dir / "kw.xml",
                                  "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/"
                                  "1.1/\"><ShortName>K</ShortName>" +
                                      std::string(k.element) +
                                      "<Url type=\"text/html\" template=\"http://k/"
                                      "{searchTerms}\"/></OpenSearchDescription>"));
        r = ReadOpenSearchFile(Widen(dir / "kw.xml").c_str(), back);
        EXPECT_EQ(r.file, OpenSearchFileFault::None) << k.element;
        EXPECT_STREQ(r.extras.Keyword, k.keyword) << k.element;
    }

    // The same entry with its own https scheme, and one that only opens a local file.
    CopyToField(e.head[0], std::string("https://dict.example.jp/s?q="));
    ASSERT_EQ(WriteOpenSearchFile(Widen(dir / "s.xml").c_str(), e), OpenSearchWrite::Written);
    ASSERT_EQ(ReadOpenSearchFile(Widen(dir / "s.xml").c_str(), back).file,
              OpenSearchFileFault::None);
    EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0);
    CopyToField(e.head[0], std::string("\\local.html?q="));
    EXPECT_EQ(WriteOpenSearchFile(Widen(dir / "f.xml").c_str(), e),
              OpenSearchWrite::NotDescribable);
    EXPECT_EQ(GetFileAttributesA((dir / "f.xml").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The search plugin form that browsers keep (root SearchPlugin, the query in Param children,
// characters written as they are) and the parameter extension's Parameter children: each
// imported engine composes the URL that a browser submits for the description, and exports
// and imports back as the same entry.
TEST_F(OpenSearchFiles, SearchPluginsSearchAsTheBrowserSubmits) {
    const std::string keyword = "東京 タワー";
    const struct {
        const char* file;
        OpenSearchFileFault fault;
        OpenSearchFault content;
        const char* name;
        uint8_t character;
        const char* url; // for the keyword
        const char* suggest;
    } cases[] = {
        {"plugin-wiki.xml", OpenSearchFileFault::None, OpenSearchFault::None, "百科ウィキ (ja)", 3,
         "https://ja.hyakka.example.org/wiki/%E7%89%B9%E5%88%A5:%E6%A4%9C%E7%B4%A2?search="
         "%E6%9D%B1%E4%BA%AC+%E3%82%BF%E3%83%AF%E3%83%BC&ns0=1",
         "https://ja.hyakka.example.org/w/api.php?action=opensearch&search={searchTerms}"},
        // Its only text/html Url is the search form (rel="searchform"), which a browser
        // searches with.
        {"plugin-searchform.xml", OpenSearchFileFault::None, OpenSearchFault::None, "百科事典 (ja)",
         3,
         "https://ja.jiten.example.org/wiki/%E7%89%B9%E5%88%A5:%E6%A4%9C%E7%B4%A2?search="
         "%E6%9D%B1%E4%BA%AC+%E3%82%BF%E3%83%AF%E3%83%BC",
         "https://ja.jiten.example.org/w/api.php?action=opensearch&search={searchTerms}"},
        {"plugin-shop-sjis.xml", OpenSearchFileFault::None, OpenSearchFault::None, "価格くらべ", 0,
         "http://search.kakaku.example.jp/s.asp?cat=0&kw=%93%8C%8B%9E+%83%5E%83%8F%81%5B&enc=sjis"
         "&from=%E3%83%84%E3%83%BC%E3%83%AB%E3%83%90%E3%83%BC",
         ""},
        {"plugin-parameters.xml", OpenSearchFileFault::None, OpenSearchFault::None, "国語辞典", 1,
         "http://www.jisho.example.jp/search?q=%C5%EC%B5%FE+%A5%BF%A5%EF%A1%BC&mode=ja", ""},
        {"plugin-post.xml", OpenSearchFileFault::Content, OpenSearchFault::PostOnly, "", 0, "", ""},
        {"foreign-plugin.xml", OpenSearchFileFault::NotOpenSearch, OpenSearchFault::None, "", 0, "",
         ""},
        {"parameters-post.xml", OpenSearchFileFault::Content, OpenSearchFault::PostOnly, "", 0, "",
         ""},
    };
    // Written here: SearchPlugin in another namespace, and a POST told by the extension.
    ASSERT_TRUE(WriteFileText(dir / "foreign-plugin.xml",
                              "<SearchPlugin xmlns=\"http://example.org/search\"><ShortName>F"
                              "</ShortName><Url type=\"text/html\" template=\"http://f/\">"
                              "<Param name=\"q\" value=\"{searchTerms}\"/></Url></SearchPlugin>"));
    ASSERT_TRUE(WriteFileText(
        dir / "parameters-post.xml",
        "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\" "
        "xmlns:p=\"http://a9.com/-/spec/opensearch/extensions/parameters/1.0/\"><ShortName>P"
        "</ShortName><Url type=\"text/html\" p:method=\"POST\" template=\"http://p/\">"
        "<p:Parameter name=\"q\" value=\"{searchTerms}\"/></Url></OpenSearchDescription>"));
    const ComposeOptions options{"C:\\Morvel\\", PlatformCp932ToUtf16, PlatformUtf16ToCp932};
    for (const auto& c : cases) {
        const std::string written = dir / c.file;
        const std::string path = GetFileAttributesA(written.c_str()) != INVALID_FILE_ATTRIBUTES
                                     ? written
                                     : Fixture(c.file);
        EngineEntry e;
        const OpenSearchRead r = ReadOpenSearchFile(Widen(path).c_str(), e);
        EXPECT_EQ(r.file, c.fault) << c.file;
        EXPECT_EQ(r.content, c.content) << c.file;
        EXPECT_EQ(FieldText(e.Name), c.name) << c.file;
        EXPECT_EQ(e.Character, c.character) << c.file;
        EXPECT_STREQ(r.extras.Suggest, c.suggest) << c.file;
        if (r.file != OpenSearchFileFault::None) continue;
        EXPECT_EQ(BuildSearchUrl(keyword, 0, e, options), c.url) << c.file;
        const std::string out = dir / "back.xml";
        ASSERT_EQ(WriteOpenSearchFile(Widen(out).c_str(), e, r.extras), OpenSearchWrite::Written)
            << c.file;
        EngineEntry back;
        const OpenSearchRead again = ReadOpenSearchFile(Widen(out).c_str(), back);
        ASSERT_EQ(again.file, OpenSearchFileFault::None) << c.file;
        EXPECT_EQ(std::memcmp(&back, &e, sizeof e), 0) << c.file;
        EXPECT_STREQ(again.extras.Suggest, c.suggest) << c.file;
    }
    EngineEntry e;
    EXPECT_EQ(Message("p.xml", ReadOpenSearchFile(Widen(dir / "foreign-plugin.xml").c_str(), e)),
              "OpenSearch 記述を読み込めません。\n\nファイル名 : p.xml\n"
              "OpenSearch 記述ではありません。");
}
