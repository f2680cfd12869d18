// libFuzzer target: the browser host's frame reader and message reading on arbitrary
// standard input, and the bar's reading of the UTF-16 text that the selection arrives as. The first
// byte picks how the stream is cut into reads and whether the rest is taken as a whole stream or as
// a message body behind a correct length.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/host_logic.h"
#include "query/keyword.h"

namespace {

struct Stream {
    const uint8_t* data;
    size_t size;
    size_t chunk;
    size_t at = 0;
    static long Read(void* self, unsigned char* buffer, size_t want) {
        auto* s = static_cast<Stream*>(self);
        const size_t n = std::min({want, s->chunk, s->size - s->at});
        std::memcpy(buffer, s->data + s->at, n);
        s->at += n;
        return static_cast<long>(n);
    }
};

void CheckKeyword(const std::string& body) {
    std::u16string keyword;
    const host::Status status = host::KeywordFromMessage(body.data(), body.size(), keyword);
    if (status != host::Status::kOk) {
        if (!keyword.empty()) std::abort();
        return;
    }
    if (keyword.empty() || keyword.front() == u' ' || keyword.back() == u' ') std::abort();
    for (size_t i = 0; i < keyword.size(); ++i) {
        if (keyword[i] == 0) std::abort();
        if (i + 1 < keyword.size() && keyword[i] == u'\r' && keyword[i + 1] == u'\n') std::abort();
    }
}

// What the bar keeps of UTF-16 data: within the limit, no NUL, no lone surrogate.
void CheckBarKeyword(const uint8_t* data, size_t size) {
    WideKeyword out;
    KeywordFromUtf16Data(data, size, kMessageKeywordLimit, out);
    const std::u16string_view text = out.view();
    if (KeywordWeight(text) > kMessageKeywordLimit || text.size() > size / 2) std::abort();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == 0) std::abort();
        const bool pairStart =
            IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        if (pairStart)
            ++i;
        else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    ++data, --size;
    CheckBarKeyword(data, size);
    if (mode & 0x80) { // a body behind a correct length
        std::string frame =
            host::EncodeFrame(std::string(reinterpret_cast<const char*>(data), size));
        Stream s{reinterpret_cast<const uint8_t*>(frame.data()), frame.size(), (mode & 0x3F) + 1u};
        std::string body;
        if (host::ReadFrame(Stream::Read, &s, body) != host::Status::kOk) std::abort();
        if (body.size() != size || std::memcmp(body.data(), data, size) != 0) std::abort();
        CheckKeyword(body);
        return 0;
    }
    Stream s{data, size, (mode & 0x3F) + 1u};
    std::string body;
    const host::Status status = host::ReadFrame(Stream::Read, &s, body);
    if (status == host::Status::kOk) {
        if (body.size() > host::kMaxMessageBytes || body.size() + 4 > size) std::abort();
        CheckKeyword(body);
    } else if (!body.empty()) {
        std::abort();
    }
    return 0;
}
