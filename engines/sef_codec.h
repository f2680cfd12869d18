// The engine file image: 64-byte header and zero-run encoded body. Pure byte work.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engines/engine_entry.h"

constexpr size_t kSefHeaderSize = 64;
constexpr char kSefMagic[14] = "VANTU_SEFFILE"; // 13 characters and the NUL

constexpr int kReadCannotOpen = -1;
constexpr int kReadInvalid = -2;

// count + (2 * size) / count + (3 * count) / 5
uint32_t SefCheckValue(uint32_t count, uint32_t size);

// True when the first 14 bytes are the magic with its NUL.
bool HasSefMagic(const uint8_t* data, size_t size);

// Decodes a whole file image. On success returns the count (1..64) and gives `out` a new
// table; on any fault returns kReadInvalid and leaves `out` untouched.
int DecodeSefImage(const uint8_t* data, size_t size, std::unique_ptr<EngineEntry[]>& out);

// The largest image of count entries: the header and a body where every other byte of the
// table is a zero run of its own (one byte becomes three).
constexpr size_t SefImageCapacity(int count) {
    return kSefHeaderSize + 2 * static_cast<size_t>(count) * sizeof(EngineEntry) + 2;
}

// Encodes count entries into a file image in out (capacity outSize; SefImageCapacity(count)
// is always enough) and returns its size. Returns 0 when an entry lacks its Name, URL1 head
// or URL1 key, the count is not 1..64, or the image does not fit; out is then left untouched.
size_t EncodeSefImage(const EngineEntry* entries, int count, uint8_t* out, size_t outSize);
