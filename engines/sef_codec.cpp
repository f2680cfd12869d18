#include "engines/sef_codec.h"

#include <cstring>
#include <new>

namespace {

constexpr size_t kRecordSize = sizeof(EngineEntry);

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

bool RecordIsWritable(const EngineEntry& e) {
    return e.Name[0] != '\0' && e.head[0][0] != '\0' && e.key[0][0] != '\0';
}

} // namespace

uint32_t SefCheckValue(uint32_t count, uint32_t size) {
    if (count == 0) return 0;
    return count + (2 * size) / count + (3 * count) / 5;
}

bool HasSefMagic(const uint8_t* data, size_t size) {
    return size >= sizeof(kSefMagic) && std::memcmp(data, kSefMagic, sizeof(kSefMagic)) == 0;
}

int DecodeSefImage(const uint8_t* data, size_t size, std::unique_ptr<EngineEntry[]>& out) {
    if (size < kSefHeaderSize + 3) return kReadInvalid;
    if (!HasSefMagic(data, size)) return kReadInvalid;
    const uint32_t count = data[15];
    if (count < 1 || count > kMaxEngines) return kReadInvalid;
    if (ReadU32(data + 16) != size) return kReadInvalid;
    if (ReadU32(data + 20) != SefCheckValue(count, static_cast<uint32_t>(size)))
        return kReadInvalid;

    const size_t tableSize = count * kRecordSize;
    std::unique_ptr<EngineEntry[]> table(new (std::nothrow) EngineEntry[count]);
    if (!table) return kReadInvalid;
    uint8_t* const dst = reinterpret_cast<uint8_t*>(table.get());
    std::memset(dst, 0, tableSize);

    size_t pos = 0;
    const uint8_t* p = data + kSefHeaderSize;
    const uint8_t* const end = data + size;
    while (p < end) {
        if (*p != 0) {
            if (pos >= tableSize) return kReadInvalid;
            dst[pos++] = *p++;
            continue;
        }
        if (end - p < 3) return kReadInvalid; // the body ends inside a triple
        const size_t run = size_t(p[1]) | size_t(p[2]) << 8;
        if (run > tableSize - pos) return kReadInvalid;
        pos += run; // the table is zero-filled already
        p += 3;
    }
    if (pos != tableSize) return kReadInvalid;

    for (uint32_t i = 0; i < count; ++i) {
        const EngineEntry& e = table[i];
        if (e.Name[0] == '\0' || e.Name[kNameSize - 1] != '\0' || e.head[0][0] == '\0')
            return kReadInvalid;
    }
    out = std::move(table);
    return static_cast<int>(count);
}

bool EncodeSefImage(const EngineEntry* entries, int count, std::vector<uint8_t>& out) {
    if (!entries || count < 1 || count > kMaxEngines) return false;
    for (int i = 0; i < count; ++i)
        if (!RecordIsWritable(entries[i])) return false;

    const size_t tableSize = size_t(count) * kRecordSize;
    const uint8_t* src = reinterpret_cast<const uint8_t*>(entries);
    std::vector<uint8_t> image(kSefHeaderSize, 0);
    image.reserve(kSefHeaderSize + 2 * tableSize + 1);
    for (size_t i = 0; i < tableSize;) {
        if (src[i] != 0) {
            image.push_back(src[i++]);
            continue;
        }
        size_t run = 0;
        while (i < tableSize && src[i] == 0 && run < 0xFFFF) {
            ++run;
            ++i;
        }
        image.push_back(0);
        image.push_back(uint8_t(run & 0xFF));
        image.push_back(uint8_t(run >> 8));
    }
    std::memcpy(image.data(), kSefMagic, sizeof(kSefMagic));
    image[14] = 1;
    image[15] = static_cast<uint8_t>(count);
    const uint32_t size = static_cast<uint32_t>(image.size());
    WriteU32(image.data() + 16, size);
    WriteU32(image.data() + 20, SefCheckValue(static_cast<uint32_t>(count), size));
    out.swap(image);
    return true;
}
