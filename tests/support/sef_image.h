// Engine file images for the tests: the program's writer into a buffer of the largest size.
#pragma once
#include <cstdint>
#include <vector>

#include "engines/sef_codec.h"

// The image of count entries, or an empty one when the writer refuses them.
inline std::vector<uint8_t> SefImageOf(const EngineEntry* entries, int count) {
    std::vector<uint8_t> out(count > 0 && count <= kMaxEngines ? SefImageCapacity(count) : 1);
    out.resize(EncodeSefImage(entries, count, out.data(), out.size()));
    return out;
}
