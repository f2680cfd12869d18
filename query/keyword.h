// The keyword as the search bar holds it. No Windows needed.
#pragma once
#include <cstddef>

// The keyword box holds at most 127 bytes.
constexpr size_t kKeywordSize = 128;
