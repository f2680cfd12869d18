// libFuzzer target: the engine file reader on arbitrary file images. Checks that a decode
// either fails without touching the table it was given or yields entries that satisfy the
// reader's own guarantees and survive a write and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engines/sef_codec.h"

namespace {

// Half of the inputs are taken as a count byte and a body behind a correct header, so that
// the fuzzer spends its time in the body decoder rather than on the check value.
std::vector<uint8_t> WithHeader(const uint8_t* data, size_t size) {
    const uint32_t count = data[0] % kMaxEngines + 1;
    const uint32_t total = static_cast<uint32_t>(kSefHeaderSize + size - 1);
    std::vector<uint8_t> image(kSefHeaderSize, 0);
    std::memcpy(image.data(), kSefMagic, sizeof kSefMagic);
    image[14] = 1;
    image[15] = static_cast<uint8_t>(count);
    const uint32_t check = SefCheckValue(count, total);
    for (int i = 0; i < 4; ++i) {
        image[16 + i] = static_cast<uint8_t>(total >> (8 * i));
        image[20 + i] = static_cast<uint8_t>(check >> (8 * i));
    }
    image.insert(image.end(), data + 1, data + size);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* raw, size_t rawSize) {
    std::vector<uint8_t> framed;
    const uint8_t* data = raw;
    size_t size = rawSize;
    if (rawSize > 0 && (raw[0] & 0x80)) {
        framed = WithHeader(raw, rawSize);
        data = framed.data();
        size = framed.size();
    }
    std::unique_ptr<EngineEntry[]> table;
    const int count = DecodeSefImage(data, size, table);
    if (count == kReadInvalid) {
        if (table) std::abort(); // the old (empty) table must be untouched
        return 0;
    }
    if (count < 1 || count > kMaxEngines || !table) std::abort();
    for (int i = 0; i < count; ++i) {
        const EngineEntry& e = table[i];
        if (e.Name[0] == '\0' || e.Name[kNameSize - 1] != '\0' || e.head[0][0] == '\0')
            std::abort();
    }
    std::vector<uint8_t> image(SefImageCapacity(count));
    const size_t written = EncodeSefImage(table.get(), count, image.data(), image.size());
    if (written > image.size()) std::abort();
    if (written > 0) {
        std::unique_ptr<EngineEntry[]> again;
        if (DecodeSefImage(image.data(), written, again) != count) std::abort();
        if (std::memcmp(again.get(), table.get(), sizeof(EngineEntry) * count) != 0) std::abort();
    }
    return 0;
}
