// Decisions of the engine file editor that need no Windows: the title and its modified
// marker, the working copy and its entry operations, the number of dropped files tried,
// the rules for new engine file names, paths from the open dialog's result, and the entry
// dialog's character-code list, checks and result.
#pragma once
#include <string_view>
#include <cstddef>
#include <cstdint>

#include "engines/engine_entry.h"

// ---- title ---------------------------------------------------------------------------------

constexpr size_t kEditorTitleSize = 128;
// A file name longer than this is cut in the title.
constexpr size_t kTitleNameLimit = 20;

// The clean title "エンジンファイル編集 - [name]". A name of more than 20 bytes shows its
// first 19 bytes (one less when the 19th would begin a double-byte character) and " ... ".
void FormatEditorTitle(char* out, size_t outSize, const char* fileName);

// Puts the modified marker into a title ("...]" becomes "... *]") or takes it out again.
// Returns false, leaving the title as it was, when it does not end as expected (no "]" to
// mark or a marker already there, no " *]" to clear) or the marked title would not fit.
bool MarkEditorTitle(char* title, size_t titleSize, bool modified);

// ---- the working copy ----------------------------------------------------------------------

// The editor's entries: 1 to 64 in file order (0 only before a file is loaded), each with its
// extras (its keyword), which go wherever the entry goes.
struct EditorEntries {
    EngineEntry entries[kMaxEngines];
    EngineExtras extras[kMaxEngines];
    int count;
};

// Takes a table (and its extras; none when null) as the working copy; refused for a count
// outside 1..64.
bool LoadEntries(EditorEntries& work, const EngineEntry* table, int count,
                 const EngineExtras* extras = nullptr);
// Removes entry sel; refused when sel is out of range or it is the only entry.
bool RemoveEntryAt(EditorEntries& work, int sel);
// Swaps entry sel with its neighbour (step -1 up, +1 down). Returns the moved entry's new
// index, or -1 when there is nothing to do (no selection, first up, last down).
int MoveEntryBy(EditorEntries& work, int sel, int step);
// Appends a copy of the entry; refused at 64 entries.
bool PushEntry(EditorEntries& work, const EngineEntry& entry,
               const EngineExtras& extras = EngineExtras{});

// How many of the dropped files are tried: all that fit, and one more when they do not, so
// that the limit message is shown exactly once.
int DroppedFilesToTry(int count, int dropped);

// ---- engine file names -----------------------------------------------------------------------

constexpr size_t kTypedFileNameLimit = 32;

enum class FileNameCheck {
    Ok,
    Empty,        // "ファイル名を入力してください。"
    TooLong,      // more than 32 bytes typed (an edit control that counts characters)
    BadCharacter, // "ファイル名にできない文字が入力されています。"
};

// The typed name followed by ".sef", tested for the refused characters \ / : , ; * ? " < > |
// outside double-byte characters. On Ok, fileName holds the file name.
FileNameCheck CheckEngineFileName(const char* typed, char* fileName, size_t fileNameSize);
// Whether a refused character appears outside the double-byte characters of the text.
bool HasRefusedFileNameCharacter(const char* name);

// folder + "\" (only when the folder does not end with one) + name, as the open dialog gives
// them for several files; false when it does not fit in outSize units (out is then empty).
bool JoinFolderAndName(wchar_t* out, size_t outSize, std::wstring_view folder,
                       std::wstring_view name);

// ---- the entry dialog ----------------------------------------------------------------------

constexpr int kCharacterItems = 4;
// Item texts of the character-code list, in list order.
extern const char* const kCharacterItemTexts[kCharacterItems];
// The list item of a character code: items 2 and 3 are the codes 3 and 2; -1 for a code
// outside 0..3.
int CharacterItemOf(uint8_t code);
// The code of a list item; 255 for no selection (treated like 0, Shift-JIS).
uint8_t CharacterOfItem(int item);

// The texts of the entry dialog's fields as typed (NUL-terminated, any length).
struct EntryFields {
    const char* name;
    const char* head1;
    const char* tail1;
    const char* key1;
    const char* head2;
    const char* tail2;
    const char* key2;
    int characterItem; // selected list item, -1 for none
};

enum class EntryCheck {
    Ok,
    NameEmpty, // "検索エンジン名を入力してください。", focus to the name
    HeadEmpty, // "必須項目は入力してください。", focus to the URL1 head
    TooLong,   // "長すぎる項目があります。", focus unchanged
};

// The confirmation checks in their order.
EntryCheck CheckEntryFields(const EntryFields& fields);
// The confirmed entry: separators default to "+", the URL2 tail and key are dropped when
// the URL2 head is empty, UrlMode is kept from the entry the dialog was given. The fields
// must have passed CheckEntryFields.
EngineEntry BuildEntryFromFields(const EntryFields& fields, uint8_t urlMode);
