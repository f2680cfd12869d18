// The program started from a folder this account cannot write (tests/e2e/run_unprivileged.sh
// runs this suite as an ordinary user, with a program folder owned by root): the settings,
// the history and the engine files live in %APPDATA%\Morvel, filled from the program folder
// at the first start, and everything the user did comes back after a restart.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>

#include "engines/sef_codec.h"
#include "tests/e2e/support.h"
#include "tests/support/file_text.h"

using namespace e2e;

namespace {

constexpr int kAboutData = 1040, kAboutOk = 1007, kEditorList = 1035, kFileName = 1047;
constexpr int kGeneralTopmost = 1033;

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
    // Starts vantu.exe from the program folder; the stand-in browser logs into scratch_.
    HWND Start() {
        Process::Options o;
        o.programFolder = program_;
        if (!proc_.Start(scratch_, o)) return nullptr;
        return proc_.WaitForBar();
    }
    bool Exit(HWND bar) {
        PostMessageA(bar, WM_COMMAND, 40001, 0);
        DWORD code = 1;
        // A message at exit would keep the process: it must end by itself, with 0.
        return proc_.WaitForExit(10000, &code) && code == 0;
    }
    HWND OpenDialogWith(HWND bar, int command, int control) {
        PostMessageA(bar, WM_COMMAND, command, 0);
        HWND d = nullptr;
        WaitUntil([&] {
            for (HWND w : TopWindows(proc_.Pid(), "#32770", nullptr))
                if (w != bar && IsWindowVisible(w) && GetDlgItem(w, control)) d = w;
            return d != nullptr;
        });
        return d;
    }

    std::string program_;
    ProgramDir scratch_{ProgramDir::Options{false, false, false, false}};
    Process proc_;
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
    ASSERT_GE(ComboCount(GetDlgItem(bar, kEngine)), 2);

    // Moved, another engine, a search, and topmost through the settings sheet.
    SetWindowPos(bar, nullptr, 123, 145, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Send(bar, kSetOption, MAKEWPARAM(kOptionEngine, 1));
    SendKeyword(bar, "morvel-data");
    Send(bar, kSetOption, MAKEWPARAM(kOptionSearch, 0));
    EXPECT_TRUE(WaitUntil([&] { return scratch_.BrowserLog().size() == 1; }, 15000));
    HWND sheet = nullptr;
    PostMessageA(bar, WM_COMMAND, 40004, 0);
    ASSERT_TRUE(WaitUntil([&] { return (sheet = FindSheet(proc_.Pid())) != nullptr; }));
    Send(GetDlgItem(ShowPage(sheet, 0), kGeneralTopmost), BM_CLICK);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    ASSERT_TRUE(Exit(bar));

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
    EXPECT_EQ(ComboSelection(GetDlgItem(bar, kEngine)), 1);
    EXPECT_TRUE(WaitUntil([&] { return GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST; }));
    HWND keyword = GetDlgItem(bar, kKeyword);
    EXPECT_GE(Send(keyword, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>("morvel-data")),
              0);

    // The about box says where the data lives.
    HWND about = OpenDialogWith(bar, 40003, kAboutData);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ItemText(about, kAboutData), "データの保存先: " + data);
    Shot("about-data-folder", about);
    PressButton(about, kAboutOk);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(Exit(bar));
}

TEST_F(Unprivileged, EditorSavesAndCreatesEngineFilesInTheDataFolder) {
    const std::string data = DataFolder();
    const std::string bundled = ReadFileText(program_ + kDefaultSef);
    HWND bar = Start();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(PathExists(data + kDefaultSef));
    const int before = EntriesIn(data + kDefaultSef);
    ASSERT_GE(before, 2);

    HWND editor = OpenDialogWith(bar, 40005, kEditorList);
    ASSERT_NE(editor, nullptr);
    Send(GetDlgItem(editor, kEditorList), LB_SETCURSEL, 0);
    Send(editor, WM_COMMAND, 40013); // delete the entry
    Send(editor, WM_COMMAND, 40023); // save
    Sleep(300);
    EXPECT_EQ(FindMessageBox(proc_.Pid()), nullptr) << MessageBoxText(FindMessageBox(proc_.Pid()));
    EXPECT_EQ(EntriesIn(data + kDefaultSef), before - 1);

    // A new engine file is made in the data folder.
    PostMessageA(editor, WM_COMMAND, 40020, 0);
    HWND named = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND w : TopWindows(proc_.Pid(), "#32770", nullptr))
            if (IsWindowVisible(w) && GetDlgItem(w, kFileName)) named = w;
        return named != nullptr;
    }));
    Send(GetDlgItem(named, kFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("mine"));
    PressButton(named, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return PathExists(data + "mine.sef"); }));
    Sleep(300);
    EXPECT_EQ(FindMessageBox(proc_.Pid()), nullptr) << MessageBoxText(FindMessageBox(proc_.Pid()));
    EXPECT_FALSE(PathExists(program_ + "mine.sef"));
    EXPECT_EQ(ReadFileText(program_ + kDefaultSef), bundled);
    PostMessageA(editor, WM_COMMAND, 40021, 0); // close
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }));
    EXPECT_TRUE(Exit(bar));
}
