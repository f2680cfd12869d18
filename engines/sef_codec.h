// The engine file image: 64-byte header and zero-run encoded body. Pure byte work.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

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

// Encodes count entries into a file image. Returns false, leaving `out` untouched, when an
// entry lacks its Name, URL1 head or URL1 key, or the count is not 1..64.
bool EncodeSefImage(const EngineEntry* entries, int count, std::vector<uint8_t>& out);
