// sefgen: builds an engine file from definition files, with the program's own encoder.
// Usage: sefgen OUTPUT.sef DEF1.sed [DEF2.sed ...]
// The definitions are UTF-8 text (readable in the repository); they are converted to
// Shift-JIS before they are read, exactly as a Shift-JIS definition file would be.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sefgen OUTPUT.sef DEFINITION.sed...\n");
        return 2;
    }
    std::vector<EngineEntry> entries;
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
        entries.push_back(e);
    }
    const int count = static_cast<int>(entries.size());
    std::vector<uint8_t> image(count > 0 && count <= kMaxEngines ? SefImageCapacity(count) : 0);
    const size_t size = EncodeSefImage(entries.data(), count, image.data(), image.size());
    if (size == 0) {
        std::fprintf(stderr, "sefgen: the entries cannot be written (count %zu)\n", entries.size());
        return 1;
    }
    image.resize(size);
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(image.data(), 1, image.size(), f) != image.size() ||
        std::fclose(f) != 0) {
        std::fprintf(stderr, "sefgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
