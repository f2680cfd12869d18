// The summon key and the history drop-down, driven from outside as a user would: the key
// pressed on the keyboard while another window is in front, the 全般 page's hotkey field with
// a key that another program holds, and typing into the keyword box with the drop-down on.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/driver.h"
#include "tests/support/selection_source.h"

using namespace e2e;

namespace {

constexpr WORD kCtrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
constexpr WORD kKeyK = kCtrlAlt | 'K', kKeyJ = kCtrlAlt | 'J', kKeyL = kCtrlAlt | 'L';

// Ctrl+Alt+key pressed on the keyboard (real input, as the system's hotkey check sees it).
void PressCtrlAlt(UINT vk) {
    INPUT in[6] = {};
    const UINT keys[3] = {VK_CONTROL, VK_MENU, vk};
    for (int i = 0; i < 3; ++i) {
        in[i].type = in[5 - i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = in[5 - i].ki.wVk = static_cast<WORD>(keys[i]);
        in[i].ki.wScan = in[5 - i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(keys[i], 0));
        in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, in, sizeof(INPUT));
}

// Whether this process can take the key: false while the program (or anyone) holds it.
bool KeyIsFree(UINT vk) {
    if (!RegisterHotKey(nullptr, 0x7000, MOD_CONTROL | MOD_ALT, vk)) return false;
    UnregisterHotKey(nullptr, 0x7000);
    return true;
}

// A window of the test in front of everything, so the summons has something to beat.
class OtherWindow {
  public:
    OtherWindow()
        : wnd_(CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, 600, 500,
                               200, 80, nullptr, nullptr, nullptr, nullptr)) {}
    bool ToFront() {
        SetWindowPos(wnd_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        return MakeForeground(wnd_.get());
    }

  private:
    UniqueWindow wnd_;
};

// After the summons: the bar shown in front, the keyword box focused with all its text.
bool BarSummoned(const RunningBar& b) {
    return WaitUntil([&] {
        const auto sel = EditSelection(b.keyword);
        return Visible(b.bar) && GetForegroundWindow() == b.bar && FocusOf(b.bar) == b.keyword &&
               sel.first == 0 && sel.second == TextLengthChars(b.keyword);
    });
}

WORD FieldKey(HWND page) {
    return static_cast<WORD>(Send(GetDlgItem(page, IDC_GEN_HOTKEY), HKM_GETHOTKEY));
}
void SetFieldKey(HWND page, WORD key) {
    Send(GetDlgItem(page, IDC_GEN_HOTKEY), HKM_SETHOTKEY, key);
}

// The autocomplete's drop-down list of the process while it is shown, else nullptr.
HWND DropDownList(DWORD pid) {
    for (HWND popup : TopWindows(pid, nullptr, nullptr)) {
        if (!IsWindowVisible(popup)) continue;
        HWND list = FindWindowExA(popup, nullptr, "ListBox", nullptr);
        if (list && IsWindowVisible(list)) return list;
    }
    return nullptr;
}

// The drop-down's items as the keyword box shows them when the user walks the list with
// the Down key (the list draws them itself, so they cannot be read from it). The walk ends
// back at the typed text.
std::vector<std::string> WalkDropDown(const RunningBar& b, int count) {
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        TypeKey(VK_DOWN);
        items.push_back(WindowText(b.keyword));
    }
    TypeKey(VK_DOWN);
    return items;
}

// The bar in front for typing, and still in front a moment later: the stand-in browser of an
// earlier search opens and closes a window of its own that may take the foreground.
bool SettleOnBar(const RunningBar& b) {
    for (int i = 0; i < 10; ++i) {
        if (!MakeForeground(b.bar)) continue;
        Sleep(600);
        if (GetForegroundWindow() == b.bar) return true;
    }
    return false;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

// The key summons a hidden bar and an open dialog; a key taken by another program is refused
// on the 全般 page with the field kept, another one is taken at once; unregistered at exit.
TEST(Summon, KeyBringsBarAndDialogForward) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "HotKey=" + std::to_string(kKeyK) + "\r\n")));
    // Registered by the program as its bar is set up.
    EXPECT_TRUE(WaitUntil([] { return !KeyIsFree('K'); }));
    OtherWindow other;

    SendKeyword(b.bar, "morvel");
    Send(b.keyword, EM_SETSEL, 2, 2);
    ShowWindow(b.bar, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(b.bar); }));
    ASSERT_TRUE(other.ToFront());
    PressCtrlAlt('K');
    EXPECT_TRUE(BarSummoned(b));
    EXPECT_EQ(WindowText(b.keyword), "morvel");

    // Minimised and behind another window.
    ShowWindow(b.bar, SW_MINIMIZE);
    ASSERT_TRUE(other.ToFront());
    PressCtrlAlt('K');
    EXPECT_TRUE(BarSummoned(b));

    // An open dialog comes forward instead of the bar.
    PostMessageA(b.bar, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = b.FindDialogWith(IDC_ABOUT_OK)) != nullptr; }));
    ASSERT_TRUE(other.ToFront());
    PressCtrlAlt('K');
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }));
    PressButton(about, IDC_ABOUT_OK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    // The 全般 page shows the key; one that another program holds is refused.
    SheetPage s;
    ASSERT_TRUE(s.Open(b, kGeneral));
    const HWND sheet = s.sheet, general = s.page;
    EXPECT_EQ(FieldKey(general), kKeyK);
    ASSERT_TRUE(other.ToFront());
    PressCtrlAlt('K'); // the sheet is the open dialog
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet; }));
    Shot("settings-hotkey", sheet);
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x7001, MOD_CONTROL | MOD_ALT, 'J'));
    SetFieldKey(general, kKeyJ);
    Click(general, IDC_GEN_TOPMOST); // nothing of the page applies while the key is refused
    PressButton(sheet, IDOK);
    HWND box = WaitForMessageBox(b.proc.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              "この呼び出しキーは他のプログラムが使用しています。\r\n別のキーを指定してください。");
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    UnregisterHotKey(nullptr, 0x7001);
    Sleep(300);
    ASSERT_TRUE(IsWindow(sheet));
    EXPECT_EQ(Send(sheet, PSM_HWNDTOINDEX, Send(sheet, PSM_GETCURRENTPAGEHWND)), 0);
    EXPECT_EQ(FieldKey(general), kKeyJ);
    EXPECT_FALSE(KeyIsFree('K')); // the key held before stays
    EXPECT_EQ(GetWindowLongA(b.bar, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    SetFieldKey(general, kKeyL);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_TRUE(KeyIsFree('K'));
    EXPECT_FALSE(KeyIsFree('L'));
    ShowWindow(b.bar, SW_HIDE);
    ASSERT_TRUE(other.ToFront());
    PressCtrlAlt('L');
    EXPECT_TRUE(BarSummoned(b));

    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("Window", "HotKey"), kKeyL);
    EXPECT_TRUE(KeyIsFree('L')); // unregistered at exit
}

// The second key: another program's selection into the box, searched with AutoSearch on; the
// clipboard as it was. Nothing selected: the box as it was, the clipboard untouched.
TEST(Summon, SelectionKeyBringsAnotherProgramsSelection) {
    RunningBar b;
    const std::string select = std::to_string(kKeyL);
    ASSERT_TRUE(b.Start(TestIni("AutoSearch=1\r\n", "SelectHotKey=" + select + "\r\n")));
    SheetPage page; // the 全般 page shows both keys
    ASSERT_TRUE(page.Open(b, kGeneral));
    EXPECT_EQ(static_cast<WORD>(Send(page.Item(IDC_GEN_SELECT_HOTKEY), HKM_GETHOTKEY)), kKeyL);
    Shot("settings-hotkeys", page.sheet);
    ASSERT_TRUE(page.Close(IDCANCEL));
    Send(b.bar, kSetOption, MAKEWPARAM(kOptionEngine, 3)); // UTF-8: every character goes
    Send(b.keyword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("before"));
    const std::u16string pair = u"\U00020BB7";
    const struct {
        const char* mode;
        std::u16string text;
        std::string box; // code page 932, "?" for what it cannot say
        std::string url;
    } cases[] = {
        {"edit", u"東京 " + pair, "", "http://u.example/?q=%E6%9D%B1%E4%BA%AC+%F0%A0%AE%B7"},
        {"copy", u"copied\r\ntext", "copied text", "http://u.example/?q=copied+text"},
        {"none", u"", "copied text", ""},
    };
    size_t searches = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_TRUE(PutKnownContent(u"kept", "private bytes"));
        const ClipboardContent known = ReadClipboard();
        Source source;
        ASSERT_TRUE(source.Start(c.mode, c.text));
        PressCtrlAlt('L');
        EXPECT_TRUE(BarSummoned(b));
        if (!c.url.empty()) {
            ASSERT_TRUE(
                WaitUntil([&] { return b.dir.BrowserLog().size() == searches + 1; }, 15000));
            EXPECT_EQ(b.dir.BrowserUrls()[searches++], c.url);
            EXPECT_TRUE(WindowTextW(b.keyword) == std::wstring(c.text.begin(), c.text.end()) ||
                        WindowText(b.keyword) == c.box);
        } else {
            Sleep(600); // the copy waited for has timed out
            EXPECT_EQ(WindowText(b.keyword), c.box);
            EXPECT_EQ(b.dir.BrowserLog().size(), searches);
        }
        EXPECT_TRUE(ReadClipboard() == known);
    }
}

// Without a key nothing is registered or written; a stored key that another program holds
// at start-up costs no message, and is kept in the file.
TEST(Summon, NoneByDefaultAndTakenAtStart) {
    {
        RunningBar b;
        ASSERT_TRUE(b.Start(TestIni()));
        SheetPage s;
        ASSERT_TRUE(s.Open(b, kGeneral));
        EXPECT_EQ(FieldKey(s.page), 0);
        ASSERT_TRUE(s.Close(IDOK));
        ASSERT_TRUE(b.Exit());
        EXPECT_FALSE(b.dir.IniHasKey("Window", "HotKey"));
        EXPECT_FALSE(b.dir.IniHasKey("Search", "AutoComplete"));
    }
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x7002, MOD_CONTROL | MOD_ALT, 'K'));
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "HotKey=" + std::to_string(kKeyK) + "\r\n")));
    Sleep(500);
    EXPECT_EQ(FindMessageBox(b.proc.Pid()), nullptr);
    UnregisterHotKey(nullptr, 0x7002);
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("Window", "HotKey"), kKeyK);
}

// Typing offers the past keywords that begin with the text (letters of any case); the
// page keys and Enter keep their meaning while the list is closed; the 検索 page turns it off.
TEST(HistoryDropDown, OffersMatchingKeywordsWhileTyping) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("AutoComplete=1\r\n", "",
                                "[History]\r\nMax=10\r\nHistoryA=morvel\r\nHistoryB=apple\r\n"
                                "HistoryC=Mozilla\r\nHistoryD=モルベル\r\nHistoryE=moon\r\n"
                                "HistoryF=more\r\n")));
    const DWORD pid = b.proc.Pid();
    SheetPage s; // the 検索 page with its new box, before any search
    ASSERT_TRUE(s.Open(b, kSearch));
    Shot("settings-autocomplete", s.sheet);
    ASSERT_TRUE(s.Close(IDCANCEL));
    ASSERT_TRUE(MakeForeground(b.bar));
    EXPECT_EQ(DropDownList(pid), nullptr);
    TypeText("mo");
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (list = DropDownList(pid)) != nullptr; }));
    EXPECT_EQ(WindowText(b.keyword), "mo"); // nothing completed inline
    Sleep(700);                             // the bar repaints under the list first
    Shot("history-dropdown");
    EXPECT_EQ(Send(list, LB_GETCOUNT), 4);
    EXPECT_EQ(Sorted(WalkDropDown(b, 4)),
              (std::vector<std::string>{"Mozilla", "moon", "more", "morvel"}));
    EXPECT_EQ(WindowText(b.keyword), "mo");

    TypeText("r");
    ASSERT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == 2; }));
    EXPECT_EQ(Sorted(WalkDropDown(b, 2)), (std::vector<std::string>{"more", "morvel"}));
    // Open, the list takes the page keys (they move in the list): the engine stays.
    TypeKey(VK_NEXT);
    EXPECT_EQ(ComboSelection(b.engine), 0);
    EXPECT_NE(WindowText(b.keyword), "mor");
    // Escape closes it; the bar stays.
    TypeKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return DropDownList(pid) == nullptr; }));
    EXPECT_TRUE(Visible(b.bar));
    // Closed, Page Down steps to the next engine and Enter searches for the typed text.
    Send(b.keyword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("mor"));
    Send(b.keyword, EM_SETSEL, 3, 3);
    TypeKey(VK_NEXT);
    EXPECT_EQ(ComboSelection(b.engine), 1);
    EXPECT_EQ(WindowText(b.keyword), "mor");
    TypeKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserUrls().size() == 1; }));
    EXPECT_EQ(b.dir.BrowserUrls()[0], "http://e.example/?q=mor");

    // A chosen item searched with Enter; the list closes. The new keyword is offered next.
    ASSERT_TRUE(SettleOnBar(b));
    Send(b.keyword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    TypeText("a");
    ASSERT_TRUE(WaitUntil([&] { return (list = DropDownList(pid)) != nullptr; }));
    TypeKey(VK_DOWN);
    EXPECT_EQ(WindowText(b.keyword), "apple");
    TypeKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return b.dir.BrowserUrls().size() == 2; }));
    EXPECT_EQ(b.dir.BrowserUrls()[1], "http://e.example/?q=apple");
    EXPECT_TRUE(WaitUntil([&] { return DropDownList(pid) == nullptr; }));
    ASSERT_TRUE(SettleOnBar(b));
    Send(b.keyword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    TypeText("MO");
    ASSERT_TRUE(WaitUntil([&] { return (list = DropDownList(pid)) != nullptr; }))
        << WindowText(b.keyword) << " fg " << (GetForegroundWindow() == b.bar) << " focus "
        << (FocusOf(b.bar) == b.keyword);
    EXPECT_EQ(Send(list, LB_GETCOUNT), 5); // "mor" came from the search
    TypeKey(VK_ESCAPE);

    // The 検索 page: the box goes with the history box, and turns the list off.
    ASSERT_TRUE(s.Open(b, kSearch));
    HWND box = s.Item(IDC_SRCH_AUTOCOMPLETE);
    EXPECT_EQ(WindowText(box), "入力時に履歴を表示");
    EXPECT_TRUE(s.Ticked(IDC_SRCH_AUTOCOMPLETE));
    s.Click(IDC_SRCH_HISTORY_ON);
    EXPECT_FALSE(Enabled(box));
    s.Click(IDC_SRCH_HISTORY_ON);
    EXPECT_TRUE(Enabled(box));
    s.Click(IDC_SRCH_AUTOCOMPLETE);
    ASSERT_TRUE(s.Close(IDOK));
    ASSERT_TRUE(SettleOnBar(b));
    Send(b.keyword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    TypeText("mo");
    Sleep(500);
    EXPECT_EQ(DropDownList(pid), nullptr);
    ASSERT_TRUE(b.Exit());
    EXPECT_FALSE(b.dir.IniHasKey("Search", "AutoComplete"));
}
