// The switches of vantu's command line, as the Run value, an uninstaller or a user writes them.
#include <gtest/gtest.h>

#include "protocol/command_line.h"

TEST(CommandLine, SwitchesAfterTheProgram) {
    const struct {
        const wchar_t* line;
        bool tray, unregister;
    } cases[] = {
        {L"vantu.exe", false, false},
        {L"\"C:\\Program Files\\Morvel\\vantu.exe\" /tray", true, false},
        {L"C:\\Morvel\\vantu.exe -TRAY", true, false},
        {L"vantu.exe /Unregister", false, true},
        {L"vantu.exe \"/tray\" /unregister", true, true},
        {L"\"C:\\tray /tray\\vantu.exe\"", false, false}, // inside the quoted program
        {L"C:\\x\\/tray", false, false},                  // the unquoted program itself
        {L"vantu.exe /trays /tra tray //tray /unregister:x", false, false},
        {L"vantu.exe\t/tray  ", true, false},
        {L"vantu.exe /unregister/unregister/unregister /tray", true, false}, // cut, not a match
        {L"", false, false},
    };
    for (const auto& c : cases) {
        const StartSwitches s = ParseStartSwitches(c.line);
        EXPECT_EQ(s.tray, c.tray) << testing::PrintToString(std::wstring(c.line));
        EXPECT_EQ(s.unregister, c.unregister) << testing::PrintToString(std::wstring(c.line));
    }
}
