// The settings sheet's rules: the 全般 page's tray rule, the history size, the browser
// label, the context-menu address and the history editor's buttons and selection.
#include "ui/settings/settings_logic.h"

#include "base/text.h"
#include "protocol/bridge_identity.h"

#include <gtest/gtest.h>

#include <string>

TEST(SettingsLogic, GeneralPageKeepsTheBarReachable) {
    struct Case {
        GeneralChoices c;
        uint8_t tray, erase, close, tips, top;
    } cases[] = {
        {{false, true, true, true, false}, 0, 1, 1, 0, 0},
        {{true, true, false, true, true}, 0, 0, 1, 1, 1},
        {{false, true, false, false, false}, 0, 0, 0, 0, 0},
        // No tray icon: neither hiding setting survives, whatever the boxes showed.
        {{false, false, true, true, false}, 1, 0, 0, 0, 0},
        {{true, false, true, false, true}, 1, 0, 0, 1, 1},
    };
    for (const Case& k : cases) {
        Settings s;
        s.TrayMode = 7;
        s.TaskErase = 9;
        s.NotWinClose = 9;
        s.Sound = 3; // not the page's
        ApplyGeneralChoices(s, k.c);
        EXPECT_EQ(s.TrayMode, k.tray);
        EXPECT_EQ(s.TaskErase, k.erase);
        EXPECT_EQ(s.NotWinClose, k.close);
        EXPECT_EQ(s.TipMode, k.tips);
        EXPECT_EQ(s.ShowMode, k.top);
        EXPECT_EQ(s.Sound, 3);
    }
}

TEST(SettingsLogic, HistorySize) {
    struct Case {
        bool ticked;
        int typed, max;
    } cases[] = {
        {true, 0, 10},  {true, 1, 1},    {true, 5, 5},   {true, 50, 50},  {true, 51, 50},
        {true, 99, 50}, {true, 256, 10}, {true, 261, 5}, {true, 300, 44}, {true, -1, 50},
        {false, 5, 0},  {false, 0, 0},   {false, 99, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HistorySizeFromInput(c.ticked, c.typed), c.max) << c.typed << " " << c.ticked;
}

TEST(SettingsLogic, FileNamePart) {
    struct Case {
        const char* path;
        const char* part;
    } cases[] = {
        {"C:\\Program Files\\Web\\browser.exe", "browser.exe"},
        {"browser.exe", "browser.exe"}, // no backslash: the whole text
        {"", ""},
        {"C:\\dir\\", ""},
        {"\\x.exe", "x.exe"},
        // "ソ" is 0x83 0x5C: its trail byte is no backslash.
        {"C:\\\x83\x5C\x83\x74\x83\x67\\b.exe", "b.exe"},
        {"C:\\a\\\x83\x5C.exe", "\x83\x5C.exe"},
        {"C:\\\x83\x5C", "\x83\x5C"},
        // A lone lead byte at the end: nothing is read beyond the text.
        {"C:\\a\\b\x83", "b\x83"},
        // Half-width katakana (0xA1..0xDF) are single bytes.
        {"C:\\\xB1\\\xB2.exe", "\xB2.exe"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(FileNamePart(c.path), c.part) << c.path;
}

TEST(SettingsLogic, PathsAreWholeOrEmpty) {
    char out[32];
    EXPECT_TRUE(JoinPath(out, sizeof out, "C:\\app\\", "Pelka.dll"));
    EXPECT_STREQ(out, "C:\\app\\Pelka.dll");
    EXPECT_TRUE(JoinPath(out, 17, "C:\\app\\", "Pelka.dll")); // exactly fits
    EXPECT_FALSE(JoinPath(out, 16, "C:\\app\\", "Pelka.dll"));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(JoinPath(out, 4, "C:\\app\\", "x"));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(JoinPath(out, 0, "a", "b"));

    wchar_t address[300];
    ASSERT_TRUE(MenuExtensionAddress(address, 300, L"C:\\Morvel\\"));
    EXPECT_EQ(std::wstring(address), L"res://C:\\Morvel\\Pelka.dll/SETSTRING");
    const std::wstring longDir = L"C:\\" + std::wstring(255, L'd') + L"\\"; // 259 units
    ASSERT_TRUE(MenuExtensionAddress(address, 300, longDir));
    EXPECT_EQ(std::wstring(address), L"res://" + longDir + L"Pelka.dll/SETSTRING");
    EXPECT_FALSE(MenuExtensionAddress(address, 40, longDir));
    EXPECT_EQ(std::wstring(address), L"");
}

TEST(SettingsLogic, HistoryEditorButtonsAndSelection) {
    EXPECT_TRUE(HistoryButtonsFor(0).deleteOff);
    EXPECT_TRUE(HistoryButtonsFor(0).moveOff);
    EXPECT_FALSE(HistoryButtonsFor(1).deleteOff);
    EXPECT_TRUE(HistoryButtonsFor(1).moveOff);
    EXPECT_FALSE(HistoryButtonsFor(2).deleteOff);
    EXPECT_FALSE(HistoryButtonsFor(2).moveOff);

    // After deleting item n the list has `count` items.
    EXPECT_EQ(SelectionAfterDelete(4, 4), 3); // the last of five
    EXPECT_EQ(SelectionAfterDelete(1, 4), 1);
    EXPECT_EQ(SelectionAfterDelete(0, 0), -1); // the only item
    EXPECT_EQ(SelectionAfterDelete(0, 1), 0);

    const struct {
        int n, step, count, target;
    } moves[] = {
        {1, -1, 3, 0},   {0, -1, 3, -1}, {2, 1, 3, -1}, {1, 1, 3, 2},   {-1, 1, 3, -1},
        {-1, -1, 3, -1}, {0, 1, 0, -1},  {0, 1, 1, -1}, {3, -1, 3, -1},
    };
    for (const auto& m : moves)
        EXPECT_EQ(MoveTarget(m.n, m.step, m.count), m.target) << m.n << " " << m.step;
}
