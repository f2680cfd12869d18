#include "bridge/bridge_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/bar_protocol.h"

namespace {

using pelka::BridgeMessage;

// WM_COMMAND of engine file n, and WM_APP_SETOPTION of an option code with its value.
BridgeMessage EngineFile(unsigned n) {
    return {pelka::kMsgCommand, IDM_ENGINE_FILE_FIRST + n};
}
BridgeMessage SetOption(unsigned option, std::uintptr_t value) {
    return {WM_APP_SETOPTION, value << 16 | option};
}

TEST(BridgeLogic, SearchOptionMessages) {
    using bar_protocol::kOptionEngine;
    using bar_protocol::kOptionMode;
    struct Case {
        long sef, eng, mode;
        std::vector<BridgeMessage> expected;
    } cases[] = {
        {-1, -1, -1, {}},
        {2, -1, 1, {EngineFile(2), SetOption(kOptionMode, 1)}},
        {0, 0, 0, {EngineFile(0), SetOption(kOptionEngine, 0), SetOption(kOptionMode, 0)}},
        {-1, 3, -1, {SetOption(kOptionEngine, 3)}},
        {-1, 70000, -1, {SetOption(kOptionEngine, 4464)}}, // only the low 16 bits travel
        {-5, -1, 65535, {SetOption(kOptionMode, 65535)}},
        {1, 0, 1, {EngineFile(1), SetOption(kOptionEngine, 0), SetOption(kOptionMode, 1)}},
    };
    for (const Case& c : cases) {
        const pelka::BridgeMessages got = pelka::SearchOptionMessages(c.sef, c.eng, c.mode);
        EXPECT_EQ(std::vector<BridgeMessage>(got.begin(), got.end()), c.expected)
            << c.sef << "," << c.eng << "," << c.mode;
    }
}

TEST(BridgeLogic, SiblingPathCutsAfterTheLastBackslash) {
    struct Case {
        const wchar_t* module;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Program Files\\Morvel\\Pelka.dll", L"C:\\Program Files\\Morvel\\vantu.exe"},
        {L"C:\\ソ\\Pelka.dll", L"C:\\ソ\\vantu.exe"},
        {L"C:\\José\\김민준\\Pelka.dll", L"C:\\José\\김민준\\vantu.exe"},
        {L"Pelka.dll", L"Pelka.dllvantu.exe"}, // no backslash: kept whole
        {L"C:\\", L"C:\\vantu.exe"},
        {L"", L"vantu.exe"},
    };
    for (const Case& c : cases) {
        wchar_t out[260];
        ASSERT_TRUE(pelka::SiblingPath(out, 260, c.module, L"vantu.exe"));
        EXPECT_EQ(std::wstring(out), c.expected);
    }
    const std::wstring dir = L"C:\\" + std::wstring(240, L'a') + L"\\";
    wchar_t out[260] = L"x";
    EXPECT_TRUE(pelka::SiblingPath(out, 260, dir + L"Pelka.dll", L"vantu.exe"));
    const std::wstring longDir = L"C:\\" + std::wstring(250, L'a') + L"\\";
    EXPECT_FALSE(pelka::SiblingPath(out, 260, longDir + L"Pelka.dll", L"vantu.exe"));
    EXPECT_EQ(out[0], L'\0');
}

} // namespace
