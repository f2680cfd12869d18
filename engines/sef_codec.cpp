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

namespace {

// Writes the body of the image to out (when out is not null) and returns its size.
size_t EncodeBody(const uint8_t* src, size_t tableSize, uint8_t* out) {
    size_t n = 0;
    const auto put = [&](uint8_t b) {
        if (out) out[n] = b;
        ++n;
    };
    for (size_t i = 0; i < tableSize;) {
        if (src[i] != 0) {
            put(src[i++]);
            continue;
        }
        size_t run = 0;
        while (i < tableSize && src[i] == 0 && run < 0xFFFF) {
            ++run;
            ++i;
        }
        put(0);
        put(uint8_t(run & 0xFF));
        put(uint8_t(run >> 8));
    }
    return n;
}

} // namespace

size_t EncodeSefImage(const EngineEntry* entries, int count, uint8_t* out, size_t outSize) {
    if (!entries || !out || count < 1 || count > kMaxEngines) return 0;
    for (int i = 0; i < count; ++i)
        if (!RecordIsWritable(entries[i])) return 0;

    const size_t tableSize = size_t(count) * kRecordSize;
    const uint8_t* src = reinterpret_cast<const uint8_t*>(entries);
    const size_t size = kSefHeaderSize + EncodeBody(src, tableSize, nullptr);
    if (size > outSize) return 0;
    std::memset(out, 0, kSefHeaderSize);
    EncodeBody(src, tableSize, out + kSefHeaderSize);
    std::memcpy(out, kSefMagic, sizeof(kSefMagic));
    out[14] = 1;
    out[15] = static_cast<uint8_t>(count);
    WriteU32(out + 16, static_cast<uint32_t>(size));
    WriteU32(out + 20, SefCheckValue(static_cast<uint32_t>(count), static_cast<uint32_t>(size)));
    return size;
}
