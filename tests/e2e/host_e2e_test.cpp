// morvel-host.exe from outside, as a browser runs it: real frames on its standard input pipe,
// its answer read from its standard output pipe, against the real vantu.exe (running, or
// started hidden by Pelka.dll) and with every kind of bad input.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "host/host_logic.h"
#include "tests/support/driver.h"

using namespace e2e;

namespace {

struct HostRun {
    DWORD code = 0xFFFFFFFF;
    std::string output;
    bool sawMessageBox = false;
};

std::string Frame(const std::string& json) {
    return host::EncodeFrame(json);
}
std::string Answer(host::Status status) {
    return host::EncodeFrame(host::AnswerJson(status));
}

// Runs the host of the directory with input on its standard input; the pipe is closed after
// the input unless keepOpen. Ends it after 30 s at the latest.
HostRun RunHost(const ProgramDir& dir, const std::string& input, bool keepOpen = false) {
    HostRun run;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
    if (!CreatePipe(&inRead, &inWrite, &sa, 0)) return run;
    UniqueKernelHandle inR(inRead), inW(inWrite);
    if (!CreatePipe(&outRead, &outWrite, &sa, 0)) return run;
    UniqueKernelHandle outR(outRead), outW(outWrite);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = inRead;
    si.hStdOutput = outWrite;
    si.hStdError = outWrite;
    // A browser passes its extension's origin as the argument.
    std::string command = "\"" + dir.File("morvel-host.exe") +
                          "\" chrome-extension://ileoknfgfokkeieckaakfgoeebbpdkgb/";
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                        dir.Path().c_str(), &si, &pi))
        return run;
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    inR.reset();
    outW.reset();
    std::thread writer([&] {
        DWORD wrote = 0;
        WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &wrote, nullptr);
        if (!keepOpen) inW.reset();
    });
    std::thread reader([&] {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got)
            run.output.append(buffer, got);
    });
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.get(), 20) == WAIT_TIMEOUT) {
        if (FindWindowA("#32770", "Pelka.dll") ||
            !TopWindows(pi.dwProcessId, nullptr, nullptr).empty())
            run.sawMessageBox = true;
        if (GetTickCount() - start > 30000) {
            TerminateProcess(process.get(), 0xFFFFFFFE);
            break;
        }
    }
    GetExitCodeProcess(process.get(), &run.code);
    writer.join();
    inW.reset();
    reader.join();
    return run;
}

TEST(NativeHost, SelectionReachesTheRunningBar) {
    RunningBar rb(WithBridge());
    ASSERT_TRUE(rb.dir.CopyFromDist("morvel-host.exe"));
    ASSERT_TRUE(rb.Start(TestIni()));
    ShowWindow(rb.bar, SW_MINIMIZE);

    HostRun run = RunHost(rb.dir, Frame("{\"text\":\"  abc\\r\\ndef \"}"));
    EXPECT_EQ(run.output, std::string("\x0B\x00\x00\x00{\"ok\":true}", 15));
    EXPECT_EQ(run.code, 0u);
    EXPECT_FALSE(run.sawMessageBox);
    EXPECT_EQ(ItemText(rb.bar, IDC_KEYWORD), "abc def");
    EXPECT_EQ(EditSelection(rb.keyword), std::make_pair(0, 7));
    EXPECT_TRUE(Visible(rb.bar));
    EXPECT_FALSE(IsIconic(rb.bar));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == rb.bar; }, 3000));

    // UTF-8 from the browser arrives as the code page's Shift-JIS, as through the old script.
    CPINFO cp = {};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &cp));
    const std::string def(reinterpret_cast<const char*>(cp.DefaultChar));
    const struct {
        const char* json; // the message's text member, as JSON
        std::string keyword;
    } cases[] = {
        {u8"\"検索 ｶﾅ\"", "検索 ｶﾅ"},
        {"\"\\u691c\\u7d22\"", "検索"},
        {u8"\"～①∥\"", "\x81\x60\x87\x40\x81\x61"}, // the code page's own forms
        {u8"\"a\u0E01b\uAC00c\"", "a" + def + "b" + def + "c"},
        {"\"x\\ry\"", "x\ry"}, // a lone CR passes on
        {u8"\"ソ\\\\表\"", "ソ\\表"},
    };
    for (const auto& c : cases) {
        run = RunHost(rb.dir, Frame(std::string("{\"text\":") + c.json + "}"));
        EXPECT_EQ(run.output, Answer(host::Status::kOk)) << c.json;
        EXPECT_EQ(ItemText(rb.bar, IDC_KEYWORD), c.keyword) << c.json;
    }
    // What the code page cannot say arrives whole in the box.
    run = RunHost(rb.dir, Frame(u8"{\"text\":\"\U00020BB7野家 café 한국어\"}"));
    EXPECT_EQ(run.output, Answer(host::Status::kOk));
    const std::wstring whole = L"\U00020BB7野家 café 한국어";
    EXPECT_EQ(WindowTextW(rb.keyword), whole);
    Shot("host_selection", rb.bar);
}

TEST(NativeHost, StartsTheProgramHiddenThenShowsIt) {
    ProgramDir dir(WithBridge());
    ASSERT_TRUE(dir.CopyFromDist("morvel-host.exe"));
    ASSERT_TRUE(dir.WriteEngineFile("test.sef", TestEngines()));
    ASSERT_TRUE(dir.WriteIni(TestIni()));
    ASSERT_EQ(FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE), nullptr);
    const HostRun run = RunHost(dir, Frame(u8"{\"text\":\"起動 test\"}"));
    HWND bar = FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE);
    Adopted started(bar);
    EXPECT_EQ(run.output, Answer(host::Status::kOk));
    EXPECT_EQ(run.code, 0u);
    EXPECT_FALSE(run.sawMessageBox);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ItemText(bar, IDC_KEYWORD), "起動 test");
    EXPECT_TRUE(Visible(bar));
}

// Every bad input gets its answer at once: no message box, no hang, no crash (each refusal
// of the message reader is tested natively).
TEST(NativeHost, BadInputGetsItsAnswer) {
    using host::Status;
    ProgramDir dir(WithBridge(false)); // no vantu.exe and no bar
    ASSERT_TRUE(dir.CopyFromDist("morvel-host.exe"));
    ASSERT_EQ(FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE), nullptr);
    std::string tooLong(4, '\0');
    tooLong[0] = 1, tooLong[2] = 0x10; // 1 MiB + 1
    const std::string good = "{\"text\":\"abc\"}";
    // Lengths that a text-mode stream would corrupt: the frame must still be read whole.
    const std::string pad1A = "{\"text\":\"abc\"}" + std::string(0x1A - good.size(), ' ');
    const std::string pad0D0A = "{\"text\":\"abc\"}" + std::string(0x0A0D - good.size(), ' ');
    const struct {
        const char* what;
        std::string input;
        Status status;
    } cases[] = {
        {"nothing", "", Status::kNoMessage},
        {"half a length", std::string("\x05\x00", 2), Status::kShortLength},
        {"over 1 MiB", tooLong + "{}", Status::kTooLong},
        {"short body", Frame(good).substr(0, 10), Status::kShortBody},
        {"not JSON", Frame("text=abc"), Status::kInvalidJson},
        {"another member", Frame("{\"text\":\"a\",\"engine\":1}"), Status::kUnexpectedMember},
        {"empty text", Frame("{\"text\":\" \\r\\n \"}"), Status::kEmptyText},
        {"no program, no bar", Frame(good), Status::kProgramMissing},
        {"length 0x1A", Frame(pad1A), Status::kProgramMissing},
        {"length 0x0D0A", Frame(pad0D0A), Status::kProgramMissing},
    };
    for (const auto& c : cases) {
        const DWORD start = GetTickCount();
        const HostRun run = RunHost(dir, c.input);
        EXPECT_EQ(run.output, Answer(c.status)) << c.what;
        EXPECT_EQ(run.code, 1u) << c.what;
        EXPECT_FALSE(run.sawMessageBox) << c.what;
        EXPECT_LT(GetTickCount() - start, 8000u) << c.what;
    }
    // A browser that stops halfway but keeps the pipe open: answered after the time limit.
    const HostRun stalled = RunHost(dir, Frame(good).substr(0, 8), true);
    EXPECT_EQ(stalled.output, Answer(Status::kTimedOut));
    // A program that starts but shows no bar: answered, without the bridge's message box.
    ASSERT_TRUE(CopyFileA(FakeBrowserPath().c_str(), dir.File("vantu.exe").c_str(), FALSE));
    HostRun run = RunHost(dir, Frame(good));
    EXPECT_EQ(run.output, Answer(Status::kBarNotFound));
    EXPECT_FALSE(run.sawMessageBox);
    // No bridge beside the host.
    ASSERT_TRUE(DeleteFileA(dir.File("Pelka.dll").c_str()));
    run = RunHost(dir, Frame(good));
    EXPECT_EQ(run.output, Answer(Status::kBridgeMissing));
    EXPECT_FALSE(run.sawMessageBox);
}

} // namespace
