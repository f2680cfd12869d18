// sefgen: builds an engine file from definition files, with the program's own encoder, and
// its companion (OUTPUT.sef.txt) with the entries' keywords.
// Usage: sefgen OUTPUT.sef DEF1.sed [DEF2.sed ...]
// The definitions are UTF-8 text (readable in the repository); they are converted to
// Shift-JIS before they are read, exactly as a Shift-JIS definition file would be. A
// "Keyword" that the program would not take is an error here, not left out.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engines/companion.h"
#include "engines/definition.h"
#include "engines/profile_text.h"
#include "engines/sef_codec.h"

static bool ToShiftJis(const std::string& in, std::string& out) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == (iconv_t)-1) return false;
    std::vector<char> buf(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == (size_t)-1) return false;
    out.assign(buf.data(), buf.size() - dstLeft);
    return true;
}

// Code page 932 and UTF-16 through iconv, as the companion's conversions.
static size_t Cp932ToUtf16Iconv(std::string_view text, char16_t* out, size_t capacity) {
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == (iconv_t)-1) return 0;
    std::string in(text);
    std::vector<char> bytes(capacity * 2);
    char* src = in.data();
    size_t srcLeft = in.size();
    char* dst = bytes.data();
    size_t dstLeft = bytes.size();
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    const size_t units = (bytes.size() - dstLeft) / 2;
    for (size_t i = 0; i < units; ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return units;
}

// Character by character: "?" for one that code page 932 cannot say.
static size_t Utf16ToCp932Iconv(std::u16string_view text, TextBuffer& out) {
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == (iconv_t)-1) return 0;
    size_t first = text.size();
    for (size_t i = 0; i < text.size(); i += CharacterUnits(text, i)) {
        std::string in;
        for (size_t k = 0; k < CharacterUnits(text, i); ++k) {
            in += static_cast<char>(text[i + k] & 0xFF);
            in += static_cast<char>(text[i + k] >> 8);
        }
        char bytes[8];
        char* src = in.data();
        size_t srcLeft = in.size();
        char* dst = bytes;
        size_t dstLeft = sizeof bytes;
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == (size_t)-1) {
            out.Append('?');
            if (first == text.size()) first = i;
        } else {
            out.Append(std::string_view(bytes, sizeof bytes - dstLeft));
        }
    }
    iconv_close(cd);
    return first;
}

static bool WriteFile(const std::string& path, const void* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(data, 1, size, f) == size;
    return (f ? std::fclose(f) == 0 : false) && ok;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sefgen OUTPUT.sef DEFINITION.sed...\n");
        return 2;
    }
    std::vector<EngineEntry> entries;
    std::vector<EngineExtras> extras;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        std::string sjis;
        if (!in || !ToShiftJis(ss.str(), sjis)) {
            std::fprintf(stderr, "sefgen: cannot read %s as UTF-8\n", argv[i]);
            return 1;
        }
        ProfileText text(sjis);
        EngineEntry e;
        const DefinitionFault f = EntryFromDefinition(text.Reader(), e);
        if (f.section) {
            std::fprintf(stderr, "sefgen: %s: bad value [%s] %s\n", argv[i], f.section, f.key);
            return 1;
        }
        EngineExtras x;
        ExtrasFromDefinition(text.Reader(), x);
        const struct {
            const char* key;
            const char* taken;
        } values[] = {{"Keyword", x.Keyword}, {"Suggest", x.Suggest}};
        for (const auto& v : values) {
            if (*v.taken == '\0' && !text.Text("Data", v.key).empty()) {
                std::fprintf(stderr, "sefgen: %s: bad value [Data] %s\n", argv[i], v.key);
                return 1;
            }
        }
        entries.push_back(e);
        extras.push_back(x);
    }
    const int count = static_cast<int>(entries.size());
    std::vector<uint8_t> image(count > 0 && count <= kMaxEngines ? SefImageCapacity(count) : 0);
    const size_t size = EncodeSefImage(entries.data(), count, image.data(), image.size());
    if (size == 0) {
        std::fprintf(stderr, "sefgen: the entries cannot be written (count %zu)\n", entries.size());
        return 1;
    }
    if (!WriteFile(argv[1], image.data(), size)) {
        std::fprintf(stderr, "sefgen: cannot write %s\n", argv[1]);
        return 1;
    }

    // The companion, named in its first line by the engine file's name in Shift-JIS.
    const std::string companion = std::string(argv[1]) + kCompanionSuffix;
    const std::string path = argv[1];
    const size_t slash = path.find_last_of('/');
    std::string name;
    if (!ToShiftJis(path.substr(slash == std::string::npos ? 0 : slash + 1), name)) {
        std::fprintf(stderr, "sefgen: Shift-JIS cannot say the name of %s\n", argv[1]);
        return 1;
    }
    auto text = std::make_unique<FixedText<kCompanionTextSize>>();
    const CompanionCodec codec{Cp932ToUtf16Iconv, Utf16ToCp932Iconv};
    if (!WriteCompanionText(name.c_str(), entries.data(), extras.data(), count, codec, *text)) {
        if (HasExtras(extras.data(), count)) {
            std::fprintf(stderr, "sefgen: the companion of %s does not fit\n", argv[1]);
            return 1;
        }
        std::remove(companion.c_str()); // no keywords: no companion
        return 0;
    }
    if (!WriteFile(companion, text->c_str(), text->size())) {
        std::fprintf(stderr, "sefgen: cannot write %s\n", companion.c_str());
        return 1;
    }
    return 0;
}
