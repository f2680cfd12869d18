// Composition speed: one search URL for a 120-byte mixed keyword in each character code.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "base/text.h"
#include "query/compose.h"

namespace {

// glibc's CP932 conversion, opened once (the program uses the platform's conversion).
size_t IconvCp932ToUtf16(std::string_view text, char16_t* out, size_t capacity) {
    static iconv_t cd = iconv_open("UTF-16LE", "CP932");
    char* inp = const_cast<char*>(text.data()); // iconv does not write the input
    size_t inLeft = text.size();
    char* outp = reinterpret_cast<char*>(out);
    size_t outLeft = capacity * 2;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv(cd, &inp, &inLeft, &outp, &outLeft);
    return capacity - outLeft / 2;
}

// Letters, digits, punctuation, kanji, katakana and half-width katakana: 120 bytes.
std::string MixedKeyword() {
    const std::string piece = "Morvel 1.00 検索 ｶﾀｶﾅ ソフト+C++ "; // 34 bytes
    std::string k;
    while (k.size() + piece.size() <= 120)
        k += piece;
    while (k.size() < 120)
        k += 'x';
    return k;
}

void BM_BuildSearchUrl(benchmark::State& state) {
    EngineEntry e;
    std::memset(&e, 0, sizeof e);
    CopyToField(e.head[0], std::string("https://www.example.com/search?hl=ja&q="));
    CopyToField(e.key[0], std::string("+"));
    CopyToField(e.tail[0], std::string("&ie=x"));
    e.Character = static_cast<uint8_t>(state.range(0));
    const ComposeOptions options{"C:\\Tools\\Morvel\\", IconvCp932ToUtf16, nullptr};
    const std::string keyword = MixedKeyword();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildSearchUrl(keyword, 0, e, options));
    state.SetLabel(std::to_string(keyword.size()) + "-byte keyword");
}

BENCHMARK(BM_BuildSearchUrl)->ArgName("Character")->DenseRange(0, 3);

} // namespace
