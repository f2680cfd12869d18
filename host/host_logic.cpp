#include "host/host_logic.h"

#include <cstring>

// The JSON reader is used without exceptions; a failed check is a parse error, never a throw.
#include <rapidjson/document.h>

namespace host {

const char* StatusCode(Status status) {
    switch (status) {
    case Status::kOk:
        return "ok";
    case Status::kNoMessage:
        return "no-message";
    case Status::kShortLength:
        return "short-length";
    case Status::kTooLong:
        return "too-long";
    case Status::kShortBody:
        return "short-body";
    case Status::kReadFailed:
        return "read-failed";
    case Status::kTimedOut:
        return "timed-out";
    case Status::kInvalidJson:
        return "invalid-json";
    case Status::kUnexpectedMember:
        return "unexpected-member";
    case Status::kMissingText:
        return "missing-text";
    case Status::kTextNotString:
        return "text-not-string";
    case Status::kInvalidUtf8:
        return "invalid-utf8";
    case Status::kEmptyText:
        return "empty-text";
    case Status::kProgramMissing:
        return "program-missing";
    case Status::kBridgeMissing:
        return "bridge-missing";
    case Status::kBridgeFailed:
        return "bridge-failed";
    case Status::kBarNotFound:
        return "bar-not-found";
    }
    return "unknown";
}

namespace {

// Fills buffer completely unless the stream ends or fails; returns the bytes read, or -1.
long ReadFully(ReadFunction read, void* context, unsigned char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const long n = read(context, buffer + got, size - got);
        if (n < 0) return -1;
        if (n == 0) break;
        if (static_cast<std::size_t>(n) > size - got) return -1; // a reader that overran
        got += static_cast<std::size_t>(n);
    }
    return static_cast<long>(got);
}

} // namespace

Status ReadFrame(ReadFunction read, void* context, std::string& body) {
    body.clear();
    unsigned char header[kLengthBytes];
    const long headerGot = ReadFully(read, context, header, sizeof header);
    if (headerGot < 0) return Status::kReadFailed;
    if (headerGot == 0) return Status::kNoMessage;
    if (headerGot < static_cast<long>(sizeof header)) return Status::kShortLength;
    std::uint32_t length = 0;
    std::memcpy(&length, header, sizeof length); // the machine's own byte order
    if (length > kMaxMessageBytes) return Status::kTooLong;
    std::string data(length, '\0');
    const long got =
        length ? ReadFully(read, context, reinterpret_cast<unsigned char*>(&data[0]), length) : 0;
    if (got < 0) return Status::kReadFailed;
    if (static_cast<std::uint32_t>(got) < length) return Status::kShortBody;
    body.swap(data);
    return Status::kOk;
}

std::string EncodeFrame(const std::string& body) {
    const std::uint32_t length = static_cast<std::uint32_t>(body.size());
    std::string frame(kLengthBytes, '\0');
    std::memcpy(&frame[0], &length, sizeof length);
    return frame + body;
}

std::string AnswerJson(Status status) {
    if (status == Status::kOk) return "{\"ok\":true}";
    // The codes are plain lowercase ASCII: nothing to escape.
    return std::string("{\"ok\":false,\"error\":\"") + StatusCode(status) + "\"}";
}

Status ParseMessage(const char* json, std::size_t size, std::string& text) {
    text.clear();
    rapidjson::Document doc;
    // Iterative parsing: a deeply nested message cannot exhaust the stack.
    doc.Parse<rapidjson::kParseValidateEncodingFlag | rapidjson::kParseIterativeFlag>(json, size);
    if (doc.HasParseError() || !doc.IsObject()) return Status::kInvalidJson;
    const rapidjson::Value* value = nullptr;
    for (auto m = doc.MemberBegin(); m != doc.MemberEnd(); ++m) {
        const bool isText =
            m->name.GetStringLength() == 4 && std::memcmp(m->name.GetString(), "text", 4) == 0;
        if (!isText || value) return Status::kUnexpectedMember;
        value = &m->value;
    }
    if (!value) return Status::kMissingText;
    if (!value->IsString()) return Status::kTextNotString;
    std::string raw(value->GetString(), value->GetStringLength());
    std::u16string check;
    if (!Utf8ToUtf16(raw, check)) return Status::kInvalidUtf8; // escapes can form surrogates
    text.swap(raw);
    return Status::kOk;
}

std::string KeywordFromSelection(const std::string& utf8) {
    const std::size_t nul = utf8.find('\0');
    const std::string whole = nul == std::string::npos ? utf8 : utf8.substr(0, nul);
    std::string joined;
    joined.reserve(whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (whole[i] == '\r' && i + 1 < whole.size() && whole[i + 1] == '\n') {
            joined += ' ';
            ++i;
        } else {
            joined += whole[i];
        }
    }
    const std::size_t first = joined.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const std::size_t last = joined.find_last_not_of(' ');
    return joined.substr(first, last - first + 1);
}

bool Utf8ToUtf16(const std::string& utf8, std::u16string& out) {
    out.clear();
    std::u16string result;
    result.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = s[i];
        std::uint32_t cp = 0;
        std::size_t extra = 0;
        std::uint32_t min = 0;
        if (b < 0x80) {
            cp = b;
        } else if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1F, extra = 1, min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0F, extra = 2, min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            cp = b & 0x07, extra = 3, min = 0x10000;
        } else {
            return false; // a stray continuation byte, C0/C1, or F5 and above
        }
        if (extra > n - i - 1) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const unsigned char c = s[i + k];
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (cp >> 10));
            result += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            result += static_cast<char16_t>(cp);
        }
        i += extra + 1;
    }
    out.swap(result);
    return true;
}

Status KeywordFromMessage(const char* json, std::size_t size, std::u16string& keyword) {
    keyword.clear();
    std::string text;
    const Status parsed = ParseMessage(json, size, text);
    if (parsed != Status::kOk) return parsed;
    const std::string kw = KeywordFromSelection(text);
    if (kw.empty()) return Status::kEmptyText;
    if (!Utf8ToUtf16(kw, keyword)) return Status::kInvalidUtf8;
    return Status::kOk;
}

} // namespace host
