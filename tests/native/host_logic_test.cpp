#include "host/host_logic.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using host::Status;

// A stream that hands out its bytes at most chunk at a time, or fails at a given point.
struct Stream {
    std::string bytes;
    size_t chunk = 1 << 20;
    size_t failAt = std::string::npos;
    size_t at = 0;
    size_t calls = 0;
    static long Read(void* self, unsigned char* buffer, size_t size) {
        auto* s = static_cast<Stream*>(self);
        ++s->calls;
        if (s->at >= s->failAt) return -1;
        size_t n = std::min({size, s->chunk, s->bytes.size() - s->at});
        std::memcpy(buffer, s->bytes.data() + s->at, n);
        s->at += n;
        return static_cast<long>(n);
    }
};

std::string Length(uint32_t n) {
    std::string s(4, '\0');
    std::memcpy(&s[0], &n, 4);
    return s;
}

TEST(HostFrame, ReadsWholeFramesAndRefusesBrokenOnes) {
    const std::string json = "{\"text\":\"abc\"}";
    const std::string big(host::kMaxMessageBytes, 'x');
    const struct {
        const char* what;
        std::string bytes;
        size_t chunk;
        Status status;
        std::string body;
    } cases[] = {
        {"whole", Length(json.size()) + json, 1 << 20, Status::kOk, json},
        {"byte by byte", Length(json.size()) + json, 1, Status::kOk, json},
        {"three at a time", Length(json.size()) + json, 3, Status::kOk, json},
        {"trailing bytes stay unread", Length(3) + "abcdef", 64, Status::kOk, "abc"},
        {"empty body", Length(0), 64, Status::kOk, ""},
        {"the limit itself", Length(host::kMaxMessageBytes) + big, 4096, Status::kOk, big},
        {"nothing at all", "", 64, Status::kNoMessage, ""},
        {"half a length", std::string("\x05\x00", 2), 64, Status::kShortLength, ""},
        {"over the limit", Length(host::kMaxMessageBytes + 1) + "x", 64, Status::kTooLong, ""},
        {"4 GiB", "\xFF\xFF\xFF\xFF", 64, Status::kTooLong, ""},
        {"short body", Length(10) + "abc", 2, Status::kShortBody, ""},
        // Length bytes that a text-mode stream would have eaten or changed.
        {"0x1A length", Length(0x1A) + std::string(0x1A, 'y'), 7, Status::kOk,
         std::string(0x1A, 'y')},
        {"0x0D 0x0A length", Length(0x0A0D) + std::string(0x0A0D, 'z'), 4096, Status::kOk,
         std::string(0x0A0D, 'z')},
        {"CR LF in the body", Length(4) + "a\r\nb", 1, Status::kOk, "a\r\nb"},
    };
    for (const auto& c : cases) {
        Stream s{c.bytes, c.chunk};
        std::string body = "stale";
        EXPECT_EQ(host::ReadFrame(Stream::Read, &s, body), c.status) << c.what;
        EXPECT_EQ(body, c.body) << c.what;
    }
    // A refused length is refused before the body is read.
    Stream over{Length(host::kMaxMessageBytes + 1) + big + "x"};
    std::string body;
    EXPECT_EQ(host::ReadFrame(Stream::Read, &over, body), Status::kTooLong);
    EXPECT_EQ(over.at, 4u);
    // Read errors in the length and in the body.
    for (size_t failAt : {0u, 2u, 4u, 6u}) {
        Stream failing{Length(5) + "hello", 2, failAt};
        EXPECT_EQ(host::ReadFrame(Stream::Read, &failing, body), Status::kReadFailed) << failAt;
    }
}

TEST(HostFrame, AnswersAreFramedJson) {
    EXPECT_EQ(host::EncodeFrame(host::AnswerJson(Status::kOk)),
              std::string("\x0B\x00\x00\x00{\"ok\":true}", 15));
    EXPECT_EQ(host::AnswerJson(Status::kEmptyText), "{\"ok\":false,\"error\":\"empty-text\"}");
    // Every status has its own code.
    std::vector<std::string> codes;
    for (int s = 0; s <= static_cast<int>(Status::kBarNotFound); ++s) {
        const std::string code = host::StatusCode(static_cast<Status>(s));
        EXPECT_NE(code, "unknown");
        for (const std::string& seen : codes)
            EXPECT_NE(code, seen);
        codes.push_back(code);
    }
    Stream back{host::EncodeFrame("{\"ok\":true}")};
    std::string body;
    EXPECT_EQ(host::ReadFrame(Stream::Read, &back, body), Status::kOk);
    EXPECT_EQ(body, "{\"ok\":true}");
}

TEST(HostMessage, TakesTheTextAndNothingElse) {
    const struct {
        std::string json;
        Status status;
        std::string text;
    } cases[] = {
        {"{\"text\":\"abc\"}", Status::kOk, "abc"},
        {" { \"text\" : \"a b\" } \r\n", Status::kOk, "a b"},
        {u8"{\"text\":\"検索 ｶﾅ\"}", Status::kOk, u8"検索 ｶﾅ"},
        {"{\"text\":\"\\u691c\\u7d22\"}", Status::kOk, u8"検索"},
        {"{\"text\":\"\\ud83d\\ude00\"}", Status::kOk, u8"\U0001F600"},
        {"{\"text\":\"a\\r\\nb\"}", Status::kOk, "a\r\nb"},
        {"{\"text\":\"\"}", Status::kOk, ""},
        {"{\"text\":\"a\\u0000b\"}", Status::kOk, std::string("a\0b", 3)},
        {"", Status::kInvalidJson, ""},
        {"{", Status::kInvalidJson, ""},
        {"{\"text\":\"abc\"} x", Status::kInvalidJson, ""},
        {"{\"text\":\"abc\"}{}", Status::kInvalidJson, ""},
        {"[\"text\"]", Status::kInvalidJson, ""},
        {"\"text\"", Status::kInvalidJson, ""},
        {"null", Status::kInvalidJson, ""},
        {"{\"text\":\"a\nb\"}", Status::kInvalidJson, ""}, // a raw control character
        {std::string("{\"text\":\"a\0b\"}", 14), Status::kInvalidJson, ""},
        {"{\"text\":\"abc\",\"url\":\"x\"}", Status::kUnexpectedMember, ""},
        {"{\"text\":\"a\",\"text\":\"b\"}", Status::kUnexpectedMember, ""},
        {"{\"text\\u0000\":\"a\"}", Status::kUnexpectedMember, ""},
        {"{\"Text\":\"a\"}", Status::kUnexpectedMember, ""},
        {"{}", Status::kMissingText, ""},
        {"{\"text\":1}", Status::kTextNotString, ""},
        {"{\"text\":null}", Status::kTextNotString, ""},
        {"{\"text\":[\"a\"]}", Status::kTextNotString, ""},
        {"{\"text\":\"\xC3\x28\"}", Status::kInvalidJson, ""},     // broken raw UTF-8
        {"{\"text\":\"\xED\xA0\x80\"}", Status::kInvalidJson, ""}, // a raw surrogate
        {"{\"text\":\"\\udc00\"}", Status::kInvalidUtf8, ""},      // an escaped lone low half
        {"{\"text\":\"\\ud800\"}", Status::kInvalidJson, ""},      // a lone high half
        {std::string(100000, '[') + std::string(100000, ']'), Status::kInvalidJson, ""},
    };
    for (const auto& c : cases) {
        std::string text = "stale";
        EXPECT_EQ(host::ParseMessage(c.json.data(), c.json.size(), text), c.status)
            << c.json.substr(0, 40);
        EXPECT_EQ(text, c.text) << c.json.substr(0, 40);
    }
}

TEST(HostKeyword, LineBreaksAndSpacesAsTheOldScript) {
    const struct {
        std::string selection, keyword;
    } cases[] = {
        {"abc\r\ndef", "abc def"},
        {"a\rb", "a\rb"}, // a lone CR passes on
        {"a\nb", "a\nb"}, // a lone LF too
        {"a\n\rb", "a\n\rb"},
        {"a\r\r\nb", "a\r b"},
        {"a\r\n\r\nb", "a  b"},
        {"  x y  \r\n", "x y"}, // trimmed after the replacement
        {"\r\n\r\n", ""},
        {"   ", ""},
        {"\tx\t", "\tx\t"},                           // only spaces are trimmed
        {u8"\u3000全角\u3000", u8"\u3000全角\u3000"}, // the ideographic space stays
        {"", ""},
        {std::string("ab\0cd", 5), "ab"},
        {std::string("\0cd", 3), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host::KeywordFromSelection(c.selection), c.keyword) << c.selection;
}

TEST(HostKeyword, Utf8ToUtf16) {
    const struct {
        std::string utf8;
        bool ok;
        std::u16string utf16;
    } cases[] = {
        {"abc", true, u"abc"},
        {"", true, u""},
        {u8"検索ｶﾅ", true, u"検索ｶﾅ"},
        {u8"\u00E9\u20AC", true, u"\u00E9\u20AC"},
        {u8"\U0001F600x", true, u"\U0001F600x"},
        {"\xF4\x8F\xBF\xBF", true, u"\U0010FFFF"},
        {"\xEF\xBB\xBF", true, u"\uFEFF"},
        {"\x80", false, u""},
        {"\xC0\x80", false, u""},         // overlong NUL
        {"\xC1\xBF", false, u""},         // overlong
        {"\xE0\x80\xAF", false, u""},     // overlong
        {"\xF0\x80\x80\xAF", false, u""}, // overlong
        {"\xED\xA0\x80", false, u""},     // surrogate
        {"\xED\xBF\xBF", false, u""},     // surrogate
        {"\xF4\x90\x80\x80", false, u""}, // above U+10FFFF
        {"\xF5\x80\x80\x80", false, u""},
        {"\xFF", false, u""},
        {"\xE6\xA4", false, u""},  // cut short at the end
        {"\xE6\xA4x", false, u""}, // cut short inside
        {"a\xC3", false, u""},
    };
    for (const auto& c : cases) {
        std::u16string out = u"stale";
        EXPECT_EQ(host::Utf8ToUtf16(c.utf8, out), c.ok) << c.utf8;
        EXPECT_EQ(out, c.utf16) << c.utf8;
    }
}

TEST(HostKeyword, FromMessage) {
    const struct {
        std::string json;
        Status status;
        std::u16string keyword;
    } cases[] = {
        {"{\"text\":\"abc\\r\\ndef\"}", Status::kOk, u"abc def"},
        {u8"{\"text\":\"  検索\\r\\n語  \"}", Status::kOk, u"検索 語"},
        {"{\"text\":\"\"}", Status::kEmptyText, u""},
        {"{\"text\":\"  \\r\\n  \"}", Status::kEmptyText, u""},
        {"{\"text\":\"\\u0000abc\"}", Status::kEmptyText, u""},
        {"{\"text\":\"a\\u0000\\ud800\"}", Status::kInvalidJson, u""},
        {"{\"text\":true}", Status::kTextNotString, u""},
    };
    for (const auto& c : cases) {
        std::u16string keyword = u"stale";
        EXPECT_EQ(host::KeywordFromMessage(c.json.data(), c.json.size(), keyword), c.status)
            << c.json;
        EXPECT_EQ(keyword, c.keyword) << c.json;
    }
}

} // namespace
