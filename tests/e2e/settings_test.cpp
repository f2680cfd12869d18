// The settings sheet driven from outside as a user would: its pages, what OK and Cancel
// leave in the settings (seen in the running bar, on reopening and in the file at exit),
// the history editor, and the context-menu page with and without the bridge library, and
// its second box, the browser host's registration for Chrome, Edge and Firefox.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/driver.h"
#include "tests/support/file_text.h"
#include "tests/support/menu_script.h"
#include "tests/support/registry_table.h"
#include "tests/support/run_program.h"

using namespace e2e;

namespace {

bool Topmost(HWND wnd) {
    return (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The tray icon of the bar answers a change of its tip only while it exists.
bool TrayIconPresent(HWND bar) {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = bar;
    nid.uID = 1;
    nid.uFlags = NIF_TIP;
    lstrcpyA(nid.szTip, "Morvel");
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    for (int i = 0; i < ListCount(list); ++i)
        items.push_back(ListText(list, i));
    return items;
}

// A message box of the program shown within the time, answered OK ("<none>": no box).
std::string Answer(const RunningBar& b, DWORD timeoutMs = 5000, const char* shot = nullptr) {
    return AnswerMessageBox(b.proc.Pid(), IDOK, timeoutMs, shot);
}

// Everything the sheet registers is removed before and after the test, whatever it left;
// the library given is unregistered too.
class Cleanup {
  public:
    explicit Cleanup(std::string library = "") : library_(std::move(library)) { Clean(); }
    ~Cleanup() { Clean(); }

  private:
    void Clean() {
        for (const RegTable& t :
             {MenuExtensionTable(""), BrowserHostTable(""), RunAtLogonTable("")})
            RemoveFromRegistry(t);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Morvel");
        if (!library_.empty()) RunProgram("regsvr32.exe /s /u \"" + library_ + "\"");
    }
    std::string library_;
};

const char kChromiumManifest[] = "jp.morvel.vantu.chromium.json";
const char kFirefoxManifest[] = "jp.morvel.vantu.firefox.json";

std::string RunValue(const char* key = kRunKey) {
    return RegText(HKEY_CURRENT_USER, key, "Morvel");
}

} // namespace

// The sheet itself: owner, buttons, pages, activation while open, topmost at once.
TEST(Settings, SheetPagesButtonsAndTopmost) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "", "[History]\r\nMax=5\r\nHistoryA=morvel\r\n")));
    ShowWindow(b.bar, SW_HIDE);
    SheetPage s;
    ASSERT_TRUE(s.Open(b, kAsOpened));
    const HWND sheet = s.sheet;
    EXPECT_TRUE(Visible(b.bar)); // restored first
    EXPECT_EQ(GetWindow(sheet, GW_OWNER), b.bar);
    EXPECT_FALSE(Enabled(b.bar)); // modal
    EXPECT_EQ(ItemText(sheet, IDOK), "OK");
    EXPECT_TRUE(Visible(GetDlgItem(sheet, IDCANCEL)));
    HWND help = GetDlgItem(sheet, IDHELP);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(Visible(help));
    EXPECT_TRUE(Enabled(help));
    HWND apply = GetDlgItem(sheet, 0x3021);
    EXPECT_TRUE(apply == nullptr || !Visible(apply));

    // The start page is 全般; each page holds its controls.
    EXPECT_EQ(Send(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(s.page)), 0);
    const struct {
        int page;
        int control;
        const char* shot;
    } pages[] = {
        {kGeneral, IDC_GEN_TOPMOST, "settings-general"},
        {kSearch, IDC_SRCH_HISTORY_SIZE, "settings-search"},
        {kMenuExt, IDC_MEXT_ENABLE, "settings-menuext"},
        {kHistory, IDC_HIST_LIST, "settings-history"},
    };
    for (const auto& p : pages) {
        ASSERT_NE(GetDlgItem(s.Show(p.page), p.control), nullptr) << p.shot;
        Shot(p.shot, sheet);
    }
    EXPECT_EQ(ItemText(s.Show(kGeneral), IDC_GEN_TRAY), "「Morvel」をタスクトレイに収納する");

    // A second request opens no second sheet.
    PostMessageA(b.bar, WM_COMMAND, IDM_SETTINGS, 0);
    Sleep(400);
    EXPECT_EQ(TopWindows(b.proc.Pid(), "#32770", "設定").size(), 1u);
    // Activation requests go to the sheet; the tray shows no menu while it is open.
    SetForegroundWindow(b.bar);
    Send(b.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet; }));
    PostMessageA(b.bar, kTrayNotify, 1, WM_RBUTTONUP);
    Sleep(400);
    EXPECT_EQ(FindPopupMenu(b.proc.Pid()), nullptr);

    // Topmost: Cancel changes nothing, OK applies it at once, either way.
    s.Show(kGeneral);
    EXPECT_FALSE(s.Ticked(IDC_GEN_TOPMOST));
    s.Click(IDC_GEN_TOPMOST);
    ASSERT_TRUE(s.Close(IDCANCEL));
    EXPECT_FALSE(Topmost(b.bar));
    EXPECT_TRUE(Enabled(b.bar));
    EXPECT_TRUE(WaitForFocus(b.keyword));
    // The open dialog is none again: activation goes to the bar.
    ShowWindow(b.bar, SW_HIDE);
    Send(b.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));

    ASSERT_TRUE(s.Open(b, kGeneral, true)); // the system menu's item
    EXPECT_FALSE(s.Ticked(IDC_GEN_TOPMOST));
    s.Click(IDC_GEN_TOPMOST);
    s.Click(IDC_GEN_NO_TIPS);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_TRUE(Topmost(b.bar));
    EXPECT_TRUE(WaitForFocus(b.keyword));

    ASSERT_TRUE(s.Open(b, kGeneral));
    EXPECT_TRUE(s.Ticked(IDC_GEN_TOPMOST));
    EXPECT_TRUE(s.Ticked(IDC_GEN_NO_TIPS));
    s.Click(IDC_GEN_TOPMOST);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_FALSE(Topmost(b.bar));

    // Only 全般 was shown: the other pages' settings and the history are as they were.
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("Window", "ShowMode"), 0);
    EXPECT_EQ(b.dir.IniInt("Window", "TipMode"), 1);
    EXPECT_EQ(b.dir.IniInt("History", "Max"), 5);
    EXPECT_EQ(b.dir.IniString("History", "HistoryA"), "morvel");
    EXPECT_EQ(b.dir.IniString("Search", "Browser"), FakeBrowserPath());
}

// The tray box and the two hiding boxes under it, and what the bar does after OK.
TEST(Settings, TrayModeAndHiding) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "TrayMode=0\r\nTaskErase=1\r\nNotWinClose=1\r\n")));
    const bool trayShown = TrayIconPresent(b.bar); // false where no tray answers
    if (!trayShown) std::printf("no tray answers here: the icon itself is not checked\n");
    SheetPage s;
    ASSERT_TRUE(s.Open(b, kGeneral));
    EXPECT_TRUE(s.Ticked(IDC_GEN_TRAY));
    EXPECT_TRUE(s.Ticked(IDC_GEN_HIDE_ON_MINIMIZE));
    EXPECT_TRUE(s.Ticked(IDC_GEN_HIDE_ON_CLOSE));
    EXPECT_TRUE(Enabled(s.Item(IDC_GEN_HIDE_ON_MINIMIZE)));
    s.Click(IDC_GEN_TRAY);
    // Disabled, their ticks unchanged.
    EXPECT_FALSE(Enabled(s.Item(IDC_GEN_HIDE_ON_MINIMIZE)));
    EXPECT_FALSE(Enabled(s.Item(IDC_GEN_HIDE_ON_CLOSE)));
    EXPECT_TRUE(s.Ticked(IDC_GEN_HIDE_ON_CLOSE));
    // The history was off at start: the editor's list is empty and every button off.
    HWND history = s.Show(kHistory);
    EXPECT_EQ(Send(GetDlgItem(history, IDC_HIST_LIST), LB_GETCOUNT), 0);
    EXPECT_EQ(ItemText(history, IDC_HIST_COUNT), "0件");
    for (int id : {IDC_HIST_UP, IDC_HIST_DOWN, IDC_HIST_DELETE, IDC_HIST_DELETE_ALL})
        EXPECT_FALSE(Enabled(GetDlgItem(history, id))) << id;
    ASSERT_TRUE(s.Close(IDOK));
    // The bar applies the sheet's outcome once the sheet is gone.
    if (trayShown) {
        EXPECT_TRUE(WaitUntil([&] { return !TrayIconPresent(b.bar); }));
    }

    // No tray icon: the boxes come back unticked and disabled; ticking the tray box
    // enables them with their ticks as they are.
    ASSERT_TRUE(s.Open(b, kGeneral));
    EXPECT_FALSE(s.Ticked(IDC_GEN_TRAY));
    for (int id : {IDC_GEN_HIDE_ON_MINIMIZE, IDC_GEN_HIDE_ON_CLOSE}) {
        EXPECT_FALSE(s.Ticked(id)) << id;
        EXPECT_FALSE(Enabled(s.Item(id))) << id;
    }
    s.Click(IDC_GEN_TRAY);
    EXPECT_TRUE(Enabled(s.Item(IDC_GEN_HIDE_ON_MINIMIZE)));
    EXPECT_TRUE(Enabled(s.Item(IDC_GEN_HIDE_ON_CLOSE)));
    EXPECT_FALSE(s.Ticked(IDC_GEN_HIDE_ON_CLOSE));
    s.Click(IDC_GEN_HIDE_ON_CLOSE);
    ASSERT_TRUE(s.Close(IDOK));
    if (trayShown) {
        EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(b.bar); }));
    }
    // The close button now only hides the bar.
    ASSERT_TRUE(WaitForFocus(b.keyword)); // the settings command has ended
    Send(b.bar, WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(b.bar); }));
    EXPECT_TRUE(b.proc.Running());
    Send(b.bar, kActivate);
    ASSERT_TRUE(WaitUntil([&] { return Visible(b.bar); }));

    // Unticking the tray box again forces both hiding settings off, whatever the boxes
    // show: the close button ends the program, and the file says so.
    ASSERT_TRUE(s.Open(b, kGeneral));
    s.Click(IDC_GEN_HIDE_ON_MINIMIZE);
    EXPECT_TRUE(s.Ticked(IDC_GEN_HIDE_ON_MINIMIZE));
    EXPECT_TRUE(s.Ticked(IDC_GEN_HIDE_ON_CLOSE));
    s.Click(IDC_GEN_TRAY);
    ASSERT_TRUE(s.Close(IDOK));
    PostMessageA(b.bar, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(b.proc.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(b.dir.IniInt("Window", "TrayMode"), 1);
    EXPECT_EQ(b.dir.IniInt("Window", "TaskErase"), 0);
    EXPECT_EQ(b.dir.IniInt("Window", "NotWinClose"), 0);
}

// Every history size case of the 検索 page, read back on reopening; sound and automatic
// search into the file at exit.
TEST(Settings, HistorySizeRules) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    const struct {
        bool ticked;
        const char* typed;
        int max;
    } cases[] = {
        {true, "", 10},   {true, "0", 10},  {true, "5", 5},  {true, "50", 50},
        {true, "51", 50}, {true, "99", 50}, {false, "7", 0}, {true, "1", 1},
    };
    SheetPage s;
    ASSERT_TRUE(s.Open(b, kSearch));
    HWND size = s.Item(IDC_SRCH_HISTORY_SIZE);
    EXPECT_FALSE(s.Ticked(IDC_SRCH_HISTORY_ON));
    EXPECT_FALSE(Enabled(size));
    EXPECT_EQ(WindowText(size), "");
    EXPECT_EQ(Send(size, EM_GETLIMITTEXT), 2);
    EXPECT_TRUE(GetWindowLongA(size, GWL_STYLE) & ES_NUMBER);
    EXPECT_TRUE(GetWindowLongA(size, GWL_STYLE) & ES_RIGHT);
    s.Click(IDC_SRCH_HISTORY_ON);
    EXPECT_TRUE(Enabled(size));
    s.Click(IDC_SRCH_HISTORY_ON);
    EXPECT_FALSE(Enabled(size));
    s.Click(IDC_SRCH_SOUND);
    s.Click(IDC_SRCH_AUTO_SEARCH);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (!IsWindow(s.sheet)) {
            ASSERT_TRUE(s.Open(b, kSearch));
        }
        s.SetBox(IDC_SRCH_HISTORY_ON, c.ticked);
        Send(s.Item(IDC_SRCH_HISTORY_SIZE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
        ASSERT_TRUE(s.Close(IDOK));
        ASSERT_TRUE(s.Open(b, kSearch));
        size = s.Item(IDC_SRCH_HISTORY_SIZE);
        EXPECT_EQ(s.Ticked(IDC_SRCH_HISTORY_ON), c.max != 0);
        EXPECT_EQ(Enabled(size), c.max != 0);
        EXPECT_EQ(WindowText(size), c.max ? std::to_string(c.max) : "");
        EXPECT_TRUE(s.Ticked(IDC_SRCH_SOUND));
        ASSERT_TRUE(s.Close(IDCANCEL));
    }
    // Suggestions: the first tick says where the typed text goes, once.
    ASSERT_TRUE(s.Open(b, kSearch));
    EXPECT_FALSE(s.Ticked(IDC_SRCH_SUGGEST));
    PostMessageA(s.Item(IDC_SRCH_SUGGEST), BM_CLICK, 0, 0);
    EXPECT_NE(AnswerMessageBox(b.proc.Pid(), IDOK).find("候補URLへ送られます"), std::string::npos);
    s.Click(IDC_SRCH_SUGGEST);
    s.Click(IDC_SRCH_SUGGEST);
    EXPECT_TRUE(WaitUntil([&] { return FindMessageBox(b.proc.Pid()) == nullptr; }, 300));
    ASSERT_TRUE(s.Close(IDOK));
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("History", "Max"), 1);
    EXPECT_EQ(b.dir.IniInt("Search", "Sound"), 1);
    EXPECT_EQ(b.dir.IniInt("Search", "AutoSearch"), 1);
    EXPECT_EQ(b.dir.IniInt("Search", "Suggest"), 1);
    EXPECT_EQ(b.dir.IniInt("Search", "SuggestTold"), 1);
}

// The browser label, "標準", and "変更" with the system's file dialog.
TEST(Settings, BrowserChoice) {
    RunningBar b;
    // A folder "ソ" (0x83 0x5C) in the stored path: its trail byte is no backslash.
    ASSERT_TRUE(b.Start("[Search]\r\nBrowser=C:\\\x83\x5C\\web.exe\r\nDefaultSEF=test.sef\r\n"));
    SheetPage s;
    ASSERT_TRUE(s.Open(b, kSearch));
    const auto browserName = [&] { return WindowText(s.Item(IDC_SRCH_BROWSER_NAME)); };
    EXPECT_EQ(browserName(), "web.exe");
    s.Click(IDC_SRCH_BROWSER_DEFAULT);
    EXPECT_EQ(browserName(), "関連付けされているブラウザ");
    ASSERT_TRUE(s.Close(IDOK));

    // "変更": choose the stand-in browser, then cancel the sheet.
    ASSERT_TRUE(s.Open(b, kSearch));
    EXPECT_EQ(browserName(), "関連付けされているブラウザ");
    const auto openFileDialog = [&]() -> HWND {
        PostMessageA(s.Item(IDC_SRCH_BROWSER_CHANGE), BM_CLICK, 0, 0);
        HWND dlg = nullptr;
        WaitUntil([&] {
            for (HWND w : TopWindows(b.proc.Pid(), "#32770", nullptr))
                if (w != s.sheet && w != b.bar && IsWindowVisible(w) && GetDlgItem(w, IDOK))
                    dlg = w;
            return dlg != nullptr;
        });
        return dlg;
    };
    HWND dlg = openFileDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), s.sheet);
    Shot("settings-browser-dialog", dlg);
    const std::string chosen = FakeBrowserPath();
    for (int id : {0x47C, 0x480}) // the file name box: a combo box or an edit control
        if (HWND box = GetDlgItem(dlg, id))
            Send(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
    PressButton(dlg, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
    EXPECT_EQ(browserName(), "fake_browser.exe");
    ASSERT_TRUE(s.Close(IDCANCEL));

    // Nothing of it stayed; a cancelled file dialog changes nothing either.
    ASSERT_TRUE(s.Open(b, kSearch));
    EXPECT_EQ(browserName(), "関連付けされているブラウザ");
    dlg = openFileDialog();
    ASSERT_NE(dlg, nullptr);
    PressButton(dlg, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
    EXPECT_EQ(browserName(), "関連付けされているブラウザ");
    ASSERT_TRUE(s.Close(IDOK));
    ASSERT_TRUE(b.Exit());
    EXPECT_TRUE(b.dir.IniHasKey("Search", "Browser"));
    EXPECT_EQ(b.dir.IniString("Search", "Browser"), "");
}

// The history editor's edge cases: moves, keys, deletes, Cancel and OK.
TEST(HistoryEditor, EditsTheWorkingCopyUntilOk) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "",
                                "[History]\r\nMax=10\r\nHistoryA=one\r\nHistoryB=two\r\n"
                                "HistoryC=三\r\nHistoryD=four\r\nHistoryE=five\r\n")));
    using V = std::vector<std::string>;
    const V stored = {"one", "two", "三", "four", "five"};
    SheetPage s;
    HWND list = nullptr;
    const auto open = [&] {
        list = s.Open(b, kHistory) ? s.Item(IDC_HIST_LIST) : nullptr;
        return list != nullptr;
    };
    const HWND& sheet = s.sheet;
    const HWND& page = s.page;
    const auto sel = [&] { return ListSelection(list); };
    const auto select = [&](int n) { Send(list, LB_SETCURSEL, n); };
    const auto enabled = [&](int id) { return Enabled(s.Item(id)); };

    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), stored);
    EXPECT_EQ(sel(), 0);
    EXPECT_EQ(ItemText(page, IDC_HIST_COUNT), "5件");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, IDC_HIST_COUNT), GWL_STYLE) & SS_RIGHT);
    Shot("settings-history-items", sheet);
    // The middle item up twice: the second move does nothing; the selection stays on it.
    select(1);
    s.Click(IDC_HIST_UP);
    EXPECT_EQ(ListItems(list), (V{"two", "one", "三", "four", "five"}));
    EXPECT_EQ(sel(), 0);
    s.Click(IDC_HIST_UP);
    EXPECT_EQ(ListItems(list), (V{"two", "one", "三", "four", "five"}));
    EXPECT_EQ(sel(), 0);
    // The keys, typed into the list: Shift+Down and Shift+Up move, Down only selects.
    ASSERT_TRUE(MakeForeground(sheet));
    Send(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    TypeKey(VK_DOWN, true);
    EXPECT_TRUE(WaitUntil([&] { return sel() == 1; }, 2000));
    EXPECT_EQ(ListItems(list), stored);
    TypeKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return sel() == 2; }, 2000));
    EXPECT_EQ(ListItems(list), stored);
    TypeKey(VK_UP, true);
    EXPECT_TRUE(WaitUntil([&] { return sel() == 1; }, 2000));
    EXPECT_EQ(ListItems(list), (V{"one", "三", "two", "four", "five"}));
    // The last item down: nothing. Delete on the last item selects the new last one.
    select(4);
    s.Click(IDC_HIST_DOWN);
    EXPECT_EQ(sel(), 4);
    Send(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE); // the click took it
    TypeKey(VK_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == 4; }, 2000));
    EXPECT_EQ(ListItems(list), (V{"one", "三", "two", "four"}));
    EXPECT_EQ(sel(), 3);
    EXPECT_EQ(ItemText(page, IDC_HIST_COUNT), "4件");
    ASSERT_TRUE(s.Close(IDCANCEL));

    // Cancel kept the live history; so does "全削除" followed by Cancel.
    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), stored);
    s.Click(IDC_HIST_DELETE_ALL);
    EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
    EXPECT_EQ(ItemText(page, IDC_HIST_COUNT), "0件");
    for (int id : {IDC_HIST_UP, IDC_HIST_DOWN, IDC_HIST_DELETE, IDC_HIST_DELETE_ALL})
        EXPECT_FALSE(enabled(id)) << id;
    ASSERT_TRUE(s.Close(IDCANCEL));

    // Deleting down to one item disables the moves for good, down to none every button.
    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), stored);
    for (int left = 4; left >= 1; --left) {
        s.Click(IDC_HIST_DELETE);
        EXPECT_EQ(Send(list, LB_GETCOUNT), left);
    }
    EXPECT_EQ(ListItems(list), V{"five"});
    EXPECT_EQ(sel(), 0);
    EXPECT_FALSE(enabled(IDC_HIST_UP));
    EXPECT_FALSE(enabled(IDC_HIST_DOWN));
    EXPECT_TRUE(enabled(IDC_HIST_DELETE));
    EXPECT_TRUE(enabled(IDC_HIST_DELETE_ALL));
    s.Click(IDC_HIST_DELETE);
    EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
    EXPECT_EQ(sel(), -1);
    EXPECT_EQ(ItemText(page, IDC_HIST_COUNT), "0件");
    for (int id : {IDC_HIST_UP, IDC_HIST_DOWN, IDC_HIST_DELETE, IDC_HIST_DELETE_ALL})
        EXPECT_FALSE(enabled(id)) << id;
    // The keys in the empty list do nothing.
    ASSERT_TRUE(MakeForeground(sheet));
    Send(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    TypeKey(VK_DELETE);
    TypeKey(VK_UP, true);
    TypeKey(VK_DOWN, true);
    Sleep(200);
    EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
    EXPECT_TRUE(IsWindow(sheet));
    ASSERT_TRUE(s.Close(IDCANCEL));

    // OK replaces the live history with the edited list.
    ASSERT_TRUE(open());
    select(4);
    s.Click(IDC_HIST_UP);
    select(0);
    s.Click(IDC_HIST_DELETE);
    ASSERT_TRUE(s.Close(IDOK));
    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), (V{"two", "三", "five", "four"}));
    // "全削除" and OK: the history is empty, also in the file.
    s.Click(IDC_HIST_DELETE_ALL);
    ASSERT_TRUE(s.Close(IDOK));
    ASSERT_TRUE(open());
    EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
    EXPECT_FALSE(enabled(IDC_HIST_DELETE_ALL));
    ASSERT_TRUE(s.Close(IDCANCEL));
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("History", "Max"), 10);
    EXPECT_FALSE(b.dir.IniHasKey("History", "HistoryA"));
}

// With Pelka.dll beside the program: registration, the key and its values, the box on
// reopening, the browser's script from the stored address, and the way back.
TEST(MenuExtension, WithTheLibrary) {
    RunningBar b(WithBridge());
    const std::string library = b.dir.File("Pelka.dll");
    Cleanup cleanup(library);
    ASSERT_TRUE(b.Start(TestIni()));
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));

    SheetPage s;
    ASSERT_TRUE(s.Open(b, kMenuExt));
    EXPECT_EQ(ItemText(s.page, IDC_MEXT_ENABLE), "IEのコンテキストメニューに「Morvel」を追加");
    EXPECT_FALSE(s.Ticked(IDC_MEXT_ENABLE));
    s.Click(IDC_MEXT_ENABLE);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(Answer(b, 1000), "<none>");
    // The key, and the bridge registered from the program directory.
    EXPECT_EQ(RegistryDifferences(MenuExtensionTable(library)), "");
    EXPECT_EQ(RegistryDifferences(BridgeClassTable(library)), "");

    // Reopened: ticked; OK with the box unchanged registers and writes again, silently.
    ASSERT_TRUE(s.Open(b, kMenuExt));
    EXPECT_TRUE(s.Ticked(IDC_MEXT_ENABLE));
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(Answer(b, 1000), "<none>");
    EXPECT_EQ(RegistryDifferences(MenuExtensionTable(library)), "");

    // The browser's part: the script at the stored address, with a selection on the page.
    const std::string stored = RegText(HKEY_CURRENT_USER, kMenuExtKey, nullptr);
    const std::string prefix = "res://", suffix = "/SETSTRING";
    ASSERT_EQ(stored.compare(0, prefix.size(), prefix), 0);
    ASSERT_EQ(stored.compare(stored.size() - suffix.size(), suffix.size(), suffix), 0);
    const std::string addressed =
        stored.substr(prefix.size(), stored.size() - prefix.size() - suffix.size());
    ASSERT_EQ(StoredScriptBody(addressed).size(), 4u);
    ShowWindow(b.bar, SW_MINIMIZE);
    ASSERT_EQ(RunMenuScript(b.dir, "\"選択\" & Chr(13) & Chr(10) & \"text \"", nullptr, addressed),
              0u);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(b.keyword) == "選択 text"; }));
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar) && !IsIconic(b.bar); }));

    // Unticked: unregistered and the key deleted, without a message.
    ASSERT_TRUE(s.Open(b, kMenuExt));
    s.Click(IDC_MEXT_ENABLE);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(Answer(b, 1000), "<none>");
    EXPECT_EQ(RegistryLeftovers(MenuExtensionTable(library)), "");
    EXPECT_EQ(RegistryLeftovers(BridgeClassTable(library)), "");
}

// Without Pelka.dll beside the program: one message and no key, even with a library of
// that name in the current directory, which is never loaded; unticking deletes the key
// anyway.
TEST(MenuExtension, WithoutTheLibrary) {
    ProgramDir planted(WithBridge(false));
    Cleanup cleanup(planted.File("Pelka.dll"));
    RunningBar b;
    Process::Options run;
    run.currentDir = planted.Path();
    ASSERT_TRUE(b.Start(TestIni().c_str(), run));

    SheetPage s;
    ASSERT_TRUE(s.Open(b, kMenuExt));
    s.Click(IDC_MEXT_ENABLE);
    PressButton(s.sheet, IDOK);
    EXPECT_EQ(Answer(b, 5000, "settings-menuext-missing"), "「Pelka.dll」が見つかりません。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(s.sheet); }));
    EXPECT_EQ(Answer(b, 500), "<none>");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    EXPECT_NE(RegistryDifferences(BridgeClassTable(planted.File("Pelka.dll"))), "");

    // A key made elsewhere: the page shows it ticked; a sheet confirmed without showing
    // the page leaves it; unticking deletes it after the message.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_TRUE(s.Open(b, kAsOpened));
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(Answer(b, 500), "<none>");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    ASSERT_TRUE(s.Open(b, kMenuExt));
    EXPECT_TRUE(s.Ticked(IDC_MEXT_ENABLE));
    s.Click(IDC_MEXT_ENABLE);
    PressButton(s.sheet, IDOK);
    EXPECT_EQ(Answer(b), "「Pelka.dll」が見つかりません。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(s.sheet); }));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
}

// The second box: registration of the browser host for the current user, done only when
// the box was changed; a missing host or an unwritable manifest writes nothing.
TEST(MenuExtension, BrowserHostRegistration) {
    RunningBar b(WithBridge()); // the first box, ticked, registers again silently at each OK
    Cleanup cleanup(b.dir.File("Pelka.dll"));
    ASSERT_TRUE(b.dir.CopyFromDist("morvel-host.exe"));
    ASSERT_TRUE(b.Start(TestIni()));
    const RegTable hostKeys = BrowserHostTable(b.dir.Path());
    SheetPage s;
    const HWND& page = s.page;
    auto open = [&] { return s.Open(b, kMenuExt); };

    ASSERT_TRUE(open());
    EXPECT_EQ(ItemText(page, IDC_MEXT_BROWSERS),
              "Chrome・Edge・Firefox の右クリックメニューに「Morvel」を追加");
    EXPECT_EQ(ItemText(page, IDC_MEXT_BROWSERS_NOTE),
              "ブラウザーには、同梱の拡張機能を読み込んでください。Chrome・Edge は "
              "browser\\extension、Firefox は browser\\firefox フォルダーです。");
    EXPECT_FALSE(s.Ticked(IDC_MEXT_BROWSERS));
    s.Click(IDC_MEXT_ENABLE);
    s.Click(IDC_MEXT_BROWSERS);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(Answer(b, 1000), "<none>");
    EXPECT_EQ(RegistryDifferences(hostKeys), "");
    std::string chromium, firefox;
    ASSERT_TRUE(b.dir.ReadBytes(kChromiumManifest, chromium));
    ASSERT_TRUE(b.dir.ReadBytes(kFirefoxManifest, firefox));
    EXPECT_NE(chromium.find("allowed_origins"), std::string::npos);
    EXPECT_EQ(chromium.find("allowed_extensions"), std::string::npos);
    EXPECT_NE(firefox.find("allowed_extensions"), std::string::npos);
    EXPECT_EQ(firefox.find("allowed_origins"), std::string::npos);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey)); // the first box does its part

    // Reopened: ticked. OK without a change writes nothing: a key changed meanwhile stays.
    ASSERT_TRUE(open());
    EXPECT_TRUE(s.Ticked(IDC_MEXT_BROWSERS));
    EXPECT_TRUE(s.Ticked(IDC_MEXT_ENABLE));
    Shot("settings-menuext-browsers", s.sheet);
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kHostKeys[2], 0, KEY_SET_VALUE, &raw),
              ERROR_SUCCESS);
    RegSetValueExA(raw, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\x.json"), 10);
    RegCloseKey(raw);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kHostKeys[2], nullptr), "C:\\x.json");
    // A key that names another file is no registration: unticked; ticking repairs it.
    ASSERT_TRUE(open());
    EXPECT_FALSE(s.Ticked(IDC_MEXT_BROWSERS));
    s.Click(IDC_MEXT_BROWSERS);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(RegistryDifferences(hostKeys), "");

    // Unticked: keys and manifests removed, the host stays, no message.
    ASSERT_TRUE(open());
    EXPECT_TRUE(s.Ticked(IDC_MEXT_BROWSERS));
    s.Click(IDC_MEXT_BROWSERS);
    ASSERT_TRUE(s.Close(IDOK));
    EXPECT_EQ(Answer(b, 1000), "<none>");
    EXPECT_EQ(RegistryLeftovers(hostKeys), "");
    EXPECT_FALSE(b.dir.Exists(kChromiumManifest));
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
    EXPECT_TRUE(b.dir.Exists("morvel-host.exe"));

    // A manifest that cannot be written (a folder of its name): the one error, no keys.
    ASSERT_TRUE(CreateDirectoryA(b.dir.File(kChromiumManifest).c_str(), nullptr));
    ASSERT_TRUE(open());
    s.Click(IDC_MEXT_BROWSERS);
    PressButton(s.sheet, IDOK);
    EXPECT_EQ(Answer(b, 5000, "settings-menuext-manifest-failed"),
              "ブラウザー連携のマニフェストファイルの書き込みに失敗しました。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(s.sheet); }));
    EXPECT_EQ(Answer(b, 500), "<none>");
    EXPECT_EQ(RegistryLeftovers(hostKeys), "");
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
    RemoveDirectoryA(b.dir.File(kChromiumManifest).c_str());

    // Without the host: the one warning, nothing written, the sheet closes.
    ASSERT_TRUE(DeleteFileA(b.dir.File("morvel-host.exe").c_str()));
    ASSERT_TRUE(open());
    EXPECT_FALSE(s.Ticked(IDC_MEXT_BROWSERS));
    s.Click(IDC_MEXT_BROWSERS);
    PressButton(s.sheet, IDOK);
    EXPECT_EQ(Answer(b, 5000, "settings-menuext-host-missing"),
              "「morvel-host.exe」が見つかりません。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(s.sheet); }));
    EXPECT_EQ(Answer(b, 500), "<none>");
    EXPECT_EQ(RegistryLeftovers(hostKeys), "");
    EXPECT_FALSE(b.dir.Exists(kChromiumManifest));
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
}

// The box "Windows の起動時に Morvel を起動する": the Run value is its only store, and a value
// that Windows' own start-up list turned off shows unticked until ticked again.
TEST(Settings, StartWithWindows) {
    Cleanup cleanup;
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    const std::string command = "\"" + b.dir.File("vantu.exe") + "\" /tray";
    auto setBox = [&](bool expected, bool click, const char* shot = nullptr) {
        SheetPage s;
        ASSERT_TRUE(s.Open(b, kGeneral));
        EXPECT_EQ(ItemText(s.page, IDC_GEN_RUN_AT_LOGON), "Windows の起動時に Morvel を起動する");
        EXPECT_EQ(s.Ticked(IDC_GEN_RUN_AT_LOGON), expected);
        if (click) s.Click(IDC_GEN_RUN_AT_LOGON);
        if (shot) Shot(shot, s.sheet);
        ASSERT_TRUE(s.Close(IDOK));
        EXPECT_EQ(Answer(b, 500), "<none>");
    };
    setBox(false, true, "settings-general-logon");
    EXPECT_EQ(RegistryDifferences(RunAtLogonTable(b.dir.Path())), "");
    setBox(true, false);
    EXPECT_EQ(RegistryDifferences(RunAtLogonTable(b.dir.Path())), "");
    // Turned off in Windows' list (an odd first byte): unticked; ticking turns it on again.
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kApprovedKey, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    const BYTE off[12] = {3};
    RegSetValueExA(raw, "Morvel", 0, REG_BINARY, off, sizeof off);
    RegCloseKey(raw);
    setBox(false, true);
    EXPECT_EQ(RunValue(), command);
    EXPECT_EQ(RunValue(kApprovedKey), "<none>");
    // Another copy's value is not this one's: unticked; ticking puts this one's in its place.
    const char other[] = "\"C:\\other\\vantu.exe\" /tray";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "Morvel", REG_SZ, other, sizeof other),
              ERROR_SUCCESS);
    setBox(false, true);
    EXPECT_EQ(RunValue(), command);
    setBox(true, true);
    EXPECT_EQ(RunValue(), "<none>");
    ASSERT_TRUE(b.Exit());
    EXPECT_FALSE(b.dir.IniHasKey("Window", "RunAtLogon")); // nothing in the settings file
}

// Started with /tray (as the Run value starts it): hidden with its tray icon, or minimised
// without one; a second start at logon leaves a running bar where it is.
TEST(Settings, TrayStartAtLogon) {
    Process::Options logon;
    logon.arguments = "/tray";
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni().c_str(), logon));
    Sleep(1500); // time for the dialog manager's own first show
    EXPECT_FALSE(Visible(b.bar));
    EXPECT_TRUE(TrayIconPresent(b.bar));
    Process second;
    ASSERT_TRUE(second.Start(b.dir, logon));
    DWORD code = 1;
    ASSERT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    Sleep(300);
    EXPECT_FALSE(Visible(b.bar));
    Send(b.bar, kTrayNotify, 1, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));
    ASSERT_TRUE(b.Exit());

    RunningBar m;
    ASSERT_TRUE(m.Start(TestIni("", "TrayMode=1\r\n").c_str(), logon));
    EXPECT_TRUE(WaitUntil([&] { return Visible(m.bar) && IsIconic(m.bar); }));
    EXPECT_FALSE(TrayIconPresent(m.bar));
}

// The uninstaller's switch: everything the user registered through the program goes, the
// settings file and the engine files stay, and no window shows.
TEST(MenuExtension, UnregisterSwitchRemovesWhatWasRegistered) {
    RunningBar b(WithBridge());
    const std::string library = b.dir.File("Pelka.dll");
    Cleanup cleanup(library);
    ASSERT_TRUE(b.dir.CopyFromDist("morvel-host.exe"));
    ASSERT_TRUE(b.Start(TestIni()));
    SheetPage s;
    ASSERT_TRUE(s.Open(b, kMenuExt));
    s.Click(IDC_MEXT_ENABLE);
    s.Click(IDC_MEXT_BROWSERS);
    s.Show(kGeneral);
    s.Click(IDC_GEN_RUN_AT_LOGON);
    ASSERT_TRUE(s.Close(IDOK));
    ASSERT_TRUE(b.Exit());
    const RegTable tables[] = {MenuExtensionTable(library), BridgeClassTable(library),
                               BrowserHostTable(b.dir.Path()), RunAtLogonTable(b.dir.Path())};
    for (const RegTable& t : tables)
        ASSERT_EQ(RegistryDifferences(t), "");
    ASSERT_TRUE(b.dir.Exists(kChromiumManifest));
    std::string ini, ini2;
    ASSERT_TRUE(b.dir.ReadBytes("vantu.ini", ini));

    Process u;
    Process::Options unregister;
    unregister.arguments = "/unregister";
    ASSERT_TRUE(u.Start(b.dir, unregister));
    DWORD code = 1;
    ASSERT_TRUE(u.WaitForExit(10000, &code)); // a bar or a message would keep it
    EXPECT_EQ(code, 0u);
    for (const RegTable& t : tables)
        EXPECT_EQ(RegistryLeftovers(t), "");
    EXPECT_FALSE(b.dir.Exists(kChromiumManifest));
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
    ASSERT_TRUE(b.dir.ReadBytes("vantu.ini", ini2));
    EXPECT_EQ(ini2, ini);
    EXPECT_TRUE(b.dir.Exists("test.sef"));
    // Nothing left to remove is no error either.
    ASSERT_TRUE(u.Start(b.dir, unregister));
    ASSERT_TRUE(u.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}
