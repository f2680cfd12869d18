// The program started from a folder this account cannot write (tests/e2e/run_unprivileged.sh
// runs this suite as an ordinary user, with a program folder owned by root): the settings,
// the history and the engine files live in %APPDATA%\Morvel, filled from the program folder
// at the first start, and everything the user did comes back after a restart.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>

#include "engines/sef_codec.h"
#include "tests/support/driver.h"
#include "tests/support/file_text.h"

using namespace e2e;

namespace {

std::string DataFolder() {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\Morvel\\";
}

int EntriesIn(const std::string& path) {
    const std::string bytes = ReadFileText(path);
    std::unique_ptr<EngineEntry[]> table;
    return DecodeSefImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), table);
}

int Ini(const char* section, const char* key) {
    return GetPrivateProfileIntA(section, key, -1, (DataFolder() + "vantu.ini").c_str());
}

class Unprivileged : public testing::Test {
  protected:
    void SetUp() override {
        program_ = EnvText("MORVEL_PROGRAM_DIR");
        if (program_.empty()) GTEST_SKIP() << "run by tests/e2e/run_unprivileged.sh only";
        if (program_.back() != '\\') program_ += '\\';
    }
    // Starts vantu.exe from the program folder; the stand-in browser logs into b_.dir.
    HWND Start() {
        Process::Options o;
        o.programFolder = program_;
        return b_.Launch(o) ? b_.bar : nullptr;
    }
    bool Exit() {
        DWORD code = 1;
        // A message at exit would keep the process: it must end by itself, with 0.
        return b_.Exit(&code) && code == 0;
    }
    HWND OpenDialogWith(HWND bar, int command, int control) {
        PostMessageA(bar, WM_COMMAND, command, 0);
        HWND d = nullptr;
        WaitUntil([&] { return (d = b_.FindDialogWith(control)) != nullptr; });
        return d;
    }

    std::string program_;
    RunningBar b_{ProgramDir::Options{false, false, false, false}};
};

} // namespace

TEST_F(Unprivileged, SettingsPositionEngineAndHistoryComeBack) {
    const std::string data = DataFolder();
    ASSERT_FALSE(PathExists(data)) << "left from an earlier run";
    const std::string programIni = ReadFileText(program_ + "vantu.ini");
    {
        UniqueFile probe(CreateFileA((program_ + "probe.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        ASSERT_FALSE(probe) << "the program folder can be written: nothing to show";
    }

    HWND bar = Start();
    ASSERT_NE(bar, nullptr);
    // The first start filled the data folder from the program folder.
    EXPECT_EQ(ReadFileText(data + "vantu.ini"), programIni);
    EXPECT_EQ(ReadFileText(data + kDefaultSef), ReadFileText(program_ + kDefaultSef));
    const std::string companion = std::string(kDefaultSef) + ".txt"; // its keywords go with it
    EXPECT_EQ(ReadFileText(data + companion), ReadFileText(program_ + companion));
    ASSERT_GE(ComboCount(GetDlgItem(bar, IDC_ENGINE)), 2);

    // Moved, another engine, a search, and topmost through the settings sheet.
    SetWindowPos(bar, nullptr, 123, 145, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Send(bar, kSetOption, MAKEWPARAM(kOptionEngine, 1));
    SendKeyword(bar, "morvel-data");
    Send(bar, kSetOption, MAKEWPARAM(kOptionSearch, 0));
    EXPECT_TRUE(WaitUntil([&] { return b_.dir.BrowserLog().size() == 1; }, 15000));
    SheetPage s;
    ASSERT_TRUE(s.Open(b_, kGeneral));
    s.Click(IDC_GEN_TOPMOST);
    ASSERT_TRUE(s.Close(IDOK));
    ASSERT_TRUE(Exit());

    EXPECT_EQ(ReadFileText(program_ + "vantu.ini"), programIni);
    const struct {
        const char* section;
        const char* key;
        int value;
    } saved[] = {{"Window", "PosX", 123},
                 {"Window", "PosY", 145},
                 {"Window", "ShowMode", 1},
                 {"History", "Max", 10},
                 {"Search", "Count", 1}};
    for (const auto& s : saved)
        EXPECT_EQ(Ini(s.section, s.key), s.value) << s.key;

    // Everything comes back after a restart.
    bar = Start();
    ASSERT_NE(bar, nullptr);
    RECT r = {};
    GetWindowRect(bar, &r);
    EXPECT_EQ(r.left, 123);
    EXPECT_EQ(r.top, 145);
    EXPECT_EQ(ComboSelection(GetDlgItem(bar, IDC_ENGINE)), 1);
    EXPECT_TRUE(WaitUntil([&] { return GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST; }));
    HWND keyword = GetDlgItem(bar, IDC_KEYWORD);
    EXPECT_GE(Send(keyword, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>("morvel-data")),
              0);

    // The about box says where the data lives.
    HWND about = OpenDialogWith(bar, IDM_ABOUT, IDC_ABOUT_DATA);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ItemText(about, IDC_ABOUT_DATA), "データの保存先: " + data);
    Shot("about-data-folder", about);
    PressButton(about, IDC_ABOUT_OK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(Exit());
}

TEST_F(Unprivileged, EditorSavesAndCreatesEngineFilesInTheDataFolder) {
    const std::string data = DataFolder();
    const std::string bundled = ReadFileText(program_ + kDefaultSef);
    HWND bar = Start();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(PathExists(data + kDefaultSef));
    const int before = EntriesIn(data + kDefaultSef);
    ASSERT_GE(before, 2);

    HWND editor = OpenDialogWith(bar, IDM_EDITOR, IDC_ENGINE_LIST);
    ASSERT_NE(editor, nullptr);
    Send(GetDlgItem(editor, IDC_ENGINE_LIST), LB_SETCURSEL, 0);
    Send(editor, WM_COMMAND, IDM_DELETE_ENTRY);
    Send(editor, WM_COMMAND, IDM_SAVE_FILE);
    Sleep(300);
    EXPECT_EQ(FindMessageBox(b_.proc.Pid()), nullptr)
        << MessageBoxText(FindMessageBox(b_.proc.Pid()));
    EXPECT_EQ(EntriesIn(data + kDefaultSef), before - 1);

    // A new engine file is made in the data folder.
    PostMessageA(editor, WM_COMMAND, IDM_NEW_FILE, 0);
    HWND named = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (named = b_.FindDialogWith(IDC_FILE_NAME)) != nullptr; }));
    Send(GetDlgItem(named, IDC_FILE_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("mine"));
    PressButton(named, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return PathExists(data + "mine.sef"); }));
    Sleep(300);
    EXPECT_EQ(FindMessageBox(b_.proc.Pid()), nullptr)
        << MessageBoxText(FindMessageBox(b_.proc.Pid()));
    EXPECT_FALSE(PathExists(program_ + "mine.sef"));
    EXPECT_EQ(ReadFileText(program_ + kDefaultSef), bundled);
    PostMessageA(editor, WM_COMMAND, IDM_CLOSE_EDITOR, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }));
    EXPECT_TRUE(Exit());
}
