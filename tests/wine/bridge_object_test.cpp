// The Vantu object's calls: what reaches the search bar, by name and through the vtable,
// and how vantu.exe is started beside the library.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/bar_protocol.h"
#include "bridge/ivantu.h"
#include "tests/support/bridge_module.h"
#include "tests/support/box_answerer.h"
#include "tests/support/file_text.h"

using namespace bridge_test;
using Msg = StandInBar::Message;
using bar_protocol::kOptionEngine;
using bar_protocol::kOptionMode;

namespace {

// The selection as the bar receives it: UTF-16 units, no terminator.
Msg CopyData(const std::wstring& text) {
    const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return Msg{
        WM_COPYDATA, 0, 0, bytes, static_cast<DWORD>(bytes.size()), bar_protocol::kCopyDataUtf16};
}
Msg Plain(UINT message, WPARAM wParam) {
    return Msg{message, wParam, 0, {}, 0};
}
Msg EngineFile(unsigned n) {
    return Plain(WM_COMMAND, IDM_ENGINE_FILE_FIRST + n);
}
Msg SetOption(unsigned option, WORD value) {
    return Plain(WM_APP_SETOPTION, MAKEWPARAM(option, value));
}

class BridgeObject : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE), nullptr)
            << "a search bar is running";
        ASSERT_TRUE(pelka.Loaded());
        vantu = pelka.Create();
        ASSERT_NE(vantu, nullptr);
    }
    void TearDown() override {
        if (vantu) vantu->Release();
    }

    // Calls a method by name, as a script does.
    HRESULT CallByName(const wchar_t* name, std::vector<VARIANT> args) {
        DISPID id = 0;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        HRESULT hr = vantu->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) return hr;
        std::vector<VARIANT> reversed(args.rbegin(), args.rend()); // arguments go last first
        DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        hr = vantu->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                           nullptr, nullptr);
        VariantClear(&result);
        return hr;
    }
    static VARIANT Long(LONG v) {
        VARIANT var;
        VariantInit(&var);
        var.vt = VT_I4;
        var.lVal = v;
        return var;
    }

    Pelka pelka;
    IVantu* vantu = nullptr;
};

TEST_F(BridgeObject, NamesAndDispIds) {
    const struct {
        const wchar_t* name;
        DISPID id;
    } cases[] = {{L"SetKeyword", 1},
                 {L"SetSearchOpt", 2},
                 {L"SetForeground", 3},
                 {L"setkeyword", 1}}; // names are matched without regard to case
    for (const auto& c : cases) {
        DISPID id = 0;
        LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
        EXPECT_EQ(vantu->GetIDsOfNames(IID_NULL, names, 1, 0x409, &id), S_OK);
        EXPECT_EQ(id, c.id);
    }
    DISPID id = 0;
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Search")};
    EXPECT_EQ(vantu->GetIDsOfNames(IID_NULL, unknown, 1, 0x409, &id), DISP_E_UNKNOWNNAME);
    UINT count = 0;
    EXPECT_EQ(vantu->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(vantu->GetTypeInfo(0, 0x409, &info), S_OK);
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&ta), S_OK);
    EXPECT_TRUE(IsEqualGUID(ta->guid, pelka::kIidVantu));
    info->ReleaseTypeAttr(ta);
    info->Release();
}

TEST_F(BridgeObject, LateBoundCallsReachTheBar) {
    StandInBar bar;
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"検索 abc");
    EXPECT_EQ(CallByName(L"SetKeyword", {text}), S_OK);
    VariantClear(&text);
    EXPECT_EQ(CallByName(L"SetSearchOpt", {Long(2), Long(-1), Long(1)}), S_OK);
    EXPECT_EQ(CallByName(L"SetForeground", {}), S_OK);
    // A script may hand numbers as other types: they are converted.
    VARIANT small;
    VariantInit(&small);
    small.vt = VT_I2;
    small.iVal = 3;
    EXPECT_EQ(CallByName(L"SetSearchOpt", {Long(-1), small, Long(-1)}), S_OK);
    const std::vector<Msg> expected = {
        CopyData(L"検索 abc"),       EngineFile(2),
        SetOption(kOptionMode, 1),   Plain(WM_APP_ACTIVATE, 0),
        SetOption(kOptionEngine, 3),
    };
    EXPECT_EQ(bar.messages, expected);
    EXPECT_EQ(CallByName(L"SetSearchOpt", {Long(1)}), DISP_E_BADPARAMCOUNT);
}

TEST_F(BridgeObject, EarlyBoundSearchOptions) {
    StandInBar bar;
    const struct {
        LONG sef, eng, mode;
        std::vector<Msg> expected;
    } cases[] = {
        {-1, -1, -1, {}},
        {2, -1, 1, {EngineFile(2), SetOption(kOptionMode, 1)}},
        {-1, 70000, -1, {SetOption(kOptionEngine, 4464)}}, // only the low 16 bits travel
        {0, 0, 0, {EngineFile(0), SetOption(kOptionEngine, 0), SetOption(kOptionMode, 0)}},
    };
    for (const auto& c : cases) {
        bar.messages.clear();
        EXPECT_EQ(vantu->SetSearchOpt(c.sef, c.eng, c.mode), S_OK);
        EXPECT_EQ(bar.messages, c.expected) << c.sef << "," << c.eng << "," << c.mode;
    }
}

// The selection goes on as UTF-16, whole: characters that Shift-JIS cannot say arrive too.
TEST_F(BridgeObject, KeywordConversion) {
    StandInBar bar;
    const wchar_t crlf[] = L"a\r\nb\rc\nd";
    const wchar_t nul[] = {L'x', 0, L'y'};
    const struct {
        Bstr value;
        std::wstring expected;
    } cases[] = {
        {Bstr(L""), L""},
        {Bstr(nullptr), L""},
        {Bstr(L"ｱｲｳ ソ表"), L"ｱｲｳ ソ表"},
        {Bstr(L"a\u0E01b\uAC00c"), L"a\u0E01b\uAC00c"}, // no Shift-JIS form, kept
        {Bstr(L"\U00020BB7野家 café"), L"\U00020BB7野家 café"},
        {Bstr(crlf), crlf},                   // passed on as it is
        {Bstr(nul, 3), std::wstring(nul, 3)}, // the bar ends the text at its NUL
        {Bstr(std::wstring(200, L'あ').c_str()), std::wstring(200, L'あ')}, // the bar keeps
                                                                            // what fits
    };
    for (const auto& c : cases) {
        bar.messages.clear();
        EXPECT_EQ(vantu->SetKeyword(c.value.get()), S_OK);
        const std::vector<Msg> expected = {CopyData(c.expected)};
        EXPECT_EQ(bar.messages, expected);
    }
}

TEST(BridgeStart, MissingProgramShowsTheMessageAndSucceeds) {
    ASSERT_EQ(FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE), nullptr);
    TempDir dir;
    ASSERT_TRUE(CopyTo(BuiltBridgePath(), dir / "Pelka.dll"));
    Pelka pelka(dir / "Pelka.dll");
    ASSERT_TRUE(pelka.Loaded());
    IVantu* vantu = pelka.Create();
    ASSERT_NE(vantu, nullptr);
    EXPECT_EQ(vantu->SetKeyword(Bstr(L"abc").get()), S_OK);
    EXPECT_EQ(vantu->SetSearchOpt(1, 1, 1), S_OK);
    BoxAnswerer boxes("Pelka.dll");
    EXPECT_EQ(vantu->SetForeground(), S_OK);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"「Morvel」本体が見つかりません。"});
    vantu->Release();
}

// The stand-in program as vantu.exe in a directory whose name holds "ソ" (0x83 0x5C).
TEST(BridgeStart, StartsTheProgramHiddenBesideTheLibrary) {
    ASSERT_EQ(FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE), nullptr);
    TempDir dir("ソ");
    ASSERT_NE(dir.path().find("\x83\x5C"), std::string::npos);
    ASSERT_TRUE(CopyTo(BuiltBridgePath(), dir / "Pelka.dll"));
    ASSERT_TRUE(CopyTo(HelperDir() + "bridge_standin.exe", dir / "vantu.exe"));
    Pelka pelka(dir / "Pelka.dll");
    ASSERT_TRUE(pelka.Loaded());
    IVantu* vantu = pelka.Create();
    ASSERT_NE(vantu, nullptr);

    EXPECT_EQ(vantu->SetKeyword(Bstr(L"abc").get()), S_OK);
    HWND bar = FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE);
    ASSERT_NE(bar, nullptr) << "the program was not started or not waited for";
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(vantu->SetSearchOpt(-1, 2, -1), S_OK);
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(vantu->SetForeground(), S_OK);
    EXPECT_TRUE(IsWindowVisible(bar));

    EXPECT_EQ(ReadFileText(dir / "standin.log"),
              "start flags=257 show=0\r\n"
              "copydata wparam=0 data=1297504049 cb=6 hex=610062006300\r\n"
              "setoption 131073 0\r\n"
              "activate visible=0\r\n");
    vantu->Release();
    SendMessageTimeoutA(bar, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.get(), 1);
}

// A started program that never waits for input no longer holds the caller for ever.
TEST(BridgeStart, WaitForAProgramThatNeverBecomesIdleIsBounded) {
    ASSERT_EQ(FindWindowA(MORVEL_BAR_CLASS, MORVEL_TITLE), nullptr);
    TempDir dir;
    ASSERT_TRUE(CopyTo(BuiltBridgePath(), dir / "Pelka.dll"));
    ASSERT_TRUE(CopyTo(HelperDir() + "bridge_busy.exe", dir / "vantu.exe"));
    Pelka pelka(dir / "Pelka.dll");
    ASSERT_TRUE(pelka.Loaded());
    IVantu* vantu = pelka.Create();
    ASSERT_NE(vantu, nullptr);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(vantu->SetKeyword(Bstr(L"abc").get()), S_OK);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 29000u);
    EXPECT_LT(elapsed, 45000u);
    vantu->Release();
    const DWORD pid = std::strtoul(ReadFileText(dir / "busy.pid").c_str(), nullptr, 10);
    ASSERT_NE(pid, 0u);
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    ASSERT_TRUE(process);
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
}

} // namespace
