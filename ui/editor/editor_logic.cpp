#include "ui/editor/editor_logic.h"

#include <cstring>

#include "base/text.h"

namespace {

const char kTitlePrefix[] = "エンジンファイル編集 - [";
const char kCut[] = " ... ";
const char kMarker[] = " *]";

// The number of bytes of text that fit in limit bytes without splitting a character.
size_t WholeCharacters(const char* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n] != '\0') {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[n])) && text[n + 1] ? 2 : 1;
        if (n + step > limit) break;
        n += step;
    }
    return n;
}

} // namespace

void FormatEditorTitle(char* out, size_t outSize, const char* fileName) {
    if (outSize == 0) return;
    if (!fileName) fileName = "";
    char shown[kTitleNameLimit + sizeof kCut];
    if (std::strlen(fileName) > kTitleNameLimit) {
        const size_t keep = WholeCharacters(fileName, kTitleNameLimit - 1);
        std::memcpy(shown, fileName, keep);
        std::memcpy(shown + keep, kCut, sizeof kCut); // with its NUL
    } else {
        CopyBounded(shown, sizeof shown, fileName);
    }
    JoinText(out, outSize, {kTitlePrefix, shown, "]"});
}

bool MarkEditorTitle(char* title, size_t titleSize, bool modified) {
    const size_t n = FieldLength(title, titleSize);
    if (n >= titleSize) return false; // no terminator within the buffer
    const size_t markerLength = sizeof kMarker - 1;
    const bool marked =
        n >= markerLength && std::memcmp(title + n - markerLength, kMarker, markerLength) == 0;
    if (modified) {
        if (marked) return false; // one marker, never two
        if (n == 0 || title[n - 1] != ']' || n + 2 >= titleSize) return false;
        std::memcpy(title + n - 1, kMarker, sizeof kMarker); // " *]" and the NUL
        return true;
    }
    if (!marked) return false;
    title[n - markerLength] = ']';
    title[n - markerLength + 1] = '\0';
    return true;
}

bool LoadEntries(EditorEntries& work, const EngineEntry* table, int count,
                 const EngineExtras* extras) {
    if (!table || count < 1 || count > kMaxEngines) return false;
    std::memcpy(work.entries, table, sizeof(EngineEntry) * static_cast<size_t>(count));
    for (int i = 0; i < kMaxEngines; ++i)
        work.extras[i] = extras && i < count ? extras[i] : EngineExtras{};
    work.count = count;
    return true;
}

bool RemoveEntryAt(EditorEntries& work, int sel) {
    if (sel < 0 || sel >= work.count || work.count <= 1) return false;
    const auto rest = static_cast<size_t>(work.count - sel - 1);
    std::memmove(&work.entries[sel], &work.entries[sel + 1], sizeof(EngineEntry) * rest);
    std::memmove(&work.extras[sel], &work.extras[sel + 1], sizeof(EngineExtras) * rest);
    --work.count;
    std::memset(&work.entries[work.count], 0, sizeof(EngineEntry));
    work.extras[work.count] = EngineExtras{};
    return true;
}

int MoveEntryBy(EditorEntries& work, int sel, int step) {
    if (sel < 0 || sel >= work.count || (step != -1 && step != 1)) return -1;
    const int target = sel + step;
    if (target < 0 || target >= work.count) return -1;
    const EngineEntry moved = work.entries[sel];
    work.entries[sel] = work.entries[target];
    work.entries[target] = moved;
    const EngineExtras extras = work.extras[sel];
    work.extras[sel] = work.extras[target];
    work.extras[target] = extras;
    return target;
}

bool PushEntry(EditorEntries& work, const EngineEntry& entry, const EngineExtras& extras) {
    if (work.count < 0 || work.count >= kMaxEngines) return false;
    work.extras[work.count] = extras;
    work.entries[work.count++] = entry;
    return true;
}

int DroppedFilesToTry(int count, int dropped) {
    if (dropped < 0) return 0;
    if (count + dropped > kMaxEngines) return kMaxEngines + 1 - count;
    return dropped;
}

bool HasRefusedFileNameCharacter(const char* name) {
    static const char kRefused[] = "\\/:,;*?\"<>|";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        if (IsLeadByte(*p)) {
            if (p[1] == '\0') break; // a lone lead byte at the end: nothing follows
            ++p;
            continue;
        }
        if (std::strchr(kRefused, *p)) return true;
    }
    return false;
}

FileNameCheck CheckEngineFileName(const char* typed, char* fileName, size_t fileNameSize) {
    if (fileNameSize > 0) fileName[0] = '\0';
    if (!typed || typed[0] == '\0') return FileNameCheck::Empty;
    const size_t n = std::strlen(typed);
    if (n > kTypedFileNameLimit || n + 5 > fileNameSize) return FileNameCheck::TooLong;
    JoinText(fileName, fileNameSize, {typed, ".sef"});
    if (HasRefusedFileNameCharacter(fileName)) {
        fileName[0] = '\0';
        return FileNameCheck::BadCharacter;
    }
    return FileNameCheck::Ok;
}

bool JoinFolderAndName(wchar_t* out, size_t outSize, std::wstring_view folder,
                       std::wstring_view name) {
    if (outSize == 0) return false;
    const bool slash = !folder.empty() && folder.back() == L'\\';
    const size_t total = folder.size() + (slash ? 0 : 1) + name.size();
    if (total >= outSize) {
        out[0] = L'\0';
        return false;
    }
    size_t n = 0;
    for (const wchar_t c : folder)
        out[n++] = c;
    if (!slash) out[n++] = L'\\';
    for (const wchar_t c : name)
        out[n++] = c;
    out[n] = L'\0';
    return true;
}

const char* const kCharacterItemTexts[kCharacterItems] = {"Shift-JIS", "EUC", "UTF-8",
                                                          "ｴﾝｺｰﾄﾞなし"};

namespace {
const uint8_t kItemCodes[kCharacterItems] = {kCharShiftJis, kCharEuc, kCharUtf8, kCharNone};
}

int CharacterItemOf(uint8_t code) {
    for (int i = 0; i < kCharacterItems; ++i)
        if (kItemCodes[i] == code) return i;
    return -1;
}

uint8_t CharacterOfItem(int item) {
    if (item < 0 || item >= kCharacterItems) return 255;
    return kItemCodes[item];
}

EntryCheck CheckEntryFields(const EntryFields& f) {
    if (f.name[0] == '\0') return EntryCheck::NameEmpty;
    if (f.head1[0] == '\0') return EntryCheck::HeadEmpty;
    const struct {
        const char* text;
        size_t limit;
    } order[] = {
        {f.name, kNameSize - 1}, {f.head1, kHeadSize - 1}, {f.tail1, kTailSize - 1},
        {f.key1, kKeySize - 1},  {f.head2, kHeadSize - 1}, {f.tail2, kTailSize - 1},
        {f.key2, kKeySize - 1},
    };
    for (const auto& o : order)
        if (std::strlen(o.text) > o.limit) return EntryCheck::TooLong;
    return EntryCheck::Ok;
}

EngineEntry BuildEntryFromFields(const EntryFields& f, uint8_t urlMode) {
    EngineEntry e;
    std::memset(&e, 0, sizeof e);
    CopyBounded(e.Name, sizeof e.Name, f.name);
    CopyBounded(e.head[0], sizeof e.head[0], f.head1);
    CopyBounded(e.tail[0], sizeof e.tail[0], f.tail1);
    CopyBounded(e.key[0], sizeof e.key[0], f.key1[0] ? f.key1 : "+");
    CopyBounded(e.head[1], sizeof e.head[1], f.head2);
    if (e.head[1][0] != '\0') {
        CopyBounded(e.tail[1], sizeof e.tail[1], f.tail2);
        CopyBounded(e.key[1], sizeof e.key[1], f.key2[0] ? f.key2 : "+");
    }
    e.Character = CharacterOfItem(f.characterItem);
    e.UrlMode = urlMode;
    return e;
}
