// The settings file through the real profile functions under Wine.
#include "platform/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "platform/app_state.h"
#include "platform/engine_store.h"
#include "platform/handles.h"
#include "platform/profile_file.h"
#include "ui/common/resource.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text.h"

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramDirectory(app.paths, Widen(dir.path()).c_str());
        app.settings = Settings();
        app.catalogue = EngineFileCatalogue();
    }
    // What the bar writes at its exit: its position, the current file and its engine.
    void Save(HWND bar) {
        const int n = app.catalogue.current;
        const int selection =
            static_cast<int>(SendDlgItemMessageA(bar, IDC_ENGINE, CB_GETCURSEL, 0, 0));
        SaveSettings(app.settings, app.paths.iniPath,
                     {RestoredPosition(bar), app.catalogue.names[n], selection}, app.history);
    }
    // The file as bytes, whatever the system's code page (the suite runs under several).
    std::string Bytes() { return ReadFileText(Narrow(app.paths.iniPath)); }
    void Ini(const std::string& text) {
        ASSERT_TRUE(WriteFileText(Narrow(app.paths.iniPath), text));
    }
    std::string Value(const char* section, const char* key) {
        ProfileDocument doc;
        doc.Load(Bytes());
        char buf[512];
        doc.Get(section, key, buf, sizeof buf);
        return doc.Has(section, key) ? buf : "<none>";
    }
    // A stand-in for the search bar: a window with an engine combo of three items.
    UniqueWindow MakeBar(int selected) {
        UniqueWindow bar(CreateWindowExA(0, "STATIC", "bar", WS_POPUP, 100, 50, 200, 40, nullptr,
                                         nullptr, nullptr, nullptr));
        HWND combo =
            CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 100,
                            bar.get(), reinterpret_cast<HMENU>(IDC_ENGINE), nullptr, nullptr);
        for (const char* s : {"e0", "e1", "e2"})
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        SendMessageA(combo, CB_SETCURSEL, selected, 0);
        return bar;
    }
    TempDir dir;
    AppState app;
};

TEST_F(SettingsFile, MissingFileGivesTheDefaults) {
    LoadSettings(app.settings, app.paths.iniPath);
    const Settings& s = app.settings;
    EXPECT_EQ(s.Count, 0);
    EXPECT_EQ(s.TaskErase, 1);
    for (uint8_t flag : {s.ShowMode, s.Sound, s.TipMode, s.TrayMode, s.AutoSearch, s.Max,
                         s.NotSaveDS, s.NotSaveIS, s.NotWinClose})
        EXPECT_EQ(flag, 0);
    EXPECT_STREQ(s.Browser, "");
    EXPECT_STREQ(s.DefaultSEF, "");
}

TEST_F(SettingsFile, EightBitFieldsKeepTheLowByte) {
    struct Case {
        const char* value;
        uint8_t max;
    } cases[] = {{"75", 75}, {"300", 44}, {"256", 0}, {"-1", 255}, {"abc", 0}, {"7x", 7}};
    for (const Case& c : cases) {
        Ini(std::string("[History]\r\nMax=") + c.value + "\r\n[Window]\r\nShowMode=513\r\n");
        LoadSettings(app.settings, app.paths.iniPath);
        EXPECT_EQ(app.settings.Max, c.max) << c.value;
        EXPECT_EQ(app.settings.ShowMode, 1) << c.value;
    }
}

TEST_F(SettingsFile, NoTrayIconMeansTheBarNeverHidesItself) {
    Ini("[Window]\r\nTrayMode=1\r\nTaskErase=1\r\nNotWinClose=1\r\n");
    LoadSettings(app.settings, app.paths.iniPath);
    EXPECT_EQ(app.settings.TrayMode, 1);
    EXPECT_EQ(app.settings.TaskErase, 0);
    EXPECT_EQ(app.settings.NotWinClose, 0);
    UniqueWindow bar = MakeBar(0);
    Save(bar.get());
    EXPECT_EQ(Value("Window", "TaskErase"), "0");
    EXPECT_EQ(Value("Window", "NotWinClose"), "0");

    Ini("[Window]\r\nTrayMode=256\r\nTaskErase=1\r\nNotWinClose=1\r\n"); // low byte 0: tray on
    LoadSettings(app.settings, app.paths.iniPath);
    EXPECT_EQ(app.settings.TaskErase, 1);
    EXPECT_EQ(app.settings.NotWinClose, 1);
}

TEST_F(SettingsFile, TextsAndNamesAreReadAsStored) {
    Ini("[search]\r\nbrowser=C:\\ブラウザ\\表示.exe\r\nDefaultSEF=標準.sef\r\nCount=41\r\n");
    LoadSettings(app.settings, app.paths.iniPath);
    EXPECT_STREQ(app.settings.Browser, "C:\\ブラウザ\\表示.exe");
    EXPECT_STREQ(app.settings.DefaultSEF, "標準.sef");
    EXPECT_EQ(app.settings.Count, 41);
    Ini("[Search]\r\nBrowser=" + std::string(400, 'b') + "\r\n");
    LoadSettings(app.settings, app.paths.iniPath);
    EXPECT_EQ(std::string(app.settings.Browser), std::string(259, 'b')); // cut to the buffer
}

TEST_F(SettingsFile, SaveWritesEveryKeyAndEmptiesTheHistory) {
    Ini("[History]\r\nMax=2\r\nHistoryA=old\r\nHistoryZ=older\r\n");
    LoadSettings(app.settings, app.paths.iniPath);
    app.settings.ShowMode = 1;
    app.settings.Sound = 1;
    app.settings.Count = 12;
    CopyBounded(app.catalogue.names[0], kCatalogueNameSize, "a.sef");
    CopyBounded(app.catalogue.names[1], kCatalogueNameSize, "標準.sef");
    app.catalogue.count = 2;
    app.catalogue.current = 1;
    UniqueWindow bar = MakeBar(2);
    Save(bar.get());

    EXPECT_EQ(Value("Window", "ShowMode"), "1");
    EXPECT_EQ(Value("Search", "Sound"), "1");
    EXPECT_EQ(Value("Window", "TaskErase"), "1");
    EXPECT_EQ(Value("Search", "Browser"), ""); // written, also when empty
    EXPECT_EQ(Value("Search", "DefaultSEF"), "標準.sef");
    EXPECT_EQ(Value("Search", "Count"), "12");
    EXPECT_EQ(Value("SEFIndex", "標準.sef"), "2");
    EXPECT_EQ(Value("History", "Max"), "2");
    EXPECT_EQ(Value("History", "HistoryA"), "<none>");
    EXPECT_EQ(Value("History", "HistoryZ"), "<none>");
    EXPECT_EQ(Value("Search", "NotSaveDS"), "<none>"); // never written
    RECT r;
    GetWindowRect(bar.get(), &r);
    EXPECT_EQ(Value("Window", "PosX"), std::to_string(r.left));
    EXPECT_EQ(Value("Window", "PosY"), std::to_string(r.top));
}

TEST_F(SettingsFile, NotSaveFlagsKeepDefaultSefAndIndexes) {
    Ini("[Search]\r\nDefaultSEF=mine.sef\r\nNotSaveDS=1\r\nNotSaveIS=1\r\n");
    LoadSettings(app.settings, app.paths.iniPath);
    CopyBounded(app.catalogue.names[0], kCatalogueNameSize, "other.sef");
    app.catalogue.count = 1;
    UniqueWindow bar = MakeBar(1);
    Save(bar.get());
    EXPECT_EQ(Value("Search", "DefaultSEF"), "mine.sef");
    EXPECT_EQ(Value("SEFIndex", "other.sef"), "<none>");
}

// A settings file saved as UTF-16 by another tool is not Shift-JIS: it is left as it is
// (the exit then says that the settings were not saved) rather than written over.
TEST_F(SettingsFile, AUtf16FileIsNeverWrittenOver) {
    const std::string utf16("\xFF\xFE[\0S\0]\0", 8);
    Ini(utf16);
    UniqueWindow bar = MakeBar(0);
    EXPECT_FALSE(SaveSettings(app.settings, app.paths.iniPath, {RestoredPosition(bar.get()), "", 0},
                              app.history));
    EXPECT_FALSE(WriteProfileInt(app.paths.iniPath, "Window", "PosX", 1));
    EXPECT_EQ(Bytes(), utf16);
}

TEST_F(SettingsFile, OneValueWrittenAsSignedDecimal) {
    WriteProfileInt(app.paths.iniPath, "Window", "PosX", -280);
    WriteProfileInt(app.paths.iniPath, "SEFIndex", "標準.sef", 7);
    EXPECT_EQ(Value("Window", "PosX"), "-280");
    EXPECT_EQ(ReadProfileInt(app.paths.iniPath, "Window", "PosX", 0), -280);
    EXPECT_EQ(ReadProfileInt(app.paths.iniPath, "SEFIndex", "標準.sef", 0), 7);
}

// The same Shift-JIS file on every system: what is read is what was written, byte for byte,
// and the lines the program does not own stay as they were.
TEST_F(SettingsFile, ShiftJisRoundTripOnAnySystem) {
    const std::string comment = "; ソ表=keep\r\n";
    const struct {
        const char* browser;
        const char* file;
    } cases[] = {
        {"C:\\ブラウザ\\表示.exe", "標準.sef"}, {"", "ソース.sef"}, {"C:\\x.exe", "a.sef"}};
    for (const auto& c : cases) {
        Ini(comment + "[Window]\r\nPosX=5\r\n[Other]\r\nx=ー\r\n");
        LoadSettings(app.settings, app.paths.iniPath);
        CopyBounded(app.settings.Browser, sizeof app.settings.Browser, c.browser);
        CopyBounded(app.catalogue.names[0], kCatalogueNameSize, c.file);
        app.catalogue.count = 1;
        UniqueWindow bar = MakeBar(2);
        Save(bar.get());
        const std::string bytes = Bytes();
        EXPECT_NE(bytes.find(std::string("Browser=") + c.browser + "\r\n"), std::string::npos);
        EXPECT_NE(bytes.find(std::string("DefaultSEF=") + c.file + "\r\n"), std::string::npos);
        EXPECT_NE(bytes.find(std::string("[SEFIndex]\r\n") + c.file + "=2\r\n"), std::string::npos)
            << bytes;
        EXPECT_EQ(bytes.compare(0, comment.size(), comment), 0);
        EXPECT_NE(bytes.find("[Other]\r\nx=ー\r\n"), std::string::npos);
        LoadSettings(app.settings, app.paths.iniPath);
        EXPECT_STREQ(app.settings.Browser, c.browser);
        EXPECT_STREQ(app.settings.DefaultSEF, c.file);
        EXPECT_EQ(ReadProfileInt(app.paths.iniPath, "SEFIndex", c.file, -1), 2);
    }
}

} // namespace
