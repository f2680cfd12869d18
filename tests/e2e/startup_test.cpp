// Start-up of the real vantu.exe: the message and exit code when no engine file loads, and
// the fall-back to the first engine file that does.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "tests/support/driver.h"

using namespace e2e;

namespace {

// Starts vantu.exe in the directory and expects the no-engine-file message, answered by
// the test, and exit code 1.
void ExpectNoEngineFileMessage(const ProgramDir& dir) {
    Process proc;
    ASSERT_TRUE(proc.Start(dir));
    HWND box = WaitForMessageBox(proc.Pid(), MORVEL_TITLE, 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "正常なデータファイル(*.sef)が見つかりません。");
    EXPECT_EQ(FindBar(proc.Pid()), nullptr);
    PressButton(box, IDOK);
    DWORD code = 0;
    ASSERT_TRUE(proc.WaitForExit(10000, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_FALSE(dir.Exists("vantu.ini")); // nothing is written on this path
}

TEST(Startup, EmptyDirectoryShowsTheMessageAndExitsWithOne) {
    ProgramDir::Options o;
    o.copyDefaultSef = false;
    ProgramDir dir(o);
    ExpectNoEngineFileMessage(dir);
}

TEST(Startup, OnlyInvalidEngineFilesShowTheMessageAndExitWithOne) {
    ProgramDir::Options o;
    o.copyDefaultSef = false;
    ProgramDir dir(o);
    std::string bad;
    ASSERT_TRUE(dir.CopyFromDist(kDefaultSef, "broken.sef"));
    ASSERT_TRUE(dir.ReadBytes("broken.sef", bad));
    bad[20] = static_cast<char>(bad[20] ^ 1); // check value: passes the quick test only
    ASSERT_TRUE(dir.WriteBytes("broken.sef", bad));
    ASSERT_TRUE(dir.WriteBytes("text.sef", std::string(100, 'x')));
    ExpectNoEngineFileMessage(dir);
}

TEST(Startup, FallsBackToTheFirstEngineFileThatLoads) {
    RunningBar b;
    const ProgramDir& dir = b.dir;
    std::string bytes;
    ASSERT_TRUE(dir.ReadBytes(kDefaultSef, bytes));
    bytes[20] = static_cast<char>(bytes[20] ^ 1);
    ASSERT_TRUE(dir.WriteBytes("a-broken.sef", bytes));
    ASSERT_TRUE(dir.WriteEngineFile("b-good.sef", {MakeEntry("ビー", "b.example.jp/?q=")}));
    ASSERT_TRUE(dir.WriteIni("[Search]\r\nDefaultSEF=a-broken.sef\r\n"));
    ASSERT_TRUE(b.Launch());
    EXPECT_EQ(ComboCount(b.engine), 1);
    EXPECT_EQ(ComboText(b.engine, 0), "ビー");
    EXPECT_EQ(FindMessageBox(b.proc.Pid()), nullptr); // no message for the fall-back
    DWORD code = 99;
    ASSERT_TRUE(b.Exit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(dir.IniString("Search", "DefaultSEF"), "b-good.sef");
}

} // namespace

namespace {

// The bundled engine file out of the box: its Japanese names in the engine combo.
TEST(Startup, BundledEngineFileFillsTheEngineCombo) {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    const std::string userData = std::string(appData) + "\\Morvel";
    ASSERT_EQ(GetFileAttributesA(userData.c_str()), INVALID_FILE_ATTRIBUTES);
    RunningBar b;
    ASSERT_TRUE(b.Launch());
    const HWND engine = b.engine;
    ASSERT_GE(ComboCount(engine), 12);
    EXPECT_EQ(ComboText(engine, 0), "Google");
    EXPECT_EQ(ComboText(engine, 3), "Google 画像検索");
    EXPECT_EQ(ComboSelection(engine), 0);
    Send(engine, CB_SETCURSEL, 5);
    Send(engine, CB_SHOWDROPDOWN, TRUE);
    Shot("searchbar-engines");
    Send(engine, CB_SHOWDROPDOWN, FALSE);
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("SEFIndex", kDefaultSef), 5);
    // A folder that can be written keeps everything beside the program, and nothing else.
    EXPECT_EQ(GetFileAttributesA(userData.c_str()), INVALID_FILE_ATTRIBUTES);
    WIN32_FIND_DATAA fd;
    UniqueFind probe(FindFirstFileA((b.dir.Path() + "*.tmp").c_str(), &fd));
    EXPECT_FALSE(probe) << fd.cFileName;
}

} // namespace
