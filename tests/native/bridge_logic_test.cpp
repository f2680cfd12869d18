#include "bridge/bridge_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "protocol/bar_protocol.h"

namespace {

using pelka::BridgeMessage;

bool Lead(unsigned char b) {
    return IsLeadByte(b);
}

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

TEST(BridgeLogic, SiblingPathCutsAfterTheLastRealBackslash) {
    struct Case {
        const char* module;
        const char* expected;
    } cases[] = {
        {"C:\\Program Files\\Morvel\\Pelka.dll", "C:\\Program Files\\Morvel\\vantu.exe"},
        // "ソ" is 0x83 0x5C: its second byte is no separator.
        {"C:\\ソ\\Pelka.dll", "C:\\ソ\\vantu.exe"},
        {"C:\\表ソ\\Pelka.dll", "C:\\表ソ\\vantu.exe"},
        {"C:\\dir\\ソ", "C:\\dir\\vantu.exe"},
        {"Pelka.dll", "Pelka.dllvantu.exe"}, // no backslash: kept whole
        {"C:\\", "C:\\vantu.exe"},
        {"", "vantu.exe"},
    };
    for (const Case& c : cases) {
        char out[260];
        ASSERT_TRUE(pelka::SiblingPath(out, sizeof out, c.module, "vantu.exe", Lead)) << c.module;
        EXPECT_EQ(std::string(out), c.expected);
    }
}

TEST(BridgeLogic, SiblingPathRefusesWhatDoesNotFit) {
    const std::string dir = "C:\\" + std::string(240, 'a') + "\\";
    char out[260] = "x";
    EXPECT_TRUE(
        pelka::SiblingPath(out, sizeof out, (dir + "Pelka.dll").c_str(), "vantu.exe", Lead));
    const std::string longDir = "C:\\" + std::string(250, 'a') + "\\";
    EXPECT_FALSE(
        pelka::SiblingPath(out, sizeof out, (longDir + "Pelka.dll").c_str(), "vantu.exe", Lead));
    EXPECT_EQ(out[0], '\0');
    // A lead byte as the very last byte does not swallow the terminator.
    EXPECT_EQ(pelka::DirectoryPartLength("C:\\a\\\x83", Lead), 5u);
}

} // namespace
