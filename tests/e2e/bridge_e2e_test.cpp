// Pelka.dll from outside: registered with the system's regsvr32, created by the browser's
// context-menu script as stored in the library (run by the system's VBScript host with a
// stand-in for the browser's external object), and talking to the real vantu.exe.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bridge/ivantu.h"
#include "tests/support/driver.h"
#include "tests/support/menu_script.h"
#include "tests/support/registry_table.h"
#include "tests/support/run_program.h"

using namespace e2e;

namespace {

// Pelka.dll of the program directory registered for one test, its class as the table has it.
class Registration {
  public:
    explicit Registration(const ProgramDir& dir) : path_(dir.File("Pelka.dll")) {
        ok_ = RunProgram("regsvr32.exe /s \"" + path_ + "\"") == 0 &&
              RegistryDifferences(BridgeClassTable(path_)).empty();
    }
    ~Registration() { RunProgram("regsvr32.exe /s /u \"" + path_ + "\""); }
    bool Ok() const { return ok_; }

  private:
    std::string path_;
    bool ok_ = false;
};

// A program folder with the library registered, and no bar running yet.
struct Registered {
    explicit Registered(const ProgramDir::Options& options = WithBridge())
        : dir(options), reg(dir) {}
    bool Ready() const { return reg.Ok() && !FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE); }
    ProgramDir dir;
    Registration reg;
};

std::string HexOf(const std::string& bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02X", c);
        out += b;
    }
    return out;
}

TEST(BridgeScript, StoredScriptIsWhole) {
    const std::vector<std::string> body = StoredScriptBody();
    ASSERT_EQ(body.size(), 4u);
    EXPECT_EQ(body[0], " Set vantu = CreateObject(\"Pelka.Vantu\")");
    EXPECT_EQ(body[3], " Set vantu = Nothing");
}

// The selection as the script hands it over, seen by a recording stand-in for vantu.exe.
TEST(BridgeScript, SelectionTextAsSent) {
    Registered r(WithBridge(false));
    const ProgramDir& dir = r.dir;
    ASSERT_TRUE(CopyFileA((HelperDir() + "bridge_standin.exe").c_str(),
                          dir.File("vantu.exe").c_str(), FALSE));
    ASSERT_TRUE(r.Ready());

    const struct {
        const char* selection;
        std::string sent;
    } cases[] = {
        {"\"abc\" & Chr(13) & Chr(10) & \"def\"", "abc def"},
        {"\"a\" & Chr(13) & \"b\"", "a\rb"},        // a lone CR passes on
        {"\"a\" & Chr(10) & \"b\"", "a\nb"},        // a lone LF too
        {"\"  x y  \" & Chr(13) & Chr(10)", "x y"}, // trimmed after the replacement
        {"\"\"", ""},                               // nothing selected: no text at all
        {"\"検索ｶﾅ\"", "検索ｶﾅ"},                   // the script file is Shift-JIS; the wire UTF-16
    };
    // Started hidden, with no standard handles (STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES).
    std::string expectedLog = "start flags=257 show=0\r\n";
    for (const auto& c : cases) {
        ASSERT_EQ(RunMenuScript(dir, c.selection), 0u) << c.selection;
        const std::wstring wide = Widen(c.sent);
        const std::string sent(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
        expectedLog += "copydata wparam=0 data=" + std::to_string(bar_protocol::kCopyDataUtf16) +
                       " cb=" + std::to_string(sent.size()) + " hex=" + HexOf(sent) + "\r\n";
        expectedLog += expectedLog.find("activate") == std::string::npos ? "activate visible=0\r\n"
                                                                         : "activate visible=1\r\n";
    }
    Adopted standIn(FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE));
    std::string log;
    ASSERT_TRUE(dir.ReadBytes("standin.log", log));
    EXPECT_EQ(log, expectedLog);
}

TEST(BridgeScript, SelectionReachesTheRunningBar) {
    RunningBar b(WithBridge());
    Registration reg(b.dir);
    ASSERT_TRUE(reg.Ok());
    ASSERT_TRUE(b.Launch());
    const HWND bar = b.bar;
    ShowWindow(bar, SW_MINIMIZE);

    ASSERT_EQ(RunMenuScript(b.dir, "\"abc\" & Chr(13) & Chr(10) & \"def\""), 0u);
    EXPECT_EQ(WindowText(b.keyword), "abc def");
    EXPECT_EQ(EditSelection(b.keyword), std::make_pair(0, 7));
    EXPECT_TRUE(Visible(bar));
    EXPECT_FALSE(IsIconic(bar));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == bar; }, 3000));
    Shot("bridge_selection", bar);
    EXPECT_TRUE(b.proc.Running());
}

// vantu.exe not running: the bridge starts it from its own directory (here one whose name
// holds "ソ", 0x83 0x5C) with its window hidden; SetForeground shows it.
TEST(BridgeScript, StartsTheProgramHiddenUntilSetForeground) {
    ProgramDir::Options options = WithBridge();
    options.trail5C = true;
    Registered r(options);
    ASSERT_TRUE(r.Ready());

    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        IVantu* vantu = nullptr;
        ASSERT_EQ(CoCreateInstance(pelka::kClsidVantu, nullptr, CLSCTX_INPROC_SERVER,
                                   pelka::kIidVantu, reinterpret_cast<void**>(&vantu)),
                  S_OK);
        BSTR text = SysAllocString(L"ｱｲｳ abc");
        EXPECT_EQ(vantu->SetKeyword(text), S_OK);
        SysFreeString(text);
        HWND bar = FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE);
        Adopted started(bar);
        ASSERT_NE(bar, nullptr);
        ASSERT_NE(FindBar(started.Pid()), nullptr);
        EXPECT_EQ(ItemText(bar, IDC_KEYWORD), "ｱｲｳ abc");
        EXPECT_FALSE(Visible(bar)) << "a hidden start shows the bar";
        Sleep(500); // it stays hidden
        EXPECT_FALSE(Visible(bar));
        EXPECT_EQ(vantu->SetForeground(), S_OK);
        EXPECT_TRUE(WaitUntil([&] { return Visible(bar); }, 3000));
        Shot("bridge_started", bar);
        vantu->Release();
    }
    CoUninitialize();
}

TEST(BridgeScript, WholeScriptStartsAndShowsTheProgram) {
    Registered r;
    ASSERT_TRUE(r.Ready());
    ASSERT_EQ(RunMenuScript(r.dir, "\"one\" & Chr(13) & Chr(10) & \"two\""), 0u);
    HWND bar = FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE);
    Adopted started(bar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ItemText(bar, IDC_KEYWORD), "one two");
    EXPECT_TRUE(Visible(bar));
}

// The script host run with its output captured, as automation does: its output pipe must
// reach its end when the host ends, although the program it started keeps running (the
// program must not hold the host's handles). Returns whether the end came within the time.
bool OutputEndsWithHost(const ProgramDir& dir, const std::string& selectionExpression) {
    if (!dir.WriteBytes("menu.vbs", ScriptFile(selectionExpression))) return false;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return false;
    UniqueKernelHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    std::string command = "cscript.exe //nologo \"" + dir.File("menu.vbs") + "\"";
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    writer.reset();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000) {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
            return GetLastError() == ERROR_BROKEN_PIPE;
        char buffer[256];
        DWORD got = 0;
        if (available && !ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr)) return false;
        if (!available) Sleep(20);
    }
    return false;
}

TEST(BridgeScript, CapturedHostEndsWhileTheStartedProgramRuns) {
    Registered r;
    ASSERT_TRUE(r.Ready());
    const bool ended = OutputEndsWithHost(r.dir, "\"piped\"");
    HWND bar = FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE);
    Adopted started(bar);
    EXPECT_TRUE(ended) << "the started program holds the script host's output pipe";
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ItemText(bar, IDC_KEYWORD), "piped");
    EXPECT_NE(FindBar(started.Pid()), nullptr);
}

TEST(BridgeScript, MissingProgramShowsTheMessage) {
    Registered r(WithBridge(false));
    ASSERT_TRUE(r.Ready());
    std::string text = "<no box>";
    const DWORD code = RunMenuScript(r.dir, "\"abc\"", [&](DWORD pid) {
        if (HWND box = WaitForMessageBox(pid, "Pelka.dll", 15000)) {
            text = MessageBoxText(box);
            Shot("bridge_missing_program", box);
            PressButton(box, IDOK);
        }
    });
    EXPECT_EQ(text, "「Morvel」本体が見つかりません。");
    // Every call succeeded. (Wine's script host ends with 0 after a script error too, so
    // the message box and the stand-in's log are what these tests rely on.)
    EXPECT_EQ(code, 0u);
}

} // namespace
