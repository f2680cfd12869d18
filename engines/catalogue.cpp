#include "engines/catalogue.h"

#include <cstring>

#include "base/text.h"

namespace {

void SwapSlots(EngineFileCatalogue& cat, int a, int b) {
    char tmp[kCatalogueNameSize];
    std::memcpy(tmp, cat.names[a], kCatalogueNameSize);
    std::memcpy(cat.names[a], cat.names[b], kCatalogueNameSize);
    std::memcpy(cat.names[b], tmp, kCatalogueNameSize);
}

int ClampCount(int count) {
    if (count < 0) return 0;
    return count > kMaxEngineFiles ? kMaxEngineFiles : count;
}

} // namespace

int CatalogueSize(const EngineFileCatalogue& cat) {
    int n = 0;
    while (n < kMaxEngineFiles && cat.names[n][0] != '\0')
        ++n;
    return n;
}

void SortCatalogue(EngineFileCatalogue& cat, int count, NameCompare cmp) {
    count = ClampCount(count);
    for (int i = 1; i < count; ++i)
        for (int k = count - 1; k >= i; --k)
            if (cmp(cat.names[k], cat.names[k - 1]) <= 0) SwapSlots(cat, k, k - 1);
}

int FindCatalogueName(const EngineFileCatalogue& cat, const char* name, NameCompare cmp) {
    int found = -1;
    const int n = CatalogueSize(cat);
    for (int i = 0; i < n; ++i)
        if (cmp(cat.names[i], name) == 0) found = i;
    return found;
}

int AddCatalogueName(EngineFileCatalogue& cat, const char* name, NameCompare cmp) {
    const int n = CatalogueSize(cat);
    if (n >= kMaxEngineFiles || !name || name[0] == '\0') return -1;
    CopyBounded(cat.names[n], kCatalogueNameSize, name);
    cat.count = n + 1;
    SortCatalogue(cat, cat.count, cmp);
    return FindCatalogueName(cat, name, cmp);
}

bool RemoveCatalogueName(EngineFileCatalogue& cat, int slot, NameCompare cmp) {
    const int n = CatalogueSize(cat);
    if (n <= 1 || slot < 0 || slot >= n) return false;
    cat.names[slot][0] = '\0';
    std::memset(cat.names[slot], 0, kCatalogueNameSize);
    SortCatalogue(cat, n, cmp); // the emptied name moves to slot 0
    for (int k = 0; k + 1 < n; ++k)
        std::memcpy(cat.names[k], cat.names[k + 1], kCatalogueNameSize);
    std::memset(cat.names[n - 1], 0, kCatalogueNameSize);
    cat.count = n - 1;
    return true;
}

std::string_view EngineFileLabel(const char* fileName) {
    const size_t n = FieldLength(fileName, kCatalogueNameSize);
    return std::string_view(fileName, n > 4 ? n - 4 : 0);
}
