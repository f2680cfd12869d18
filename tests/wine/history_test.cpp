// The history store against the real profile and menu functions.
#include "history/history_store.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "platform/app_state.h"
#include "platform/engine_store.h"
#include "platform/handles.h"
#include "platform/settings_file.h"
#include "ui/bar/tray_menu.h"
#include "ui/common/resource.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text.h"

namespace {

class HistoryStore : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProgramDirectory(app.paths, Widen(dir.path()).c_str());
        app.settings = Settings();
        app.history.count = 0;
    }

    void Store(int max, const std::vector<std::pair<std::string, std::string>>& keys) {
        std::string ini = "[History]\r\nMax=" + std::to_string(max) + "\r\n";
        for (const auto& kv : keys)
            ini += kv.first + "=" + kv.second + "\r\n";
        ASSERT_TRUE(WriteFileText(Ini(), ini));
        app.settings.Max = static_cast<uint8_t>(max);
    }
    std::string Ini() const { return Narrow(app.paths.iniPath); }
    // The exit sequence: the settings writer empties the section, writes Max and the history.
    void Exit() {
        SaveSettings(app.settings, app.paths.iniPath, BarSnapshot{{0, 0}, "", -1}, app.history);
    }
    // The History section as "key=value" lines.
    std::vector<std::string> Section() {
        std::vector<char> buf(32768);
        const DWORD n = GetPrivateProfileSectionA("History", buf.data(),
                                                  static_cast<DWORD>(buf.size()), Ini().c_str());
        std::vector<std::string> lines;
        for (DWORD i = 0; i < n;) {
            lines.emplace_back(buf.data() + i);
            i += static_cast<DWORD>(lines.back().size()) + 1;
        }
        return lines;
    }
    // The entries as code page 932 text; Wide gives them exactly.
    std::vector<std::string> Items() {
        std::vector<std::string> out;
        for (const std::u16string& t : WideItems())
            out.push_back(Cp932(t));
        return out;
    }
    std::vector<std::u16string> WideItems() {
        std::vector<std::u16string> out;
        for (int n = 0; const char16_t* t = HistoryItemAt(app.history, n); ++n)
            out.push_back(t);
        return out;
    }
    void Add(const std::string& text) {
        AddToHistory(app.history, FromCp932(text), app.settings.Max, CompareHistoryTexts);
    }
    TempDir dir;
    AppState app;
};

using V = std::vector<std::string>;

TEST_F(HistoryStore, LoadsAtMostMaxAndStoresOnlyThose) {
    Store(3, {{"HistoryA", "a"},
              {"HistoryB", "b"},
              {"HistoryC", "c"},
              {"HistoryD", "d"},
              {"HistoryE", "e"}});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    EXPECT_EQ(Items(), (V{"a", "b", "c"}));
    Exit();
    EXPECT_EQ(Section(), (V{"Max=3", "HistoryA=a", "HistoryB=b", "HistoryC=c"}));
}

TEST_F(HistoryStore, AGapEndsTheList) {
    Store(10, {{"HistoryA", "a"}, {"HistoryC", "c"}});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    EXPECT_EQ(Items(), V{"a"});
}

TEST_F(HistoryStore, LongValuesAreCutTo127Bytes) {
    Store(5, {{"HistoryA", std::string(200, 'x')}});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    EXPECT_EQ(Items(), V{std::string(127, 'x')});
}

TEST_F(HistoryStore, SearchesMoveCutAndKeepCase) {
    Store(5, {{"HistoryA", "a"},
              {"HistoryB", "b"},
              {"HistoryC", "c"},
              {"HistoryD", "d"},
              {"HistoryE", "e"}});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    Add("e"); // the entry at position 4 moves to the front
    EXPECT_EQ(Items(), (V{"e", "a", "b", "c", "d"}));
    Add("n"); // a full list drops its oldest entry
    EXPECT_EQ(Items(), (V{"n", "e", "a", "b", "c"}));
    Add("N"); // letter case makes another entry
    EXPECT_EQ(Items(), (V{"N", "n", "e", "a", "b"}));
    Exit();
    EXPECT_EQ(Section(),
              (V{"Max=5", "HistoryA=N", "HistoryB=n", "HistoryC=e", "HistoryD=a", "HistoryE=b"}));
}

TEST_F(HistoryStore, FiftyEntriesUseTheTwoLetterKeys) {
    Store(80, {}); // above 50: clamped, and 50 is written back
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    EXPECT_EQ(app.settings.Max, 50);
    for (int n = 49; n >= 0; --n)
        Add("k" + std::to_string(n));
    Exit();
    const V lines = Section();
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[0], "Max=50");
    EXPECT_EQ(lines[1], "HistoryA=k0");
    EXPECT_EQ(lines[26], "HistoryZ=k25");
    EXPECT_EQ(lines[27], "HistoryAA=k26"); // the 27th entry
    EXPECT_EQ(lines[28], "HistoryBA=k27"); // the 28th
    EXPECT_EQ(lines[50], "HistoryXA=k49"); // the 50th
    // And they load back in the same order.
    app.settings.Max = 50;
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    EXPECT_EQ(Items().size(), 50u);
    EXPECT_EQ(Items()[27], "k27");
    EXPECT_EQ(Items()[49], "k49");
}

TEST_F(HistoryStore, MaxZeroKeepsNothing) {
    Store(0, {{"HistoryA", "a"}, {"HistoryB", "b"}});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    EXPECT_EQ(HistoryItemAt(app.history, 0), nullptr);
    Add("x");
    EXPECT_EQ(HistoryItemAt(app.history, 0), nullptr);
    Exit();
    EXPECT_EQ(Section(), V{"Max=0"});
}

TEST_F(HistoryStore, LoweredMaxStoresOnlyTheFirstEntries) {
    Store(4, {{"HistoryA", "a"}, {"HistoryB", "b"}, {"HistoryC", "c"}, {"HistoryD", "d"}});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    app.settings.Max = 2; // lowered in the settings dialog: the list is not cut at once
    EXPECT_EQ(Items().size(), 4u);
    Exit();
    EXPECT_EQ(Section(), (V{"Max=2", "HistoryA=a", "HistoryB=b"}));
}

// Text beyond Shift-JIS: "?" text under the plain key for an older version, the exact units
// under the U key; text Shift-JIS can say (code page 932's extensions too) as today.
TEST_F(HistoryStore, TextBeyondShiftJisComesBackExactly) {
    struct Case {
        std::u16string text;
        std::string plain, units; // units: the U key's value, "" for none
    } cases[] = {
        {u"\U00020BB7野家", "?野家", "D842DFB791CE5BB6"},
        {u"한국어", "???", "D55CAD6DC5B4"},
        {u"café", "caf?", "00630061006600E9"},
        {u"\U0001F600 x", "? x", "D83DDE0000200078"},
        {u"①髙﨑∑ ｱ", "", ""}, // plain: as code page 932 puts it
        {u"?野家", "?野家", ""},
        {u"abc", "abc", ""},
    };
    Store(10, {});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    for (auto c = std::rbegin(cases); c != std::rend(cases); ++c)
        AddToHistory(app.history, c->text, app.settings.Max, CompareHistoryTexts);
    Exit();
    V expected{"Max=10"};
    for (size_t n = 0; n < std::size(cases); ++n) {
        const std::string key = "History" + std::string(1, static_cast<char>('A' + n));
        const std::string plain = cases[n].plain.empty() ? Cp932(cases[n].text) : cases[n].plain;
        expected.push_back(key + "=" + plain);
        if (!cases[n].units.empty()) expected.push_back(key + "U=" + cases[n].units);
    }
    const V lines = Section();
    EXPECT_EQ(lines, expected);
    // Every line is valid Shift-JIS text for the byte-level profile functions.
    for (const std::string& line : lines)
        EXPECT_GT(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, line.c_str(), -1, nullptr, 0), 0)
            << line;
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    std::vector<std::u16string> texts;
    for (const Case& c : cases)
        texts.push_back(c.text);
    EXPECT_EQ(WideItems(), texts);
    // The menu shows the real text.
    UniqueMenu menu(CreatePopupMenu());
    AppendHistoryMenuItems(menu.get(), app.history, app.settings.Max);
    wchar_t first[64] = {};
    GetMenuStringW(menu.get(), 0, first, 64, MF_BYPOSITION);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(first)), cases[0].text);
}

// A U key counts only while its plain key holds what it was written with, and only when it is
// whole groups of four hexadecimal digits of a text weighing at most 127.
TEST_F(HistoryStore, UnitsKeysThatDoNotFitAreIgnored) {
    const std::string smileys(32, '?'); // 32 pairs weigh 128
    std::string smileyUnits;
    for (int i = 0; i < 32; ++i)
        smileyUnits += "D83DDE00";
    Store(10, {{"HistoryA", "?野家"},
               {"HistoryAU", "d842dfb791ce5bb6"}, // lower-case digits are read too
               {"HistoryB", "abc"},               // rewritten by an older version
               {"HistoryBU", "D842DFB791CE5BB6"},
               {"HistoryC", "caf?"},
               {"HistoryCU", "00630061006600E"}, // odd length
               {"HistoryD", "caf?"},
               {"HistoryDU", "00630061006600G9"}, // not hexadecimal
               {"HistoryE", smileys},
               {"HistoryEU", smileyUnits}, // too heavy
               {"HistoryF", "caf?"},
               {"HistoryFU", smileyUnits + smileyUnits}}); // longer than any entry
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    EXPECT_EQ(WideItems(), (std::vector<std::u16string>{u"\U00020BB7野家", u"abc", u"caf?", u"caf?",
                                                        FromCp932(smileys), u"caf?"}));
}

struct MenuItem {
    UINT id;
    std::string text;
    UINT state;
};

std::vector<MenuItem> MenuItems(HMENU menu) {
    std::vector<MenuItem> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        items.push_back({GetMenuItemID(menu, i), text, GetMenuState(menu, i, MF_BYPOSITION)});
    }
    return items;
}

TEST_F(HistoryStore, MenuItems) {
    const std::string long57(57, 'L');
    Store(3, {{"HistoryA", "a"},
              {"HistoryB", std::string(56, 'S')},
              {"HistoryC", long57},
              {"HistoryD", "d"}});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    UniqueMenu menu(CreatePopupMenu());
    EXPECT_EQ(AppendHistoryMenuItems(menu.get(), app.history, app.settings.Max), menu.get());
    const std::vector<MenuItem> items = MenuItems(menu.get());
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, static_cast<UINT>(IDM_HISTORY_FIRST));
    EXPECT_EQ(items[0].text, "a");
    EXPECT_EQ(items[1].id, static_cast<UINT>(IDM_HISTORY_FIRST + 1));
    EXPECT_EQ(items[1].text, std::string(56, 'S'));
    EXPECT_EQ(items[2].id, static_cast<UINT>(IDM_HISTORY_FIRST + 2));
    EXPECT_EQ(items[2].text, std::string(56, 'L') + " ... (続く)");
    for (const MenuItem& m : items)
        EXPECT_EQ(m.state & (MF_GRAYED | MF_DISABLED), 0u);
}

TEST_F(HistoryStore, EmptyMenuShowsTheDisabledPlaceholder) {
    Store(5, {});
    LoadHistoryFile(app.history, app.settings.Max, app.paths.iniPath);
    UniqueMenu menu(CreatePopupMenu());
    AppendHistoryMenuItems(menu.get(), app.history, app.settings.Max);
    const std::vector<MenuItem> items = MenuItems(menu.get());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, static_cast<UINT>(IDM_HISTORY_NONE));
    EXPECT_EQ(items[0].text, "(なし)");
    EXPECT_NE(items[0].state & MF_GRAYED, 0u);
}

} // namespace
