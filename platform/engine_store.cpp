#include "platform/engine_store.h"

#include <cstring>

#include "base/text.h"
#include "engines/sef_codec.h"
#include "platform/file_replace.h"
#include "platform/handles.h"

namespace {

// Full path of a name in the data directory; false when it does not fit.
bool FolderPath(const char* dataDir, const char* name, char (&path)[MAX_PATH]) {
    FixedText<MAX_PATH> text(std::string_view(dataDir, FieldLength(dataDir, MAX_PATH)));
    text.Append(name);
    if (text.cut()) return false;
    CopyBounded(path, sizeof path, text.c_str(), text.size());
    return true;
}

UniqueFile OpenExclusive(const char* path) {
    return UniqueFile(
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

int CompareNames(const char* a, const char* b) {
    return lstrcmpA(a, b);
}

int ReadEngineFile(EngineSet& set, const char* path) {
    UniqueHeapBlock block;
    size_t imageSize = 0;
    {
        UniqueFile file = OpenExclusive(path);
        if (!file) return kReadCannotOpen;
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.get(), &size)) return kReadInvalid;
        // A file shorter than the header and one triple cannot hold an entry. Runs of no
        // length are legal, so a valid file has no natural upper size; the reader still
        // refuses to take a huge file into memory.
        const LONGLONG largest = 64LL << 20;
        if (size.QuadPart < 67 || size.QuadPart > largest) return kReadInvalid;
        imageSize = static_cast<size_t>(size.QuadPart);
        block = AllocateHeapBlock(imageSize);
        if (!block) return kReadInvalid;
        DWORD got = 0;
        if (!ReadFile(file.get(), block.get(), static_cast<DWORD>(imageSize), &got, nullptr) ||
            got != imageSize)
            return kReadInvalid;
    }
    std::unique_ptr<EngineEntry[]> table;
    const int count = DecodeSefImage(static_cast<const uint8_t*>(block.get()), imageSize, table);
    if (count < 1) return kReadInvalid;
    set.entries = std::move(table);
    set.count = count;
    return count;
}

namespace {

struct Image {
    const uint8_t* bytes;
    size_t size;
};

bool WriteImage(const char* temp, const void* context) {
    const auto* image = static_cast<const Image*>(context);
    return WriteNewFile(temp, image->bytes, image->size);
}

} // namespace

int WriteEngineFile(const EngineEntry* entries, const char* path, int count) {
    if (count < 1 || count > kMaxEngines) {
        SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    const size_t capacity = SefImageCapacity(count);
    UniqueHeapBlock block = AllocateHeapBlock(capacity);
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const Image image{static_cast<uint8_t*>(block.get()),
                      EncodeSefImage(entries, count, static_cast<uint8_t*>(block.get()), capacity)};
    if (image.size == 0) {
        SetLastError(ERROR_INVALID_DATA); // an entry fails the test
        return 0;
    }
    return ReplaceFileSafely(path, "sef", WriteImage, &image) ? 1 : 0;
}

bool IsEngineFile(const char* dataDir, const char* name) {
    char path[MAX_PATH];
    if (!FolderPath(dataDir, name, path)) return false;
    UniqueFile file = OpenExclusive(path);
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 64) return false;
    uint8_t head[16];
    DWORD got = 0;
    if (!ReadFile(file.get(), head, sizeof head, &got, nullptr) || got != sizeof head) return false;
    return HasSefMagic(head, sizeof head);
}

int EnumerateEngineFiles(EngineFileCatalogue& catalogue, const char* dataDir,
                         const char* defaultFile) {
    catalogue = EngineFileCatalogue();
    char pattern[MAX_PATH];
    if (!FolderPath(dataDir, "*.sef", pattern)) {
        catalogue.count = -1;
        return -1;
    }
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA(pattern, &fd));
    if (!find) {
        catalogue.count = -1;
        return -1;
    }
    int taken = 0;
    do {
        if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) continue;
        if (std::strlen(fd.cFileName) >= kCatalogueNameSize) continue;
        if (!IsEngineFile(dataDir, fd.cFileName)) continue;
        CopyBounded(catalogue.names[taken], kCatalogueNameSize, fd.cFileName);
        ++taken;
    } while (taken < kMaxEngineFiles && FindNextFileA(find.get(), &fd));
    find.reset();
    catalogue.count = taken;
    SortCatalogue(catalogue, taken, CompareNames);
    for (int i = 0; i < taken; ++i)
        if (lstrcmpA(catalogue.names[i], defaultFile) == 0) catalogue.current = i;
    return taken;
}

int LoadEngineFileByName(EngineSet& set, const char* dataDir, const char* name) {
    char path[MAX_PATH];
    if (!FolderPath(dataDir, name, path)) return kReadCannotOpen;
    return ReadEngineFile(set, path);
}

bool EngineFilePath(const char* dataDir, const char* name, char (&path)[MAX_PATH]) {
    if (FolderPath(dataDir, name, path)) return true;
    path[0] = '\0';
    return false;
}

bool EngineFileExists(const char* dataDir, const char* name) {
    char path[MAX_PATH];
    return FolderPath(dataDir, name, path) && FileExists(path);
}

void DeleteEngineFile(const char* dataDir, const char* name) {
    char path[MAX_PATH];
    if (FolderPath(dataDir, name, path)) DeleteFileA(path);
}
