// The editor's Windows-free decisions: title cut and marker, the working copy's invariants,
// dropped-file counts, new file names, joined paths, the entry dialog's checks and result.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/test_entries.h"
#include "ui/editor/editor_logic.h"

namespace {

std::string Title(const char* name) {
    char t[kEditorTitleSize];
    FormatEditorTitle(t, sizeof t, name);
    return t;
}

EditorEntries Work(int count) {
    EditorEntries w = {};
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(PushEntry(w, MakeEntry(std::to_string(i), "h", "+")));
    return w;
}

std::string Names(const EditorEntries& w) {
    std::string s;
    for (int i = 0; i < w.count; ++i)
        s += std::string(w.entries[i].Name) + (i + 1 < w.count ? "," : "");
    return s;
}

} // namespace

TEST(EditorLogic, TitleCutsLongNamesAtWholeCharacters) {
    const std::string prefix = "エンジンファイル編集 - [";
    EXPECT_EQ(Title("標準.sef"), prefix + "標準.sef]");
    EXPECT_EQ(Title("abcdefghijklmnop.sef"), prefix + "abcdefghijklmnop.sef]");      // 20 bytes
    EXPECT_EQ(Title("abcdefghijklmnopq.sef"), prefix + "abcdefghijklmnopq.s ... ]"); // 21
    // 18 single bytes and a double-byte character: the 19th byte would split it.
    EXPECT_EQ(Title("abcdefghijklmnopqr表.sef"), prefix + "abcdefghijklmnopqr ... ]");
    EXPECT_EQ(Title("abcdefghijklmnopq表.sef"), prefix + "abcdefghijklmnopq表 ... ]");
    EXPECT_EQ(Title(std::string(256, 'x').c_str()), prefix + std::string(19, 'x') + " ... ]");
}

TEST(EditorLogic, MarkerIsSetOnceAndClearedOnce) {
    char t[kEditorTitleSize];
    FormatEditorTitle(t, sizeof t, "a.sef");
    const std::string clean = t;
    ASSERT_TRUE(MarkEditorTitle(t, sizeof t, true));
    EXPECT_EQ(std::string(t), "エンジンファイル編集 - [a.sef *]");
    EXPECT_FALSE(MarkEditorTitle(t, sizeof t, true)); // no second marker
    EXPECT_EQ(std::string(t), clean.substr(0, clean.size() - 1) + " *]");
    EXPECT_TRUE(MarkEditorTitle(t, sizeof t, false));
    EXPECT_EQ(std::string(t), clean);
    EXPECT_FALSE(MarkEditorTitle(t, sizeof t, false)); // nothing to clear
    EXPECT_EQ(std::string(t), clean);
    char tiny[4] = "ab]";
    EXPECT_FALSE(MarkEditorTitle(tiny, sizeof tiny, true)); // would not fit
    EXPECT_STREQ(tiny, "ab]");
    char unterminated[3] = {'a', 'b', ']'};
    EXPECT_FALSE(MarkEditorTitle(unterminated, sizeof unterminated, true));
}

TEST(EditorLogic, WorkingCopyKeepsOneToSixtyFourEntries) {
    EditorEntries w = Work(3);
    EXPECT_EQ(MoveEntryBy(w, 0, -1), -1); // first up
    EXPECT_EQ(MoveEntryBy(w, 2, 1), -1);  // last down
    EXPECT_EQ(MoveEntryBy(w, -1, 1), -1); // no selection
    EXPECT_EQ(Names(w), "0,1,2");
    EXPECT_EQ(MoveEntryBy(w, 0, 1), 1);
    EXPECT_EQ(MoveEntryBy(w, 2, -1), 1);
    EXPECT_EQ(Names(w), "1,2,0");
    EXPECT_FALSE(RemoveEntryAt(w, 3));
    EXPECT_TRUE(RemoveEntryAt(w, 1));
    EXPECT_EQ(Names(w), "1,0");
    EXPECT_TRUE(RemoveEntryAt(w, 1));
    EXPECT_FALSE(RemoveEntryAt(w, 0)); // the only entry stays
    EXPECT_EQ(Names(w), "1");
    EditorEntries full = Work(64);
    EXPECT_FALSE(PushEntry(full, MakeEntry("x", "h", "+")));
    EXPECT_EQ(full.count, 64);
    EXPECT_FALSE(LoadEntries(w, full.entries, 65));
    EXPECT_FALSE(LoadEntries(w, full.entries, 0));
    EXPECT_TRUE(LoadEntries(w, full.entries, 64));
    EXPECT_EQ(w.count, 64);
}

TEST(EditorLogic, DroppedFilesTriedOneMoreThanFit) {
    const struct {
        int count, dropped, tried;
    } cases[] = {{60, 10, 5}, {60, 4, 4},  {60, 5, 5},  {64, 1, 1}, {64, 9, 1},
                 {1, 63, 63}, {1, 64, 64}, {1, 70, 64}, {5, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(DroppedFilesToTry(c.count, c.dropped), c.tried) << c.count << "+" << c.dropped;
}

TEST(EditorLogic, NewFileNames) {
    const struct {
        const char* typed;
        FileNameCheck check;
        const char* file;
    } cases[] = {
        {"", FileNameCheck::Empty, ""},
        {"abc", FileNameCheck::Ok, "abc.sef"},
        {"abc.sef", FileNameCheck::Ok, "abc.sef.sef"},
        {"ソ表", FileNameCheck::Ok, "ソ表.sef"}, // trail bytes 0x5C
        {" .x\x01", FileNameCheck::Ok, " .x\x01.sef"},
        {"a;b", FileNameCheck::BadCharacter, ""},
        {"a,b", FileNameCheck::BadCharacter, ""},
        {"ソ\\", FileNameCheck::BadCharacter, ""},
        {"12345678901234567890123456789012", FileNameCheck::Ok,
         "12345678901234567890123456789012.sef"},
        {"123456789012345678901234567890123", FileNameCheck::TooLong, ""},
    };
    for (const auto& c : cases) {
        char file[64];
        EXPECT_EQ(CheckEngineFileName(c.typed, file, sizeof file), c.check) << c.typed;
        EXPECT_STREQ(file, c.file) << c.typed;
    }
    for (char refused : std::string("\\/:,;*?\"<>|")) {
        const std::string name = std::string("a") + refused + "b";
        EXPECT_TRUE(HasRefusedFileNameCharacter(name.c_str())) << name;
    }
    EXPECT_FALSE(HasRefusedFileNameCharacter("\x81")); // a lone lead byte at the end
}

TEST(EditorLogic, FolderAndNameJoinWithOneBackslash) {
    const struct {
        const wchar_t* folder;
        const wchar_t* path;
    } cases[] = {{L"C:\\defs", L"C:\\defs\\a.sed"},
                 {L"C:\\", L"C:\\a.sed"},
                 {L"Z:\\ソ", L"Z:\\ソ\\a.sed"},
                 {L"Z:\\José\\", L"Z:\\José\\a.sed"}};
    for (const auto& c : cases) {
        wchar_t out[260];
        ASSERT_TRUE(JoinFolderAndName(out, 260, c.folder, L"a.sed"));
        EXPECT_EQ(std::wstring(out), c.path);
    }
    wchar_t small[14];
    EXPECT_TRUE(JoinFolderAndName(small, 14, L"C:\\defs", L"a.sed")); // exactly fits
    EXPECT_FALSE(JoinFolderAndName(small, 13, L"C:\\defs", L"a.sed"));
    EXPECT_EQ(std::wstring(small), L"");
}

TEST(EditorLogic, CharacterListSwapsItemsTwoAndThree) {
    const int items[] = {0, 1, 3, 2};
    for (uint8_t code = 0; code < 4; ++code) {
        EXPECT_EQ(CharacterItemOf(code), items[code]);
        EXPECT_EQ(CharacterOfItem(items[code]), code);
    }
    EXPECT_STREQ(kCharacterItemTexts[2], "UTF-8");
    EXPECT_STREQ(kCharacterItemTexts[3], "ｴﾝｺｰﾄﾞなし");
    EXPECT_EQ(CharacterItemOf(7), -1);
    EXPECT_EQ(CharacterItemOf(255), -1);
    EXPECT_EQ(CharacterOfItem(-1), 255);
}

TEST(EditorLogic, EntryChecksInOrderAndResult) {
    const std::string n27(27, 'n'), n28(28, 'n'), s256(256, 's'), k16(16, 'k');
    const struct {
        std::string name, head1, tail1, key1, head2, tail2, key2;
        EntryCheck check;
    } cases[] = {
        {"", "", "", "", "", "", "", EntryCheck::NameEmpty},
        {"", "h", "", "", "", "", "", EntryCheck::NameEmpty},
        {"n", "", "", "", "", "", "", EntryCheck::HeadEmpty},
        {n27, "h", "", "", "", "", "", EntryCheck::Ok},
        {n28, "", "", "", "", "", "", EntryCheck::HeadEmpty}, // emptiness first
        {n28, "h", "", "", "", "", "", EntryCheck::TooLong},
        {"n", s256, "", "", "", "", "", EntryCheck::TooLong},
        {"n", "h", s256, "", "", "", "", EntryCheck::TooLong},
        {"n", "h", "", k16, "", "", "", EntryCheck::TooLong},
        {"n", "h", "", "", s256, "", "", EntryCheck::TooLong},
        // The URL2 tail and key are tested even when the URL2 head is empty.
        {"n", "h", "", "", "", s256, "", EntryCheck::TooLong},
        {"n", "h", "", "", "", "", k16, EntryCheck::TooLong},
    };
    for (const auto& c : cases) {
        const EntryFields f = {c.name.c_str(),  c.head1.c_str(), c.tail1.c_str(), c.key1.c_str(),
                               c.head2.c_str(), c.tail2.c_str(), c.key2.c_str(),  0};
        EXPECT_EQ(CheckEntryFields(f), c.check) << c.name.size() << " " << c.head1.size();
    }
    // Separators default to "+"; without a URL2 head its tail and key are dropped.
    EntryFields f = {"表ソ", "h/?q=", "&t", "", "", "tail2", "key2", 3};
    EngineEntry e = BuildEntryFromFields(f, 6);
    const EngineEntry want = MakeEntry("表ソ", "h/?q=", "+", "&t", "", "", "", kCharNone, 6);
    EXPECT_EQ(std::memcmp(&e, &want, sizeof e), 0);
    f.head2 = "or/?q=";
    f.key2 = "";
    f.characterItem = -1;
    e = BuildEntryFromFields(f, 0);
    EXPECT_STREQ(e.key[1], "+");
    EXPECT_STREQ(e.tail[1], "tail2");
    EXPECT_EQ(e.Character, 255);
}
