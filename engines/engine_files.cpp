#include "engines/engine_files.h"

#include <cstring>

#include "app/globals.h"
#include "app/handles.h"
#include "app/settings.h"
#include "app/text.h"
#include "engines/sef_codec.h"

EngineFileCatalogue g_catalogue;
EngineSet g_activeSet;

namespace {

// Full path of a name in the program directory; false when it does not fit.
bool ProgramPath(const char* name, char (&path)[MAX_PATH]) {
    FixedText<MAX_PATH> text(std::string_view(g_programDir, FieldLength(g_programDir, MAX_PATH)));
    text.Append(name);
    if (text.cut()) return false;
    CopyBounded(path, sizeof path, text.c_str(), text.size());
    return true;
}

UniqueFile OpenExclusive(const char* path) {
    return UniqueFile(
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

} // namespace

int CompareNames(const char* a, const char* b) {
    return lstrcmpA(a, b);
}

bool IsReadOnlyFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
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

bool WriteNewFile(const char* path, const void* data, size_t size) {
    UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), static_cast<const uint8_t*>(data), size) &&
           FlushFileBuffers(file.get());
}

bool ReplaceFileSafely(const char* path, const char* prefix, FileWriter write,
                       const void* context) {
    // A read-only file is never replaced, also where the file system would let it be.
    if (IsReadOnlyFile(path)) return false;
    // Write beside the target, then put the new file in its place in one step, so that an
    // interrupted or failed write never destroys the old file.
    char dir[MAX_PATH];
    CopyBounded(dir, sizeof dir, path);
    if (!TrimToDirectory(dir)) CopyBounded(dir, sizeof dir, ".\\");
    char temp[MAX_PATH];
    if (!GetTempFileNameA(dir, prefix, 0, temp)) return false;
    const bool ok = write(temp, context) &&
                    MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temp);
    return ok;
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
    if (count < 1 || count > kMaxEngines) return 0;
    const size_t capacity = SefImageCapacity(count);
    UniqueHeapBlock block = AllocateHeapBlock(capacity);
    if (!block) return 0;
    const Image image{static_cast<uint8_t*>(block.get()),
                      EncodeSefImage(entries, count, static_cast<uint8_t*>(block.get()), capacity)};
    if (image.size == 0) return 0;
    return ReplaceFileSafely(path, "sef", WriteImage, &image) ? 1 : 0;
}

bool IsEngineFile(const char* name) {
    char path[MAX_PATH];
    if (!ProgramPath(name, path)) return false;
    UniqueFile file = OpenExclusive(path);
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 64) return false;
    uint8_t head[16];
    DWORD got = 0;
    if (!ReadFile(file.get(), head, sizeof head, &got, nullptr) || got != sizeof head) return false;
    return HasSefMagic(head, sizeof head);
}

int EnumerateEngineFiles() {
    g_catalogue = EngineFileCatalogue();
    char pattern[MAX_PATH];
    if (!ProgramPath("*.sef", pattern)) {
        g_catalogue.count = -1;
        return -1;
    }
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA(pattern, &fd));
    if (!find) {
        g_catalogue.count = -1;
        return -1;
    }
    int taken = 0;
    do {
        if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) continue;
        if (std::strlen(fd.cFileName) >= kCatalogueNameSize) continue;
        if (!IsEngineFile(fd.cFileName)) continue;
        CopyBounded(g_catalogue.names[taken], kCatalogueNameSize, fd.cFileName);
        ++taken;
    } while (taken < kMaxEngineFiles && FindNextFileA(find.get(), &fd));
    find.reset();
    g_catalogue.count = taken;
    SortCatalogue(g_catalogue, taken, CompareNames);
    for (int i = 0; i < taken; ++i)
        if (lstrcmpA(g_catalogue.names[i], g_settings.DefaultSEF) == 0) g_catalogue.current = i;
    return taken;
}

int LoadEngineFileByName(const char* name) {
    char path[MAX_PATH];
    if (!ProgramPath(name, path)) return kReadCannotOpen;
    return ReadEngineFile(g_activeSet, path);
}

bool EngineFilePath(const char* name, char (&path)[MAX_PATH]) {
    if (ProgramPath(name, path)) return true;
    path[0] = '\0';
    return false;
}

bool EngineFileExists(const char* name) {
    char path[MAX_PATH];
    return ProgramPath(name, path) && FileExists(path);
}

void DeleteEngineFile(const char* name) {
    char path[MAX_PATH];
    if (ProgramPath(name, path)) DeleteFileA(path);
}
