// The program on any Windows: run under the system code pages 932, 1252 and 65001 (CTest
// gives each its own entry) from a folder whose name code page 932 cannot say. Everything here
// speaks UTF-16 to the program, so that the test itself assumes no code page.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/sef_codec.h"
#include "platform/handles.h"
#include "protocol/bar_protocol.h"
#include "protocol/bridge_identity.h"
#include "tests/support/paths.h"
#include "tests/support/test_entries.h"
#include "tests/support/text.h"
#include "ui/common/resource.h"

namespace {

std::wstring FromUtf8(const std::string& s) {
    std::wstring w(s.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0],
                                      static_cast<int>(w.size()));
    w.resize(n > 0 ? n : 0);
    return w;
}

std::string ReadBytes(const std::wstring& path) {
    UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(f ? GetFileSize(f.get(), nullptr) : 0, '\0');
    DWORD got = 0;
    if (f && !bytes.empty())
        ReadFile(f.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD wrote = 0;
    return f && WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
}

std::wstring Text(HWND wnd) {
    wchar_t text[512] = {};
    SendMessageTimeoutW(wnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        nullptr);
    return text;
}

std::wstring RegText(const wchar_t* key, const wchar_t* value, HKEY root = HKEY_CURRENT_USER) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<none>";
    return text;
}

template <typename Pred> bool WaitFor(Pred pred, DWORD ms = 8000) {
    for (DWORD waited = 0; waited < ms; waited += 20) {
        if (pred()) return true;
        Sleep(20);
    }
    return pred();
}

// A top-level window of the process with this title (a message box, the sheet, the bar),
// other than `except`.
HWND WindowOf(DWORD pid, const wchar_t* title, HWND except = nullptr) {
    struct Find {
        DWORD pid;
        const wchar_t* title;
        HWND except, found;
    } f = {pid, title, except, nullptr};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto& f = *reinterpret_cast<Find*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            wchar_t text[64] = {};
            GetWindowTextW(w, text, 64);
            if (owner != f.pid || w == f.except || !IsWindowVisible(w) ||
                lstrcmpW(text, f.title) != 0)
                return TRUE;
            f.found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kMenuKey[] = L"" MORVEL_MENU_EXT_KEY;
constexpr wchar_t kServerKey[] = L"" PELKA_SERVER_KEY;
constexpr wchar_t kChromeHostKey[] =
    L"Software\\Google\\Chrome\\NativeMessagingHosts\\jp.morvel.vantu";

class CodePage : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        logDir_ = std::wstring(temp) + L"morvel-cp-" + std::to_wstring(GetCurrentProcessId());
        // A folder that code page 932 cannot name: Latin and Hangul.
        dir_ = logDir_ + L"\\José 김민준\\";
        ASSERT_TRUE(CreateDirectoryW(logDir_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(dir_.c_str(), nullptr));
        const std::wstring dist = Widen(DistDir()); // the build folders are ASCII
        for (const wchar_t* f : {L"vantu.exe", L"morvel-host.exe", L"Pelka.dll"})
            ASSERT_TRUE(CopyFileW((dist + f).c_str(), (dir_ + f).c_str(), FALSE));
        const std::vector<EngineEntry> engines = {
            MakeEntry("SJIS", "s.example/?q=", "+", "", "", "", "", 0),
            MakeEntry("UTF8", "u.example/?q=", "+", "", "", "", "", 3)};
        std::string image(SefImageCapacity(2), '\0');
        image.resize(
            EncodeSefImage(engines.data(), 2, reinterpret_cast<uint8_t*>(&image[0]), image.size()));
        ASSERT_TRUE(WriteBytes(dir_ + L"test.sef", image));
        browser_ = Widen(FakeBrowserPath());
        // The settings file is Shift-JIS on every system.
        std::string browser(browser_.size(), '\0');
        for (size_t i = 0; i < browser_.size(); ++i)
            browser[i] = static_cast<char>(browser_[i]); // the build folder is ASCII
        ASSERT_TRUE(WriteBytes(dir_ + L"vantu.ini", "[Search]\r\nBrowser=" + browser +
                                                        "\r\nDefaultSEF=test.sef\r\n"
                                                        "[History]\r\nMax=5\r\n"));
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Morvel");
    }
    void TearDown() override {
        if (process_) TerminateProcess(process_.get(), 1);
        Run(L"/unregister");
        SHFILEOPSTRUCTW op = {};
        const std::wstring from = logDir_ + L'\0';
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NO_UI;
        SHFileOperationW(&op);
    }

    // Starts vantu.exe from the folder; the stand-in browser logs into the parent folder.
    HWND Start() {
        SetEnvironmentVariableW(L"MORVEL_BROWSER_LOG", (logDir_ + L"\\browser.log").c_str());
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::wstring command = L"\"" + dir_ + L"vantu.exe\"";
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(),
                            &si, &pi))
            return nullptr;
        process_.reset(pi.hProcess);
        UniqueKernelHandle thread(pi.hThread);
        pid_ = pi.dwProcessId;
        HWND bar = nullptr;
        WaitFor([&] { return (bar = WindowOf(pid_, L"" MORVEL_TITLE)) != nullptr; });
        return bar;
    }
    DWORD Run(const wchar_t* arguments) {
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::wstring command = L"\"" + dir_ + L"vantu.exe\" " + arguments;
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(),
                            &si, &pi))
            return 99;
        UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
        WaitForSingleObject(process.get(), 20000);
        DWORD code = 98;
        GetExitCodeProcess(process.get(), &code);
        return code;
    }
    // The URL the stand-in browser got last (its command line after the program, UTF-8 log).
    std::wstring LastUrl() {
        const std::wstring log = FromUtf8(ReadBytes(logDir_ + L"\\browser.log.utf8"));
        const size_t end = log.rfind(L"\r\n");
        if (end == std::wstring::npos) return L"<none>";
        const size_t start = log.rfind(L"\r\n", end - 1);
        const std::wstring line = log.substr(start == std::wstring::npos ? 0 : start + 2,
                                             end - (start == std::wstring::npos ? 0 : start + 2));
        const size_t space = line.rfind(L' ');
        return space == std::wstring::npos ? line : line.substr(space + 1);
    }
    size_t Searches() {
        const std::string log = ReadBytes(logDir_ + L"\\browser.log.utf8");
        size_t n = 0;
        for (size_t p = log.find("\r\n"); p != std::string::npos; p = log.find("\r\n", p + 2))
            ++n;
        return n;
    }

    std::wstring logDir_, dir_, browser_;
    UniqueKernelHandle process_;
    DWORD pid_ = 0;
};

void SendText(HWND bar, const std::wstring& text) {
    COPYDATASTRUCT cds = {};
    cds.dwData = bar_protocol::kCopyDataUtf16;
    cds.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    cds.lpData = const_cast<wchar_t*>(text.data());
    SendMessageTimeoutW(bar, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_BLOCK, 5000,
                        nullptr);
}

// Sets the option and tells whether the bar answered within the time.
bool SendOption(HWND bar, unsigned option, unsigned value, DWORD ms = 5000) {
    return SendMessageTimeoutW(bar, WM_APP_SETOPTION, MAKEWPARAM(option, value), 0, SMTO_BLOCK, ms,
                               nullptr) != 0;
}

TEST_F(CodePage, SearchesSheetAndRegistrationFromAFolderBeyondShiftJis) {
    HWND bar = Start();
    ASSERT_TRUE(bar);
    HWND mode = GetDlgItem(bar, IDC_MODE), engine = GetDlgItem(bar, IDC_ENGINE);
    wchar_t item[64] = {};
    SendMessageW(mode, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"どれか含む");
    SendMessageW(engine, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"UTF8");

    // A keyword reaches each engine in its own code, whatever the system's.
    const struct {
        unsigned engine;
        const wchar_t* url;
    } searches[] = {{1, L"http://u.example/?q=%E6%9D%B1%E4%BA%AC+%E3%82%BF%E3%83%AF%E3%83%BC"},
                    {0, L"http://s.example/?q=%93%8C%8B%9E+%83%5E%83%8F%81%5B"}};
    for (const auto& s : searches) {
        SendText(bar, L"東京 タワー");
        const size_t before = Searches();
        ASSERT_TRUE(SendOption(bar, bar_protocol::kOptionEngine, s.engine));
        ASSERT_TRUE(SendOption(bar, bar_protocol::kOptionSearch, 0));
        ASSERT_TRUE(WaitFor([&] { return Searches() > before; }));
        EXPECT_EQ(LastUrl(), s.url);
    }
    // The old message kind is Shift-JIS by definition.
    const char sjis[] = "\x93\x8C\x8B\x9E";
    COPYDATASTRUCT cds = {};
    cds.cbData = sizeof sjis;
    cds.lpData = const_cast<char*>(sjis);
    SendMessageTimeoutW(bar, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_BLOCK, 5000,
                        nullptr);
    EXPECT_EQ(Text(GetDlgItem(bar, IDC_KEYWORD)), L"東京");

    // A refused search (Hangul to a Shift-JIS engine) answers its sender before its message.
    const std::wstring hangul = L"김민준";
    SendText(bar, hangul);
    EXPECT_TRUE(SendOption(bar, bar_protocol::kOptionSearch, 0, 2000));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(pid_, L"" MORVEL_TITLE, bar)) != nullptr; }));
    const std::wstring refusal = L"「김」は Shift-JIS で表せないため";
    EXPECT_NE(Text(GetDlgItem(box, 0xFFFF)).find(refusal), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDOK, 0);

    // The sheet: start with Windows and the browser host, from this folder.
    PostMessageW(bar, WM_COMMAND, IDM_SETTINGS, 0);
    HWND sheet = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (sheet = WindowOf(pid_, L"設定")) != nullptr; }));
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    EXPECT_EQ(Text(GetDlgItem(page, IDC_GEN_RUN_AT_LOGON)),
              L"Windows の起動時に Morvel を起動する");
    SendMessageW(GetDlgItem(page, IDC_GEN_RUN_AT_LOGON), BM_CLICK, 0, 0);
    PropSheet_SetCurSel(sheet, nullptr, 2);
    page = PropSheet_GetCurrentPageHwnd(sheet);
    SendMessageW(GetDlgItem(page, IDC_MEXT_BROWSERS), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(page, IDC_MEXT_ENABLE), BM_CLICK, 0, 0);
    PostMessageW(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(RegText(kRunKey, L"Morvel"), L"\"" + dir_ + L"vantu.exe\" /tray");
    EXPECT_EQ(RegText(kMenuKey, nullptr), L"res://" + dir_ + L"Pelka.dll/SETSTRING");
    EXPECT_EQ(RegText(kServerKey, nullptr, HKEY_CLASSES_ROOT), dir_ + L"Pelka.dll");
    const std::wstring manifest = RegText(kChromeHostKey, nullptr);
    EXPECT_EQ(manifest.rfind(dir_, 0), 0u) << manifest;
    std::wstring hostPath = dir_ + L"morvel-host.exe";
    std::wstring escaped;
    for (wchar_t c : hostPath)
        escaped += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
    EXPECT_NE(FromUtf8(ReadBytes(manifest)).find(escaped), std::wstring::npos);

    // At exit the settings file is Shift-JIS; the history keeps what Shift-JIS cannot say.
    PostMessageW(bar, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_EQ(WaitForSingleObject(process_.get(), 10000), WAIT_OBJECT_0);
    const std::string ini = ReadBytes(dir_ + L"vantu.ini");
    EXPECT_NE(ini.find("HistoryA=\x93\x8C\x8B\x9E \x83^\x83\x8F\x81[\r\n"), std::string::npos)
        << ini;
    EXPECT_NE(ini.find("DefaultSEF=test.sef\r\n"), std::string::npos);

    // What it registered from here it removes again.
    EXPECT_EQ(Run(L"/unregister"), 0u);
    EXPECT_EQ(RegText(kRunKey, L"Morvel"), L"<none>");
    EXPECT_EQ(RegText(kChromeHostKey, nullptr), L"<none>");
    EXPECT_EQ(RegText(kMenuKey, nullptr), L"<none>");
    EXPECT_EQ(RegText(kServerKey, nullptr, HKEY_CLASSES_ROOT), L"<none>");
}

} // namespace
