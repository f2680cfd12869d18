// The engine files on disk, through the real file functions under Wine.
#include "platform/engine_store.h"
#include "platform/file_replace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "engines/sef_codec.h"
#include "platform/app_state.h"
#include "platform/handles.h"
#include "tests/support/text.h"
#include "platform/settings_file.h"
#include "tests/support/sef_image.h"
#include "tests/support/test_entries.h"
#include "tests/support/file_text.h"
#include "tests/support/paths.h"
#include "tests/support/temp_dir.h"

namespace {

EngineEntry Entry(const char* name, const char* head = "example.jp/?q=", const char* key = "+") {
    return MakeEntry(name, head, key);
}

const EngineExtras kNone[1] = {};

std::string ImageOf(const std::vector<EngineEntry>& entries) {
    const std::vector<uint8_t> img = SefImageOf(entries.data(), static_cast<int>(entries.size()));
    EXPECT_FALSE(img.empty());
    return std::string(img.begin(), img.end());
}

class EngineFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramDirectory(app.paths, Widen(dir.path()).c_str());
        app.settings = Settings();
        app.catalogue = EngineFileCatalogue();
    }
    void Put(const std::string& name, const std::vector<EngineEntry>& entries) {
        ASSERT_TRUE(WriteFileText(dir / name, ImageOf(entries)));
    }
    TempDir dir;
    AppState app;
};

TEST_F(EngineFiles, WorkedExampleIsWrittenAndReadBackByteForByte) {
    EngineEntry e = Entry("AB", "x/?q=", "+");
    e.Character = 2;
    const std::string path = dir / "example.sef";
    ASSERT_EQ(WriteEngineFile(&e, kNone, Widen(path).c_str(), 1), 1);
    const std::string bytes = ReadFileText(path);
    ASSERT_EQ(bytes.size(), 82u);
    EngineSet set;
    ASSERT_EQ(ReadEngineFile(set, Widen(path).c_str()), 1);
    EXPECT_EQ(0, std::memcmp(&set.entries[0], &e, sizeof e));
}

// And its companion, the bundled engines' keywords and suggestion URLs, is what the program
// writes for them.
TEST_F(EngineFiles, TheBundledFileIsExactlyWhatTheWriterProduces) {
    EngineSet set;
    const int count = ReadEngineFile(set, Widen(DistDir() + kDefaultSef).c_str());
    ASSERT_GE(count, 12);
    const std::string copy = dir / kDefaultSef;
    ASSERT_EQ(WriteEngineFile(set.entries.get(), set.extras, Widen(copy).c_str(), count), 1);
    EXPECT_EQ(ReadFileText(copy), ReadFileText(DistDir() + kDefaultSef));
    EXPECT_EQ(ReadFileText(copy + ".txt"), ReadFileText(DistDir() + kDefaultSef + ".txt"));
    EXPECT_STREQ(set.entries[0].Name, "Google");
    EXPECT_STREQ(set.extras[0].Keyword, "g");
    EXPECT_STREQ(set.extras[0].Suggest,
                 "https://www.google.com/complete/search?client=firefox&q={searchTerms}");
}

TEST_F(EngineFiles, ReaderResults) {
    EngineSet set;
    Put("good.sef", {Entry("one"), Entry("two")});
    ASSERT_EQ(ReadEngineFile(set, Widen(dir / "good.sef").c_str()), 2);
    EngineEntry* const table = set.entries.get();

    EXPECT_EQ(ReadEngineFile(set, Widen(dir / "missing.sef").c_str()), -1);
    std::string bad = ImageOf({Entry("x")});
    bad[20] = static_cast<char>(bad[20] ^ 1); // check value
    ASSERT_TRUE(WriteFileText(dir / "bad.sef", bad));
    EXPECT_EQ(ReadEngineFile(set, Widen(dir / "bad.sef").c_str()), -2);
    ASSERT_TRUE(WriteFileText(dir / "short.sef", std::string(66, '\0')));
    EXPECT_EQ(ReadEngineFile(set, Widen(dir / "short.sef").c_str()), -2);
    // Open elsewhere without sharing: cannot be opened.
    UniqueFile held(CreateFileA((dir / "good.sef").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(ReadEngineFile(set, Widen(dir / "good.sef").c_str()), -1);
    held.reset();

    EXPECT_EQ(set.entries.get(), table); // unchanged by every failure
    EXPECT_EQ(set.count, 2);
    EXPECT_STREQ(set.entries[1].Name, "two");
}

TEST_F(EngineFiles, AFailedSaveLeavesTheOldFileIntact) {
    const std::string path = dir / "keep.sef";
    Put("keep.sef", {Entry("old")});
    const std::string before = ReadFileText(path);

    // An entry the writer refuses: nothing is touched.
    EngineEntry noKey = Entry("new", "h", "");
    EXPECT_EQ(WriteEngineFile(&noKey, kNone, Widen(path).c_str(), 1), 0);
    EXPECT_EQ(ReadFileText(path), before);

    // The target is held open without sharing, so it cannot be replaced: the old bytes stay
    // and no temporary file is left behind.
    UniqueFile held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EngineEntry fresh = Entry("new");
    EXPECT_EQ(WriteEngineFile(&fresh, kNone, Widen(path).c_str(), 1), 0);
    held.reset();
    EXPECT_EQ(ReadFileText(path), before);
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA((dir / "*.tmp").c_str(), &fd));
    EXPECT_FALSE(find) << fd.cFileName;

    // A directory that does not exist: 0.
    EXPECT_EQ(WriteEngineFile(&fresh, kNone, Widen(dir / "no\\such\\x.sef").c_str(), 1), 0);

    // And a good save replaces the file.
    EXPECT_EQ(WriteEngineFile(&fresh, kNone, Widen(path).c_str(), 1), 1);
    EngineSet set;
    ASSERT_EQ(ReadEngineFile(set, Widen(path).c_str()), 1);
    EXPECT_STREQ(set.entries[0].Name, "new");
}

TEST_F(EngineFiles, QuickTestNeedsMoreThan64BytesAndTheMagic) {
    std::string head(64, '\0');
    std::memcpy(&head[0], "VANTU_SEFFILE", 14);
    ASSERT_TRUE(WriteFileText(dir / "64.sef", head));
    head.push_back('A');
    ASSERT_TRUE(WriteFileText(dir / "65.sef", head));
    head[0] = 'v';
    ASSERT_TRUE(WriteFileText(dir / "lower.sef", head));
    EXPECT_FALSE(IsEngineFile(app.paths.programDir, "64.sef"));
    EXPECT_TRUE(IsEngineFile(app.paths.programDir, "65.sef")); // passes the quick test ...
    EngineSet set;
    EXPECT_EQ(ReadEngineFile(set, Widen(dir / "65.sef").c_str()), -2); // ... but not the reader
    EXPECT_FALSE(IsEngineFile(app.paths.programDir, "lower.sef"));
    EXPECT_FALSE(IsEngineFile(app.paths.programDir, "missing.sef"));
}

TEST_F(EngineFiles, CatalogueOrderSkipsAndCurrentFile) {
    // Wine's file system ignores letter case, so a.sef and A.sef cannot both exist here; these
    // names still tell lstrcmpA's order (A a2 b C) from a byte order (A C a2 b).
    for (const char* name : {"b.sef", "C.sef", "a2.sef", "A.sef", "ro.sef"})
        Put(name, {Entry(name)});
    SetFileAttributesA((dir / "ro.sef").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryA((dir / "x.sef").c_str(), nullptr));
    ASSERT_TRUE(WriteFileText(dir / "text.sef", std::string(100, 'z')));
    ASSERT_TRUE(WriteFileText(dir / "other.txt", "not listed"));
    // A valid file whose name Shift-JIS cannot say: the settings file could not name it.
    const std::wstring hangul = Widen(dir.path()) + L"\uAE40.sef";
    ASSERT_TRUE(CopyFileW(Widen(dir / "b.sef").c_str(), hangul.c_str(), FALSE));
    CopyBounded(app.settings.DefaultSEF, sizeof app.settings.DefaultSEF, "b.sef");

    ASSERT_EQ(EnumerateEngineFiles(app.catalogue, app.paths.programDir, app.settings.DefaultSEF),
              4);
    const std::vector<std::string> want = {"A.sef", "a2.sef", "b.sef", "C.sef"};
    EXPECT_EQ(std::vector<std::string>(app.catalogue.names, app.catalogue.names + 4), want);
    EXPECT_EQ(app.catalogue.names[4][0], '\0');
    EXPECT_EQ(app.catalogue.current, 2);

    // A name that differs in letter case only is no match.
    CopyBounded(app.settings.DefaultSEF, sizeof app.settings.DefaultSEF, "B.SEF");
    ASSERT_EQ(EnumerateEngineFiles(app.catalogue, app.paths.programDir, app.settings.DefaultSEF),
              4);
    EXPECT_EQ(app.catalogue.current, 0);

    // Once writable, the read-only file is listed at the next enumeration.
    SetFileAttributesA((dir / "ro.sef").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(EnumerateEngineFiles(app.catalogue, app.paths.programDir, app.settings.DefaultSEF),
              5);
}

TEST_F(EngineFiles, CatalogueCountsNoMatchNoneValidAndAtMost32) {
    EXPECT_EQ(EnumerateEngineFiles(app.catalogue, app.paths.programDir, app.settings.DefaultSEF),
              -1);
    EXPECT_EQ(app.catalogue.count, -1);
    ASSERT_TRUE(WriteFileText(dir / "junk.sef", std::string(100, 'j')));
    EXPECT_EQ(EnumerateEngineFiles(app.catalogue, app.paths.programDir, app.settings.DefaultSEF),
              0);
    for (int i = 0; i < 40; ++i)
        Put("f" + std::to_string(100 + i) + ".sef", {Entry("e")});
    EXPECT_EQ(EnumerateEngineFiles(app.catalogue, app.paths.programDir, app.settings.DefaultSEF),
              32);
    EXPECT_EQ(CatalogueSize(app.catalogue), 32);
    for (int i = 1; i < 32; ++i)
        EXPECT_LT(lstrcmpA(app.catalogue.names[i - 1], app.catalogue.names[i]), 0);
}

TEST_F(EngineFiles, LoadByNameReplacesTheActiveSetOnlyOnSuccess) {
    Put("one.sef", {Entry("first")});
    Put("two.sef", {Entry("x"), Entry("y")});
    ASSERT_TRUE(WriteFileText(dir / "bad.sef", std::string(80, 'b')));
    app.activeSet = EngineSet();
    EXPECT_EQ(LoadEngineFileByName(app.activeSet, app.paths.programDir, "one.sef"), 1);
    EXPECT_EQ(app.activeSet.count, 1);
    EXPECT_EQ(LoadEngineFileByName(app.activeSet, app.paths.programDir, "bad.sef"), -2);
    EXPECT_EQ(LoadEngineFileByName(app.activeSet, app.paths.programDir, "none.sef"), -1);
    EXPECT_EQ(app.activeSet.count, 1);
    EXPECT_STREQ(app.activeSet.entries[0].Name, "first");
    EXPECT_EQ(LoadEngineFileByName(app.activeSet, app.paths.programDir, "two.sef"), 2);
    EXPECT_EQ(app.activeSet.count, 2);
    EXPECT_TRUE(EngineFileExists(app.paths.programDir, "two.sef"));
    DeleteEngineFile(app.paths.programDir, "two.sef");
    EXPECT_FALSE(EngineFileExists(app.paths.programDir, "two.sef"));
    EXPECT_FALSE(FileExists(Widen(dir / "two.sef").c_str()));
    EXPECT_TRUE(FileExists(Widen(dir.path()).c_str()));
    app.activeSet = EngineSet();
}

} // namespace
