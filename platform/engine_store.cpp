#include "platform/engine_store.h"

#include "base/text.h"
#include "engines/companion.h"
#include "engines/sef_codec.h"
#include "query/encode.h"
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

constexpr CompanionCodec kCodec{PlatformCp932ToUtf16, PlatformUtf16ToCp932};

// The companion's path: the engine file's path and the suffix; false when it does not fit.
bool CompanionPathOf(const wchar_t* enginePath, PathText& path) {
    path.Assign(View(enginePath));
    for (const char* c = kCompanionSuffix; *c != '\0'; ++c)
        path.Append(static_cast<wchar_t>(*c)); // ASCII
    return !path.cut();
}

// Reads the companion of the engine file at path into the set's extras: none, one that cannot
// be read, a larger one or a damaged one leave the entries without extras.
void ReadCompanion(EngineSet& set, const wchar_t* enginePath) {
    for (EngineExtras& e : set.extras)
        e = EngineExtras{};
    PathText path;
    if (!CompanionPathOf(enginePath, path)) return;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > LONGLONG(kCompanionMaxBytes))
        return;
    const auto bytes = static_cast<size_t>(size.QuadPart);
    UniqueHeapBlock block = AllocateHeapBlock(bytes + 1);
    DWORD got = 0;
    if (!block || !ReadFile(file.get(), block.get(), static_cast<DWORD>(bytes), &got, nullptr) ||
        got != bytes)
        return;
    ReadCompanionText(std::string_view(static_cast<const char*>(block.get()), bytes),
                      set.entries.get(), set.count, set.extras, kCodec);
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
    ReadCompanion(set, path);
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

using CompanionBuffer = FixedText<kCompanionTextSize>;

bool WriteCompanionImage(const wchar_t* temp, const void* context) {
    const auto* text = static_cast<const CompanionBuffer*>(context);
    return WriteNewFile(temp, text->c_str(), text->size());
}

// Writes the companion of the engine file at path, or removes it when no entry has anything
// for it.
bool WriteCompanion(const EngineEntry* entries, const EngineExtras* extras, int count,
                    const wchar_t* enginePath) {
    PathText path;
    if (!CompanionPathOf(enginePath, path)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (!HasExtras(extras, count)) {
        return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    // The name in its first line: the last part of the engine file's path.
    const wchar_t* name = enginePath;
    for (const wchar_t* c = enginePath; *c != L'\0'; ++c)
        if (*c == L'\\' || *c == L'/') name = c + 1;
    FixedText<kCatalogueNameSize> fileName;
    WideToSjis(View(name), fileName);
    const auto text = std::make_unique<CompanionBuffer>();
    if (!WriteCompanionText(fileName.c_str(), entries, extras, count, kCodec, *text)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return ReplaceFileSafely(path.c_str(), L"sef", WriteCompanionImage, text.get());
}

} // namespace

int WriteEngineFile(const EngineEntry* entries, const EngineExtras* extras, const wchar_t* path,
                    int count) {
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
    if (!ReplaceFileSafely(path, L"sef", WriteImage, &image)) return 0;
    return WriteCompanion(entries, extras, count, path) ? 1 : 0;
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
    PathText path, companion;
    if (!FolderPath(dataDir, name, path)) return;
    if (DeleteFileW(path.c_str()) && CompanionPathOf(path.c_str(), companion))
        DeleteFileW(companion.c_str());
}

bool CompanionPath(const wchar_t* enginePath, PathText& path) {
    return CompanionPathOf(enginePath, path);
}
