#include "bridge/bridge_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"

namespace {

using pelka::BridgeMessage;

bool Lead(unsigned char b) {
    return IsLeadByte(b);
}

TEST(BridgeLogic, SearchOptionMessages) {
    const unsigned cmd = pelka::kMsgCommand, opt = pelka::kMsgSetOption;
    struct Case {
        long sef, eng, mode;
        std::vector<BridgeMessage> expected;
    } cases[] = {
        {-1, -1, -1, {}},
        {2, -1, 1, {{cmd, 40102}, {opt, 65536}}},
        {0, 0, 0, {{cmd, 40100}, {opt, 1}, {opt, 0}}},
        {-1, 3, -1, {{opt, 3 * 65536 + 1}}},
        {-1, 70000, -1, {{opt, 4464u * 65536 + 1}}}, // only the low 16 bits travel
        {-5, -1, 65535, {{opt, 65535u * 65536}}},
        {1, 0, 1, {{cmd, 40101}, {opt, 1}, {opt, 65536}}},
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
