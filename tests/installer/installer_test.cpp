// The per-user installer under Wine, as a user meets it: a silent installation (the release
// zip's files, the Start-menu shortcut, the Apps & features values), the installed program
// searching and registering the browser integrations from its settings sheet, and a silent
// uninstallation that leaves only the settings; an upgrade over a running search bar with
// changed settings and engine files; the installer's and the uninstaller's pages clicked
// through. scripts/package.sh runs it with MORVEL_SETUP (the x64 setup program it made) and
// MORVEL_STAGE_DIR (the files of the release zip); MORVEL_SHOTS_DIR receives the pages.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "morvel_version.h"
#include "tests/support/driver.h"
#include "tests/support/file_text.h"
#include "tests/support/registry_table.h"
#include "tests/support/run_program.h"
#include "tests/support/sef_image.h"

using namespace e2e;

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvel";
const char kSetupSef[] = "setup\\標準.sef"; // the installed version's bundled copy
const char kCompanion[] = "標準.sef.txt";   // the bundled engines' keywords
const char kSetupCompanion[] = "setup\\標準.sef.txt";
const char kStartText[] = "Windows の起動時に Morvel を起動する";
const char kKeepText[] = "設定とエンジンファイルを残す";
const char kRunText[] = "Morvel を実行(&R)";
const char kSetupTitle[] = "Morvel セットアップ";
const char kUninstallTitle[] = "Morvel アンインストール";

// The setup program and the folder of the zip's files, from the environment.
std::string EnvPath(const char* name) {
    const std::string value = EnvText(name);
    return value.empty() ? "" : WindowsPath(value);
}
std::string SetupPath() {
    std::string p = EnvPath("MORVEL_SETUP");
    if (!p.empty()) p.pop_back();
    return p;
}
std::string StageDir() {
    return EnvPath("MORVEL_STAGE_DIR");
}

std::string ShellFolder(int csidl) {
    char buf[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return std::string(buf) + "\\";
}
std::string InstallDir() {
    return ShellFolder(CSIDL_LOCAL_APPDATA) + "Programs\\Morvel\\";
}
std::string ShortcutPath() {
    return ShellFolder(CSIDL_PROGRAMS) + "Morvel.lnk";
}
std::string NoSlash(std::string dir) {
    dir.pop_back();
    return dir;
}

bool SetValue(const char* path, DWORD type, const std::string& data) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, path, "Morvel", type, data.data(),
                           static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

// The files of a folder and its subfolders, relative to it, sorted.
std::vector<std::string> ListTree(const std::string& dir, const std::string& under = "") {
    std::vector<std::string> files;
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA((dir + under + "*").c_str(), &fd));
    if (!find) return files;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (auto& f : ListTree(dir, under + name + "\\"))
                files.push_back(f);
        } else {
            files.push_back(under + name);
        }
    } while (FindNextFileA(find.get(), &fd));
    std::sort(files.begin(), files.end());
    return files;
}

std::string ShortcutTarget(const std::string& lnk) {
    ComApartment com;
    com.Enter();
    ComRef<IShellLinkW> link;
    ComRef<IPersistFile> file;
    wchar_t target[MAX_PATH] = {};
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) ||
        FAILED(file->Load(Widen(lnk).c_str(), STGM_READ)) ||
        FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)))
        return "<none>";
    return Narrow(target);
}

// The search bar, whoever started it, and whether any instance of the program runs (it holds
// its mutex for its whole life).
HWND AnyBar() {
    for (HWND w = FindWindowExA(nullptr, nullptr, MORVEL_BAR_CLASS, MORVEL_TITLE); w;
         w = FindWindowExA(nullptr, w, MORVEL_BAR_CLASS, MORVEL_TITLE))
        if (GetDlgItem(w, IDC_KEYWORD)) return w;
    return nullptr;
}
bool ProgramRunning() {
    UniqueKernelHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, "vantux"));
    return static_cast<bool>(mutex);
}
bool EndAnyBar() {
    if (HWND bar = AnyBar()) PostMessageA(bar, WM_COMMAND, IDM_EXIT, 0);
    return WaitUntil([] { return !ProgramRunning(); }, 10000);
}

// Waits for an uninstallation to end: the uninstaller runs as a copy of itself and removes
// its key last. vantu.exe /unregister never shows the bar; if it did, the bar is ended here
// (else the uninstaller would wait for it forever) and barShown says so.
bool WaitForUninstall(bool& barShown) {
    return WaitUntil(
        [&] {
            if (HWND bar = AnyBar()) {
                barShown = true;
                PostMessageA(bar, WM_COMMAND, IDM_EXIT, 0);
            }
            return !KeyExists(HKEY_CURRENT_USER, kUninstallKey);
        },
        60000);
}

DWORD RunSetup(const std::string& args) {
    return RunProgram("\"" + SetupPath() + "\" " + args);
}

// What the installed program registers from its settings sheet.
std::vector<RegTable> Registrations() {
    const std::string dir = InstallDir();
    return {MenuExtensionTable(dir + "Pelka.dll"), BridgeClassTable(dir + "Pelka.dll"),
            BrowserHostTable(dir), RunAtLogonTable(dir)};
}

// Removes whatever an installation, the program or a failed test left.
void RemoveInstallation() {
    EndAnyBar();
    RemoveTree(InstallDir());
    DeleteFileA(ShortcutPath().c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    for (const RegTable& t : Registrations())
        RemoveFromRegistry(t);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Morvel");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kBridgeTypeLibKey);
    // The copies the uninstaller ran from, left among the temporary files.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA((std::string(temp) + "~nsu*.tmp").c_str(), &fd));
    if (find) {
        do
            RemoveTree(std::string(temp) + fd.cFileName + "\\");
        while (FindNextFileA(find.get(), &fd));
    }
}

// A shown control of the window or its pages with this class and text.
HWND FindControl(HWND top, const char* cls, const std::string& text) {
    struct Query {
        std::wstring cls, text;
        HWND found;
    } q{Widen(cls), Widen(text), nullptr};
    EnumChildWindows(
        top,
        [](HWND wnd, LPARAM lp) -> BOOL {
            auto* q = reinterpret_cast<Query*>(lp);
            wchar_t cls[64] = {};
            GetClassNameW(wnd, cls, 64);
            if (IsWindowVisible(wnd) && !lstrcmpiW(cls, q->cls.c_str()) &&
                WindowTextW(wnd) == q->text) {
                q->found = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}
HWND WaitForControl(HWND top, const char* cls, const std::string& text) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindControl(top, cls, text)) != nullptr; }, 20000);
    return found;
}
HWND WaitForTopWindow(const char* title) {
    HWND top = nullptr;
    const std::wstring wide = Widen(title);
    WaitUntil(
        [&] {
            top = FindWindowW(L"#32770", wide.c_str());
            return top && IsWindowVisible(top);
        },
        20000);
    return top;
}

// Starts the installed program rather than a ProgramDir's.
Process::Options Installed() {
    Process::Options options;
    options.programFolder = InstallDir();
    return options;
}

class Installer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(SetupPath().empty()) << "MORVEL_SETUP names no setup program";
        ASSERT_FALSE(ListTree(StageDir()).empty()) << "MORVEL_STAGE_DIR holds no files";
        RemoveInstallation();
    }
    void TearDown() override { RemoveInstallation(); }
    const std::string dir_ = InstallDir();
};

} // namespace

TEST_F(Installer, SilentInstallSearchAndUninstall) {
    ASSERT_EQ(RunSetup("/S"), 0u);

    // The release zip's files byte for byte, and the installer's own two.
    const std::vector<std::string> package = ListTree(StageDir());
    std::vector<std::string> expected = package;
    expected.push_back(kSetupSef);
    expected.push_back(kSetupCompanion);
    expected.push_back("uninstall.exe");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListTree(dir_), expected);
    double kilobytes = 0;
    for (const auto& f : expected)
        kilobytes += ReadFileText(dir_ + f).size() / 1024.0;
    for (const auto& f : package)
        EXPECT_TRUE(ReadFileText(dir_ + f) == ReadFileText(StageDir() + f)) << f;
    EXPECT_TRUE(ReadFileText(dir_ + kSetupSef) == ReadFileText(StageDir() + kDefaultSef));
    EXPECT_TRUE(ReadFileText(dir_ + kSetupCompanion) == ReadFileText(StageDir() + kCompanion));
    EXPECT_EQ(ShortcutTarget(ShortcutPath()), dir_ + "vantu.exe");

    const std::string uninstaller = "\"" + dir_ + "uninstall.exe\"";
    const struct {
        const char* name;
        std::string value;
    } values[] = {
        {"DisplayName", "Morvel"},
        {"DisplayVersion", MORVEL_VERSION_TEXT},
        {"Publisher", "Morvel Project"},
        {"DisplayIcon", dir_ + "vantu.exe,0"},
        {"InstallLocation", NoSlash(dir_)},
        {"UninstallString", uninstaller},
        {"QuietUninstallString", uninstaller + " /S"},
        {"NoModify", "1"},
        {"NoRepair", "1"},
    };
    for (const auto& v : values)
        EXPECT_EQ(RegText(HKEY_CURRENT_USER, kUninstallKey, v.name), v.value) << v.name;
    EXPECT_NEAR(std::stod(RegText(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize")), kilobytes,
                expected.size());
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kRunKey, "Morvel"), "<none>"); // chosen on a page only

    // The installed program starts and searches.
    RunningBar b({false, false}); // no program: only the stand-in browser's log
    ASSERT_TRUE(
        WriteFileText(dir_ + "vantu.ini", "[Search]\r\nBrowser=" + FakeBrowserPath() + "\r\n"));
    ASSERT_TRUE(b.Launch(Installed()));
    SendKeyword(b.bar, "installed");
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionSearch, 0));
    EXPECT_TRUE(WaitUntil([&] {
        return ReadFileText(b.dir.BrowserLogPath()).find("installed") != std::string::npos;
    }));

    // Both browser integrations and start with Windows, from the settings sheet.
    SheetPage s;
    ASSERT_TRUE(s.Open(b, kGeneral));
    s.Click(IDC_GEN_RUN_AT_LOGON);
    s.Show(kMenuExt);
    s.Click(IDC_MEXT_ENABLE);
    s.Click(IDC_MEXT_BROWSERS);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(WaitForMessageBox(b.proc.Pid(), MORVEL_TITLE, 1000), nullptr);
    for (const RegTable& t : Registrations())
        EXPECT_EQ(RegistryDifferences(t), "");
    DWORD code = 99;
    ASSERT_TRUE(b.Exit(&code));
    EXPECT_EQ(code, 0u);
    const std::string settings = ReadFileText(dir_ + "vantu.ini");

    // Uninstalled silently: nothing of the program is left but its settings.
    ASSERT_EQ(RunProgram(RegText(HKEY_CURRENT_USER, kUninstallKey, "QuietUninstallString")), 0u);
    bool barShown = false;
    ASSERT_TRUE(WaitForUninstall(barShown));
    EXPECT_FALSE(barShown) << "vantu.exe /unregister showed the search bar";
    EXPECT_EQ(ListTree(dir_), std::vector<std::string>{"vantu.ini"});
    EXPECT_TRUE(ReadFileText(dir_ + "vantu.ini") == settings);
    EXPECT_FALSE(PathExists(ShortcutPath()));
    for (const RegTable& t : Registrations())
        EXPECT_EQ(RegistryLeftovers(t), "");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kBridgeTypeLibKey));
}

TEST_F(Installer, UpgradeKeepsSettingsAndEngineFiles) {
    ASSERT_EQ(RunSetup("/S"), 0u);
    const std::string ini = "[Search]\r\nBrowser=" + FakeBrowserPath() + "\r\n[Mine]\r\nKept=1\r\n";
    ASSERT_TRUE(WriteFileText(dir_ + "vantu.ini", ini));
    const std::vector<EngineEntry> engines = TestEngines();
    const std::vector<uint8_t> image = SefImageOf(engines.data(), 3);
    const std::vector<uint8_t> other = SefImageOf(engines.data() + 3, 2);
    const std::string mine(image.begin(), image.end()), changed(other.begin(), other.end());
    const std::string mineName = "自分.sef";
    ASSERT_TRUE(WriteFileText(dir_ + mineName, mine));

    // Over a running bar: ended as its tray menu's 終了 ends it (it writes its settings).
    RunningBar b({false, false});
    ASSERT_TRUE(b.Launch(Installed()));
    ASSERT_EQ(RunSetup("/S"), 0u);
    DWORD code = 99;
    EXPECT_TRUE(b.proc.WaitForExit(0, &code));
    EXPECT_EQ(code, 0u);
    char kept[16] = {};
    GetPrivateProfileStringA("Mine", "Kept", "", kept, sizeof kept, (dir_ + "vantu.ini").c_str());
    EXPECT_STREQ(kept, "1");
    EXPECT_NE(ReadFileText(dir_ + "vantu.ini").find(FakeBrowserPath()), std::string::npos);
    EXPECT_TRUE(ReadFileText(dir_ + mineName) == mine);

    // The bundled engine file and its companion are replaced, together, only when they are
    // the copies the earlier installation put there (a version before keywords put none).
    const std::string bundled = ReadFileText(StageDir() + kDefaultSef), older = mine;
    const std::string keywords = ReadFileText(StageDir() + kCompanion);
    const std::string oldKeywords = "[1]\r\nkeyword=o\r\n", myKeywords = "[1]\r\nkeyword=m\r\n";
    const struct {
        const char* situation;
        const std::string* before;    // nullptr: no such file
        const std::string* reference; // the earlier installation's copy
        const std::string* companion; // the same for the companion
        const std::string* companionReference;
        bool replaced;
    } cases[] = {
        {"unchanged since the earlier version", &older, &older, &oldKeywords, &oldKeywords, true},
        {"from a version without keywords", &older, &older, nullptr, nullptr, true},
        {"changed by the user", &changed, &bundled, &keywords, &keywords, false},
        {"changed, without the earlier copy", &changed, nullptr, nullptr, nullptr, false},
        {"keywords changed by the user", &older, &older, &myKeywords, &oldKeywords, false},
        {"deleted by the user", nullptr, &bundled, nullptr, &keywords, true},
    };
    const std::string sef = dir_ + kDefaultSef, reference = dir_ + kSetupSef;
    const std::string companion = dir_ + kCompanion, companionReference = dir_ + kSetupCompanion;
    const auto put = [](const std::string& path, const std::string* text) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return !text || WriteFileText(path, *text);
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(put(sef, c.before) && put(reference, c.reference) &&
                    put(companion, c.companion) && put(companionReference, c.companionReference))
            << c.situation;
        ASSERT_EQ(RunSetup("/S"), 0u) << c.situation;
        EXPECT_TRUE(ReadFileText(sef) == (c.replaced ? bundled : *c.before)) << c.situation;
        const std::string* kept = c.replaced ? &keywords : c.companion; // nullptr: none
        EXPECT_EQ(PathExists(companion), kept != nullptr) << c.situation;
        EXPECT_TRUE(!kept || ReadFileText(companion) == *kept) << c.situation;
        EXPECT_TRUE(ReadFileText(reference) == bundled) << c.situation;
        EXPECT_TRUE(ReadFileText(companionReference) == keywords) << c.situation;
    }
    EXPECT_TRUE(ReadFileText(dir_ + mineName) == mine);

    // A silent upgrade keeps start with Windows as the program shows it: on when the value
    // exists and Windows' startup list has not switched it off (an odd first byte).
    const std::string start = "\"" + dir_ + "vantu.exe\" /tray";
    const struct {
        const char* situation;
        const char* value;    // nullptr: none
        const char* approved; // the startup list's first byte; nullptr: no entry
        std::string after;
    } starts[] = {
        {"off", nullptr, nullptr, "<none>"},
        {"on, for another folder", "\"C:\\old\\vantu.exe\" /tray", nullptr, start},
        {"on, allowed by the startup list", start.c_str(), "\x02", start},
        {"switched off in the startup list", start.c_str(), "\x03", "<none>"},
    };
    for (const auto& c : starts) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Morvel");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Morvel");
        ASSERT_TRUE(!c.value || SetValue(kRunKey, REG_SZ, std::string(c.value) + '\0'));
        ASSERT_TRUE(!c.approved ||
                    SetValue(kApprovedKey, REG_BINARY, c.approved + std::string(11, '\0')));
        ASSERT_EQ(RunSetup("/S"), 0u) << c.situation;
        EXPECT_EQ(RegText(HKEY_CURRENT_USER, kRunKey, "Morvel"), c.after) << c.situation;
    }

    // A silent uninstallation keeps the settings and the user's engine files, the changed
    // bundled one among them with its companion.
    ASSERT_TRUE(WriteFileText(sef, changed) && put(companion, &keywords));
    const std::string settings = ReadFileText(dir_ + "vantu.ini");
    ASSERT_EQ(RunProgram(RegText(HKEY_CURRENT_USER, kUninstallKey, "QuietUninstallString")), 0u);
    bool barShown = false;
    ASSERT_TRUE(WaitForUninstall(barShown));
    std::vector<std::string> left = {"vantu.ini", mineName, kDefaultSef, kCompanion};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(ListTree(dir_), left);
    EXPECT_TRUE(ReadFileText(dir_ + "vantu.ini") == settings);
    EXPECT_TRUE(ReadFileText(sef) == changed);
}

// The pages, clicked through as a user does: start with Windows ticked, the program started
// from the last page; the uninstaller told not to keep anything.
TEST_F(Installer, PagesInstallAndUninstall) {
    const DWORD setupCode = RunProgram("\"" + SetupPath() + "\"", nullptr, [&](DWORD) {
        HWND top = WaitForTopWindow(kSetupTitle);
        ASSERT_NE(top, nullptr);
        Shot("setup-1-welcome", top);
        PressButton(top, IDOK);
        ASSERT_NE(WaitForControl(top, "Edit", NoSlash(dir_)), nullptr);
        Shot("setup-2-folder", top);
        PressButton(top, IDOK);
        HWND start = WaitForControl(top, "Button", kStartText);
        ASSERT_NE(start, nullptr);
        EXPECT_FALSE(Ticked(start));
        Send(start, BM_CLICK);
        Shot("setup-3-start", top);
        PressButton(top, IDOK);
        HWND runBox = WaitForControl(top, "Button", kRunText);
        ASSERT_NE(runBox, nullptr);
        EXPECT_TRUE(Ticked(runBox));
        Shot("setup-4-finish", top);
        PressButton(top, IDOK);
    });
    EXPECT_EQ(setupCode, 0u);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kRunKey, "Morvel"), "\"" + dir_ + "vantu.exe\" /tray");
    ASSERT_TRUE(WaitUntil([] { return AnyBar() != nullptr; }, 10000));
    ASSERT_TRUE(EndAnyBar());

    // The uninstaller's copy of itself shows the pages.
    EXPECT_EQ(RunProgram(RegText(HKEY_CURRENT_USER, kUninstallKey, "UninstallString")), 0u);
    HWND top = WaitForTopWindow(kUninstallTitle);
    ASSERT_NE(top, nullptr);
    HWND keep = WaitForControl(top, "Button", kKeepText);
    ASSERT_NE(keep, nullptr);
    EXPECT_TRUE(Ticked(keep));
    Shot("uninstall-1-keep", top);
    Send(keep, BM_CLICK);
    PressButton(top, IDOK);
    ASSERT_NE(WaitForControl(top, "Edit", dir_), nullptr); // the confirmation page
    Shot("uninstall-2-confirm", top);
    PressButton(top, IDOK);
    bool barShown = false;
    ASSERT_TRUE(WaitForUninstall(barShown));
    EXPECT_FALSE(barShown) << "vantu.exe /unregister showed the search bar";
    Shot("uninstall-3-done", top);
    PressButton(top, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(top); }));
    EXPECT_FALSE(PathExists(dir_)) << "nothing kept";
    EXPECT_FALSE(PathExists(ShortcutPath()));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kRunKey, "Morvel"), "<none>");
}
