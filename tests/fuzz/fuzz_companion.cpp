// libFuzzer target: the companion reader on arbitrary text, against a small table of entries
// (two of them of the same name). Checks that every keyword and suggestion URL it gives is one
// and is terminated inside its field, and that the text the writer makes of what was read reads
// back as the same extras.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "base/text.h"
#include "engines/companion.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// ASCII only: the other bytes and characters stand for what the other side cannot say.
size_t AsciiToUtf16(std::string_view text, char16_t* out, size_t capacity) {
    size_t n = 0;
    for (; n < text.size() && n < capacity; ++n) {
        const auto b = static_cast<unsigned char>(text[n]);
        out[n] = b < 0x80 ? char16_t(b) : u'\uFFFD';
    }
    return n;
}
size_t Utf16ToAscii(std::u16string_view text, TextBuffer& out) {
    size_t first = text.size();
    for (size_t i = 0; i < text.size(); ++i) {
        const bool said = text[i] < 0x80;
        out.Append(said ? static_cast<char>(text[i]) : '?');
        if (!said && first == text.size()) first = i;
    }
    return first;
}
const CompanionCodec kCodec{AsciiToUtf16, Utf16ToAscii};

EngineEntry Entry(const char* name) {
    EngineEntry e = {};
    CopyBounded(e.Name, kNameSize, name);
    return e;
}
const EngineEntry kEntries[] = {Entry("Google"), Entry("Wiki"), Entry("Google"), Entry("Maps")};
constexpr int kCount = 4;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    EngineExtras extras[kCount];
    std::memset(extras, 0xA5, sizeof extras);
    const int filled = ReadCompanionText(text, kEntries, kCount, extras, kCodec);
    int seen = 0;
    for (const EngineExtras& x : extras) {
        const size_t n = FieldLength(x.Keyword, kEngineKeywordSize);
        Require(n < kEngineKeywordSize);
        Require(n == 0 || IsEngineKeyword(std::string_view(x.Keyword, n)));
        const size_t u = FieldLength(x.Suggest, kSuggestUrlSize);
        Require(u < kSuggestUrlSize);
        Require(u == 0 || IsSuggestUrl(std::string_view(x.Suggest, u)));
        if (n != 0 || u != 0) ++seen;
    }
    Require(filled == seen);

    static auto written = std::make_unique<FixedText<kCompanionTextSize>>();
    const bool any = WriteCompanionText("a.sef", kEntries, extras, kCount, kCodec, *written);
    Require(any == (seen != 0));
    EngineExtras back[kCount];
    std::memset(back, 0xA5, sizeof back);
    Require(ReadCompanionText(written->view(), kEntries, kCount, back, kCodec) == seen);
    for (int i = 0; i < kCount; ++i)
        Require(std::strcmp(back[i].Keyword, extras[i].Keyword) == 0 &&
                std::strcmp(back[i].Suggest, extras[i].Suggest) == 0);
    return 0;
}
