#include "platform/engine_store.h"

#include "base/text.h"
#include "engines/sef_codec.h"
#include "platform/file_replace.h"
#include "platform/handles.h"
#include "platform/win_text.h"

namespace {

// Full path of a name (Shift-JIS) in the data directory; false when it does not fit.
bool FolderPath(const wchar_t* dataDir, const char* name, PathText& path) {
    return JoinSjisName(path, View(dataDir), name);
}

UniqueFile OpenExclusive(const wchar_t* path) {
    return UniqueFile(
        CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

int CompareNames(const char* a, const char* b) {
    return lstrcmpW(FromSjis<kCatalogueNameSize>(a).c_str(),
                    FromSjis<kCatalogueNameSize>(b).c_str());
}

int ReadEngineFile(EngineSet& set, const wchar_t* path) {
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

bool WriteImage(const wchar_t* temp, const void* context) {
    const auto* image = static_cast<const Image*>(context);
    return WriteNewFile(temp, image->bytes, image->size);
}

} // namespace

int WriteEngineFile(const EngineEntry* entries, const wchar_t* path, int count) {
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
    return ReplaceFileSafely(path, L"sef", WriteImage, &image) ? 1 : 0;
}

namespace {

bool HasEngineImage(const wchar_t* path) {
    UniqueFile file = OpenExclusive(path);
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 64) return false;
    uint8_t head[16];
    DWORD got = 0;
    if (!ReadFile(file.get(), head, sizeof head, &got, nullptr) || got != sizeof head) return false;
    return HasSefMagic(head, sizeof head);
}

} // namespace

bool IsEngineFile(const wchar_t* dataDir, const char* name) {
    PathText path;
    return FolderPath(dataDir, name, path) && HasEngineImage(path.c_str());
}

int EnumerateEngineFiles(EngineFileCatalogue& catalogue, const wchar_t* dataDir,
                         const char* defaultFile) {
    catalogue = EngineFileCatalogue();
    PathText pattern;
    if (!JoinWidePath(pattern, View(dataDir), L"*.sef")) {
        catalogue.count = -1;
        return -1;
    }
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(pattern.c_str(), &fd));
    if (!find) {
        catalogue.count = -1;
        return -1;
    }
    int taken = 0;
    do {
        if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) continue;
        // The catalogue keeps names as the settings file and the engine files say them, in
        // Shift-JIS: a name that Shift-JIS cannot say, or that is too long, is left out.
        FixedText<kCatalogueNameSize> name;
        if (!WideToSjis(View(fd.cFileName), name) || name.cut()) continue;
        if (!IsEngineFile(dataDir, name.c_str())) continue;
        CopyBounded(catalogue.names[taken], kCatalogueNameSize, name.c_str());
        ++taken;
    } while (taken < kMaxEngineFiles && FindNextFileW(find.get(), &fd));
    find.reset();
    catalogue.count = taken;
    SortCatalogue(catalogue, taken, CompareNames);
    for (int i = 0; i < taken; ++i)
        if (CompareNames(catalogue.names[i], defaultFile) == 0) catalogue.current = i;
    return taken;
}

int LoadEngineFileByName(EngineSet& set, const wchar_t* dataDir, const char* name) {
    PathText path;
    if (!FolderPath(dataDir, name, path)) return kReadCannotOpen;
    return ReadEngineFile(set, path.c_str());
}

bool EngineFilePath(const wchar_t* dataDir, const char* name, PathText& path) {
    if (FolderPath(dataDir, name, path)) return true;
    path.clear();
    return false;
}

bool EngineFileExists(const wchar_t* dataDir, const char* name) {
    PathText path;
    return FolderPath(dataDir, name, path) && FileExists(path.c_str());
}

void DeleteEngineFile(const wchar_t* dataDir, const char* name) {
    PathText path;
    if (FolderPath(dataDir, name, path)) DeleteFileW(path.c_str());
}
