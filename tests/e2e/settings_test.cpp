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

#include "tests/support/file_text.h"
#include "tests/support/run_program.h"
#include "tests/e2e/menu_script.h"
#include "tests/e2e/support.h"
#include "ui/common/resource.h"

using namespace e2e;

namespace {

const char kMenuExtKey[] = "Software\\Microsoft\\Internet Explorer\\MenuExt\\Morvel";
const char kClassKey[] = "CLSID\\{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}\\InprocServer32";
enum Page { kGeneral, kSearch, kMenuExt, kHistory };

bool Ticked(HWND page, int id) {
    return Send(GetDlgItem(page, id), BM_GETCHECK) == BST_CHECKED;
}
void Click(HWND page, int id) {
    Send(GetDlgItem(page, id), BM_CLICK);
}
void SetBox(HWND page, int id, bool on) {
    if (Ticked(page, id) != on) Click(page, id);
}

bool KeywordHasFocus(const RunningBar& b) {
    return WaitUntil([&] {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        return GetGUIThreadInfo(GetWindowThreadProcessId(b.bar, nullptr), &gti) &&
               gti.hwndFocus == b.keyword;
    });
}

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
    const int n = static_cast<int>(Send(list, LB_GETCOUNT));
    for (int i = 0; i < n; ++i) {
        // Asked in UTF-16: the ANSI form is not converted across processes.
        wchar_t wide[256] = {};
        DWORD_PTR len = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, 5000,
                            &len);
        char buf[512] = {};
        WideCharToMultiByte(932, 0, wide, -1, buf, sizeof buf - 1, nullptr, nullptr);
        items.push_back(buf);
    }
    return items;
}

// A message box of the program (not the bar, not the sheet) shown within the time.
std::string AnswerMessageBox(const RunningBar& b, DWORD timeoutMs = 5000,
                             const char* shot = nullptr) {
    HWND box = WaitForMessageBox(b.proc.Pid(), MORVEL_TITLE, timeoutMs);
    if (!box) return "<no box>";
    const std::string text = MessageBoxText(box);
    if (shot) Shot(shot, box);
    PressButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

std::string DefaultText(HKEY root, const char* path) {
    return RegText(root, path, nullptr);
}

// The menu extension key and the bridge's registration are removed before and after the
// test, whatever it left.
class MenuExtCleanup {
  public:
    explicit MenuExtCleanup(std::string library = "") : library_(std::move(library)) { Clean(); }
    ~MenuExtCleanup() { Clean(); }

  private:
    void Clean() {
        RegDeleteKeyA(HKEY_CURRENT_USER, kMenuExtKey);
        if (!library_.empty()) RunProgram("regsvr32.exe /s /u \"" + library_ + "\"");
    }
    std::string library_;
};

// The browser host's keys (their default values name the manifests beside the program),
// removed before and after the test.
const char* const kHostKeys[] = {
    "Software\\Google\\Chrome\\NativeMessagingHosts\\jp.morvel.vantu",
    "Software\\Microsoft\\Edge\\NativeMessagingHosts\\jp.morvel.vantu",
    "Software\\Mozilla\\NativeMessagingHosts\\jp.morvel.vantu",
};
const char kChromiumManifest[] = "jp.morvel.vantu.chromium.json";
const char kFirefoxManifest[] = "jp.morvel.vantu.firefox.json";

class HostKeysCleanup {
  public:
    HostKeysCleanup() { Clean(); }
    ~HostKeysCleanup() { Clean(); }

  private:
    static void Clean() {
        for (const char* key : kHostKeys)
            RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }
};

// The three keys' default values, or "<none>" each.
std::vector<std::string> HostKeyValues() {
    std::vector<std::string> values;
    for (const char* key : kHostKeys)
        values.push_back(DefaultText(HKEY_CURRENT_USER, key));
    return values;
}

// Starting with Windows: the Run value and Explorer's on/off mark, removed before and after.
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

class RunValueCleanup {
  public:
    RunValueCleanup() { Clean(); }
    ~RunValueCleanup() { Clean(); }

  private:
    static void Clean() {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Morvel");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Morvel");
    }
};

std::string RunValue(const char* key = kRunKey) {
    return RegText(HKEY_CURRENT_USER, key, "Morvel");
}

std::string TrayIni(const std::string& window) {
    return TestIni("", window);
}

} // namespace

// The sheet itself: owner, buttons, pages, activation while open, topmost at once.
TEST(Settings, SheetPagesButtonsAndTopmost) {
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni("", "", "[History]\r\nMax=5\r\nHistoryA=morvel\r\n")));
    ShowWindow(b.bar, SW_HIDE);
    HWND sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
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
    EXPECT_EQ(Send(sheet, PSM_HWNDTOINDEX, Send(sheet, PSM_GETCURRENTPAGEHWND)), 0);
    const struct {
        Page page;
        int control;
        const char* shot;
    } pages[] = {
        {kGeneral, IDC_GEN_TOPMOST, "settings-general"},
        {kSearch, IDC_SRCH_HISTORY_SIZE, "settings-search"},
        {kMenuExt, IDC_MEXT_ENABLE, "settings-menuext"},
        {kHistory, IDC_HIST_LIST, "settings-history"},
    };
    for (const auto& p : pages) {
        HWND page = ShowPage(sheet, p.page);
        ASSERT_NE(GetDlgItem(page, p.control), nullptr) << p.shot;
        Shot(p.shot, sheet);
    }
    EXPECT_EQ(ItemText(ShowPage(sheet, kGeneral), IDC_GEN_TRAY),
              "「Morvel」をタスクトレイに収納する");

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
    HWND general = ShowPage(sheet, kGeneral);
    EXPECT_FALSE(Ticked(general, IDC_GEN_TOPMOST));
    Click(general, IDC_GEN_TOPMOST);
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
    EXPECT_FALSE(Topmost(b.bar));
    EXPECT_TRUE(Enabled(b.bar));
    EXPECT_TRUE(KeywordHasFocus(b));
    // The open dialog is none again: activation goes to the bar.
    ShowWindow(b.bar, SW_HIDE);
    Send(b.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar); }));

    sheet = OpenSheet(b, true); // the system menu's item
    ASSERT_NE(sheet, nullptr);
    general = ShowPage(sheet, kGeneral);
    EXPECT_FALSE(Ticked(general, IDC_GEN_TOPMOST));
    Click(general, IDC_GEN_TOPMOST);
    Click(general, IDC_GEN_NO_TIPS);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_TRUE(Topmost(b.bar));
    EXPECT_TRUE(KeywordHasFocus(b));

    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    general = ShowPage(sheet, kGeneral);
    EXPECT_TRUE(Ticked(general, IDC_GEN_TOPMOST));
    EXPECT_TRUE(Ticked(general, IDC_GEN_NO_TIPS));
    Click(general, IDC_GEN_TOPMOST);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
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
    ASSERT_TRUE(b.Start(TrayIni("TrayMode=0\r\nTaskErase=1\r\nNotWinClose=1\r\n")));
    const bool trayShown = TrayIconPresent(b.bar); // false where no tray answers
    if (!trayShown) std::printf("no tray answers here: the icon itself is not checked\n");
    HWND sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kGeneral);
    EXPECT_TRUE(Ticked(page, IDC_GEN_TRAY));
    EXPECT_TRUE(Ticked(page, IDC_GEN_HIDE_ON_MINIMIZE));
    EXPECT_TRUE(Ticked(page, IDC_GEN_HIDE_ON_CLOSE));
    EXPECT_TRUE(Enabled(GetDlgItem(page, IDC_GEN_HIDE_ON_MINIMIZE)));
    Click(page, IDC_GEN_TRAY);
    // Disabled, their ticks unchanged.
    EXPECT_FALSE(Enabled(GetDlgItem(page, IDC_GEN_HIDE_ON_MINIMIZE)));
    EXPECT_FALSE(Enabled(GetDlgItem(page, IDC_GEN_HIDE_ON_CLOSE)));
    EXPECT_TRUE(Ticked(page, IDC_GEN_HIDE_ON_CLOSE));
    // The history was off at start: the editor's list is empty and every button off.
    HWND history = ShowPage(sheet, kHistory);
    EXPECT_EQ(Send(GetDlgItem(history, IDC_HIST_LIST), LB_GETCOUNT), 0);
    EXPECT_EQ(ItemText(history, IDC_HIST_COUNT), "0件");
    for (int id : {IDC_HIST_UP, IDC_HIST_DOWN, IDC_HIST_DELETE, IDC_HIST_DELETE_ALL})
        EXPECT_FALSE(Enabled(GetDlgItem(history, id))) << id;
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    // The bar applies the sheet's outcome once the sheet is gone.
    if (trayShown) {
        EXPECT_TRUE(WaitUntil([&] { return !TrayIconPresent(b.bar); }));
    }

    // No tray icon: the boxes come back unticked and disabled; ticking the tray box
    // enables them with their ticks as they are.
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, kGeneral);
    EXPECT_FALSE(Ticked(page, IDC_GEN_TRAY));
    for (int id : {IDC_GEN_HIDE_ON_MINIMIZE, IDC_GEN_HIDE_ON_CLOSE}) {
        EXPECT_FALSE(Ticked(page, id)) << id;
        EXPECT_FALSE(Enabled(GetDlgItem(page, id))) << id;
    }
    Click(page, IDC_GEN_TRAY);
    EXPECT_TRUE(Enabled(GetDlgItem(page, IDC_GEN_HIDE_ON_MINIMIZE)));
    EXPECT_TRUE(Enabled(GetDlgItem(page, IDC_GEN_HIDE_ON_CLOSE)));
    EXPECT_FALSE(Ticked(page, IDC_GEN_HIDE_ON_CLOSE));
    Click(page, IDC_GEN_HIDE_ON_CLOSE);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    if (trayShown) {
        EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(b.bar); }));
    }
    // The close button now only hides the bar.
    ASSERT_TRUE(KeywordHasFocus(b)); // the settings command has ended
    Send(b.bar, WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(b.bar); }));
    EXPECT_TRUE(b.proc.Running());
    Send(b.bar, kActivate);
    ASSERT_TRUE(WaitUntil([&] { return Visible(b.bar); }));

    // Unticking the tray box again forces both hiding settings off, whatever the boxes
    // show: the close button ends the program, and the file says so.
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, kGeneral);
    Click(page, IDC_GEN_HIDE_ON_MINIMIZE);
    EXPECT_TRUE(Ticked(page, IDC_GEN_HIDE_ON_MINIMIZE));
    EXPECT_TRUE(Ticked(page, IDC_GEN_HIDE_ON_CLOSE));
    Click(page, IDC_GEN_TRAY);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
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
    HWND sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kSearch);
    HWND size = GetDlgItem(page, IDC_SRCH_HISTORY_SIZE);
    EXPECT_FALSE(Ticked(page, IDC_SRCH_HISTORY_ON));
    EXPECT_FALSE(Enabled(size));
    EXPECT_EQ(WindowText(size), "");
    EXPECT_EQ(Send(size, EM_GETLIMITTEXT), 2);
    EXPECT_TRUE(GetWindowLongA(size, GWL_STYLE) & ES_NUMBER);
    EXPECT_TRUE(GetWindowLongA(size, GWL_STYLE) & ES_RIGHT);
    Click(page, IDC_SRCH_HISTORY_ON);
    EXPECT_TRUE(Enabled(size));
    Click(page, IDC_SRCH_HISTORY_ON);
    EXPECT_FALSE(Enabled(size));
    Click(page, IDC_SRCH_SOUND);
    Click(page, IDC_SRCH_AUTO_SEARCH);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (!sheet) {
            sheet = OpenSheet(b);
            ASSERT_NE(sheet, nullptr);
            page = ShowPage(sheet, kSearch);
            size = GetDlgItem(page, IDC_SRCH_HISTORY_SIZE);
        }
        SetBox(page, IDC_SRCH_HISTORY_ON, c.ticked);
        Send(size, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
        ASSERT_TRUE(CloseSheet(sheet, IDOK));
        sheet = OpenSheet(b);
        ASSERT_NE(sheet, nullptr);
        page = ShowPage(sheet, kSearch);
        size = GetDlgItem(page, IDC_SRCH_HISTORY_SIZE);
        EXPECT_EQ(Ticked(page, IDC_SRCH_HISTORY_ON), c.max != 0);
        EXPECT_EQ(Enabled(size), c.max != 0);
        EXPECT_EQ(WindowText(size), c.max ? std::to_string(c.max) : "");
        EXPECT_TRUE(Ticked(page, IDC_SRCH_SOUND));
        ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
        sheet = nullptr;
    }
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("History", "Max"), 1);
    EXPECT_EQ(b.dir.IniInt("Search", "Sound"), 1);
    EXPECT_EQ(b.dir.IniInt("Search", "AutoSearch"), 1);
}

// The browser label, "標準", and "変更" with the system's file dialog.
TEST(Settings, BrowserChoice) {
    RunningBar b;
    // A folder "ソ" (0x83 0x5C) in the stored path: its trail byte is no backslash.
    ASSERT_TRUE(b.Start("[Search]\r\nBrowser=C:\\\x83\x5C\\web.exe\r\nDefaultSEF=test.sef\r\n"));
    HWND sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kSearch);
    EXPECT_EQ(ItemText(page, IDC_SRCH_BROWSER_NAME), "web.exe");
    Click(page, IDC_SRCH_BROWSER_DEFAULT);
    EXPECT_EQ(ItemText(page, IDC_SRCH_BROWSER_NAME), "関連付けされているブラウザ");
    ASSERT_TRUE(CloseSheet(sheet, IDOK));

    // "変更": choose the stand-in browser, then cancel the sheet.
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, kSearch);
    EXPECT_EQ(ItemText(page, IDC_SRCH_BROWSER_NAME), "関連付けされているブラウザ");
    const auto openFileDialog = [&]() -> HWND {
        PostMessageA(GetDlgItem(page, IDC_SRCH_BROWSER_CHANGE), BM_CLICK, 0, 0);
        HWND dlg = nullptr;
        WaitUntil([&] {
            for (HWND w : TopWindows(b.proc.Pid(), "#32770", nullptr))
                if (w != sheet && w != b.bar && IsWindowVisible(w) && GetDlgItem(w, IDOK)) dlg = w;
            return dlg != nullptr;
        });
        return dlg;
    };
    HWND dlg = openFileDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), sheet);
    Shot("settings-browser-dialog", dlg);
    const std::string chosen = FakeBrowserPath();
    for (int id : {0x47C, 0x480}) // the file name box: a combo box or an edit control
        if (HWND box = GetDlgItem(dlg, id))
            Send(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
    PressButton(dlg, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
    EXPECT_EQ(ItemText(page, IDC_SRCH_BROWSER_NAME), "fake_browser.exe");
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

    // Nothing of it stayed; a cancelled file dialog changes nothing either.
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, kSearch);
    EXPECT_EQ(ItemText(page, IDC_SRCH_BROWSER_NAME), "関連付けされているブラウザ");
    dlg = openFileDialog();
    ASSERT_NE(dlg, nullptr);
    PressButton(dlg, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }));
    EXPECT_EQ(ItemText(page, IDC_SRCH_BROWSER_NAME), "関連付けされているブラウザ");
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
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
    HWND sheet = nullptr, page = nullptr, list = nullptr;
    const auto open = [&] {
        sheet = OpenSheet(b);
        page = sheet ? ShowPage(sheet, kHistory) : nullptr;
        list = page ? GetDlgItem(page, IDC_HIST_LIST) : nullptr;
        return list != nullptr;
    };
    const auto sel = [&] { return static_cast<int>(Send(list, LB_GETCURSEL)); };
    const auto select = [&](int n) { Send(list, LB_SETCURSEL, n); };
    const auto enabled = [&](int id) { return Enabled(GetDlgItem(page, id)); };

    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), stored);
    EXPECT_EQ(sel(), 0);
    EXPECT_EQ(ItemText(page, IDC_HIST_COUNT), "5件");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, IDC_HIST_COUNT), GWL_STYLE) & SS_RIGHT);
    Shot("settings-history-items", sheet);
    // The middle item up twice: the second move does nothing; the selection stays on it.
    select(1);
    Click(page, IDC_HIST_UP);
    EXPECT_EQ(ListItems(list), (V{"two", "one", "三", "four", "five"}));
    EXPECT_EQ(sel(), 0);
    Click(page, IDC_HIST_UP);
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
    Click(page, IDC_HIST_DOWN);
    EXPECT_EQ(sel(), 4);
    Send(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE); // the click took it
    TypeKey(VK_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == 4; }, 2000));
    EXPECT_EQ(ListItems(list), (V{"one", "三", "two", "four"}));
    EXPECT_EQ(sel(), 3);
    EXPECT_EQ(ItemText(page, IDC_HIST_COUNT), "4件");
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

    // Cancel kept the live history; so does "全削除" followed by Cancel.
    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), stored);
    Click(page, IDC_HIST_DELETE_ALL);
    EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
    EXPECT_EQ(ItemText(page, IDC_HIST_COUNT), "0件");
    for (int id : {IDC_HIST_UP, IDC_HIST_DOWN, IDC_HIST_DELETE, IDC_HIST_DELETE_ALL})
        EXPECT_FALSE(enabled(id)) << id;
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

    // Deleting down to one item disables the moves for good, down to none every button.
    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), stored);
    for (int left = 4; left >= 1; --left) {
        Click(page, IDC_HIST_DELETE);
        EXPECT_EQ(Send(list, LB_GETCOUNT), left);
    }
    EXPECT_EQ(ListItems(list), V{"five"});
    EXPECT_EQ(sel(), 0);
    EXPECT_FALSE(enabled(IDC_HIST_UP));
    EXPECT_FALSE(enabled(IDC_HIST_DOWN));
    EXPECT_TRUE(enabled(IDC_HIST_DELETE));
    EXPECT_TRUE(enabled(IDC_HIST_DELETE_ALL));
    Click(page, IDC_HIST_DELETE);
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
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

    // OK replaces the live history with the edited list.
    ASSERT_TRUE(open());
    select(4);
    Click(page, IDC_HIST_UP);
    select(0);
    Click(page, IDC_HIST_DELETE);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    ASSERT_TRUE(open());
    EXPECT_EQ(ListItems(list), (V{"two", "三", "five", "four"}));
    // "全削除" and OK: the history is empty, also in the file.
    Click(page, IDC_HIST_DELETE_ALL);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    ASSERT_TRUE(open());
    EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
    EXPECT_FALSE(enabled(IDC_HIST_DELETE_ALL));
    ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
    ASSERT_TRUE(b.Exit());
    EXPECT_EQ(b.dir.IniInt("History", "Max"), 10);
    EXPECT_FALSE(b.dir.IniHasKey("History", "HistoryA"));
}

// With Pelka.dll beside the program: registration, the key and its values, the box on
// reopening, the browser's script from the stored address, and the way back.
TEST(MenuExtension, WithTheLibrary) {
    ProgramDir::Options options;
    options.copyBridge = true;
    RunningBar b(options);
    MenuExtCleanup cleanup(b.dir.File("Pelka.dll"));
    ASSERT_TRUE(b.Start(TestIni()));
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));

    HWND sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kMenuExt);
    EXPECT_EQ(ItemText(page, IDC_MEXT_ENABLE), "IEのコンテキストメニューに「Morvel」を追加");
    EXPECT_FALSE(Ticked(page, IDC_MEXT_ENABLE));
    Click(page, IDC_MEXT_ENABLE);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(AnswerMessageBox(b, 1000), "<no box>");

    const std::string address = "res://" + b.dir.Path() + "Pelka.dll/SETSTRING";
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kMenuExtKey, nullptr, type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, address + '\0'); // the stored size counts the NUL
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kMenuExtKey, "Contexts", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string("\x10\0\0\0", 4));
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kMenuExtKey, "Flags", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string(4, '\0'));
    // The bridge is registered from the program directory.
    EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, kClassKey), b.dir.File("Pelka.dll"));
    EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, "Pelka.Vantu\\CLSID"),
              "{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}");

    // Reopened: ticked; OK with the box unchanged registers and writes again, silently.
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, kMenuExt);
    EXPECT_TRUE(Ticked(page, IDC_MEXT_ENABLE));
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(AnswerMessageBox(b, 1000), "<no box>");
    EXPECT_EQ(DefaultText(HKEY_CURRENT_USER, kMenuExtKey), address);

    // The browser's part: the script at the stored address, with a selection on the page.
    const std::string stored = DefaultText(HKEY_CURRENT_USER, kMenuExtKey);
    const std::string prefix = "res://", suffix = "/SETSTRING";
    ASSERT_EQ(stored.compare(0, prefix.size(), prefix), 0);
    ASSERT_EQ(stored.compare(stored.size() - suffix.size(), suffix.size(), suffix), 0);
    const std::string library =
        stored.substr(prefix.size(), stored.size() - prefix.size() - suffix.size());
    ASSERT_EQ(StoredScriptBody(library).size(), 4u);
    ShowWindow(b.bar, SW_MINIMIZE);
    ASSERT_EQ(RunMenuScript(b.dir, "\"選択\" & Chr(13) & Chr(10) & \"text \"", nullptr, library),
              0u);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(b.keyword) == "選択 text"; }));
    EXPECT_TRUE(WaitUntil([&] { return Visible(b.bar) && !IsIconic(b.bar); }));

    // Unticked: unregistered and the key deleted, without a message.
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, kMenuExt);
    Click(page, IDC_MEXT_ENABLE);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(AnswerMessageBox(b, 1000), "<no box>");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Pelka.Vantu"));
}

// Without Pelka.dll beside the program: one message and no key, even with a library of
// that name in the current directory, which is never loaded; unticking deletes the key
// anyway.
TEST(MenuExtension, WithoutTheLibrary) {
    ProgramDir::Options plantedOptions;
    plantedOptions.copyProgram = false;
    plantedOptions.copyDefaultSef = false;
    plantedOptions.copyBridge = true;
    ProgramDir planted(plantedOptions);
    MenuExtCleanup cleanup(planted.File("Pelka.dll"));
    RunningBar b;
    Process::Options run;
    run.currentDir = planted.Path();
    ASSERT_TRUE(b.dir.WriteEngineFile("test.sef", TestEngines()));
    ASSERT_TRUE(b.dir.WriteIni(TestIni()));
    ASSERT_TRUE(b.proc.Start(b.dir, run));
    ASSERT_NE(b.bar = b.proc.WaitForBar(), nullptr);

    HWND sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kMenuExt);
    Click(page, IDC_MEXT_ENABLE);
    PressButton(sheet, IDOK);
    EXPECT_EQ(AnswerMessageBox(b, 5000, "settings-menuext-missing"),
              "「Pelka.dll」が見つかりません。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(AnswerMessageBox(b, 500), "<no box>");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    EXPECT_NE(DefaultText(HKEY_CLASSES_ROOT, kClassKey), planted.File("Pelka.dll"));

    // A key made elsewhere: the page shows it ticked; a sheet confirmed without showing
    // the page leaves it; unticking deletes it after the message.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(AnswerMessageBox(b, 500), "<no box>");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, kMenuExt);
    EXPECT_TRUE(Ticked(page, IDC_MEXT_ENABLE));
    Click(page, IDC_MEXT_ENABLE);
    PressButton(sheet, IDOK);
    EXPECT_EQ(AnswerMessageBox(b), "「Pelka.dll」が見つかりません。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
}

// The second box: registration of the browser host for the current user, done only when
// the box was changed; a missing host or an unwritable manifest writes nothing.
TEST(MenuExtension, BrowserHostRegistration) {
    using V = std::vector<std::string>;
    ProgramDir::Options options;
    options.copyBridge = true; // the first box, ticked, registers again silently at each OK
    RunningBar b(options);
    MenuExtCleanup cleanup(b.dir.File("Pelka.dll"));
    HostKeysCleanup hostKeys;
    ASSERT_TRUE(b.dir.CopyFromDist("morvel-host.exe"));
    ASSERT_TRUE(b.Start(TestIni()));
    const V none(3, "<none>");
    const V registered = {b.dir.File(kChromiumManifest), b.dir.File(kChromiumManifest),
                          b.dir.File(kFirefoxManifest)};
    HWND sheet = nullptr, page = nullptr;
    auto open = [&] {
        sheet = OpenSheet(b);
        if (!sheet) return false;
        page = ShowPage(sheet, kMenuExt);
        return page != nullptr;
    };

    ASSERT_TRUE(open());
    EXPECT_EQ(ItemText(page, IDC_MEXT_BROWSERS),
              "Chrome・Edge・Firefox の右クリックメニューに「Morvel」を追加");
    EXPECT_EQ(ItemText(page, IDC_MEXT_BROWSERS_NOTE),
              "ブラウザーには、同梱の拡張機能を読み込んでください。Chrome・Edge は "
              "browser\\extension、Firefox は browser\\firefox フォルダーです。");
    EXPECT_FALSE(Ticked(page, IDC_MEXT_BROWSERS));
    Click(page, IDC_MEXT_ENABLE);
    Click(page, IDC_MEXT_BROWSERS);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(AnswerMessageBox(b, 1000), "<no box>");
    EXPECT_EQ(HostKeyValues(), registered);
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
    EXPECT_TRUE(Ticked(page, IDC_MEXT_BROWSERS));
    EXPECT_TRUE(Ticked(page, IDC_MEXT_ENABLE));
    Shot("settings-menuext-browsers", sheet);
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kHostKeys[2], 0, KEY_SET_VALUE, &raw),
              ERROR_SUCCESS);
    RegSetValueExA(raw, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\x.json"), 10);
    RegCloseKey(raw);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(DefaultText(HKEY_CURRENT_USER, kHostKeys[2]), "C:\\x.json");
    // A key that names another file is no registration: unticked; ticking repairs it.
    ASSERT_TRUE(open());
    EXPECT_FALSE(Ticked(page, IDC_MEXT_BROWSERS));
    Click(page, IDC_MEXT_BROWSERS);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(HostKeyValues(), registered);

    // Unticked: keys and manifests removed, the host stays, no message.
    ASSERT_TRUE(open());
    EXPECT_TRUE(Ticked(page, IDC_MEXT_BROWSERS));
    Click(page, IDC_MEXT_BROWSERS);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    EXPECT_EQ(AnswerMessageBox(b, 1000), "<no box>");
    EXPECT_EQ(HostKeyValues(), none);
    EXPECT_FALSE(b.dir.Exists(kChromiumManifest));
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
    EXPECT_TRUE(b.dir.Exists("morvel-host.exe"));

    // A manifest that cannot be written (a folder of its name): the one error, no keys.
    ASSERT_TRUE(CreateDirectoryA(b.dir.File(kChromiumManifest).c_str(), nullptr));
    ASSERT_TRUE(open());
    Click(page, IDC_MEXT_BROWSERS);
    PressButton(sheet, IDOK);
    EXPECT_EQ(AnswerMessageBox(b, 5000, "settings-menuext-manifest-failed"),
              "ブラウザー連携のマニフェストファイルの書き込みに失敗しました。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(AnswerMessageBox(b, 500), "<no box>");
    EXPECT_EQ(HostKeyValues(), none);
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
    RemoveDirectoryA(b.dir.File(kChromiumManifest).c_str());

    // Without the host: the one warning, nothing written, the sheet closes.
    ASSERT_TRUE(DeleteFileA(b.dir.File("morvel-host.exe").c_str()));
    ASSERT_TRUE(open());
    EXPECT_FALSE(Ticked(page, IDC_MEXT_BROWSERS));
    Click(page, IDC_MEXT_BROWSERS);
    PressButton(sheet, IDOK);
    EXPECT_EQ(AnswerMessageBox(b, 5000, "settings-menuext-host-missing"),
              "「morvel-host.exe」が見つかりません。");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(AnswerMessageBox(b, 500), "<no box>");
    EXPECT_EQ(HostKeyValues(), none);
    EXPECT_FALSE(b.dir.Exists(kChromiumManifest));
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
}

// The box "Windows の起動時に Morvel を起動する": the Run value is its only store, and a value
// that Windows' own start-up list turned off shows unticked until ticked again.
TEST(Settings, StartWithWindows) {
    RunValueCleanup cleanup;
    RunningBar b;
    ASSERT_TRUE(b.Start(TestIni()));
    const std::string command = "\"" + b.dir.File("vantu.exe") + "\" /tray";
    auto setBox = [&](bool expected, bool click, const char* shot = nullptr) {
        HWND sheet = OpenSheet(b);
        ASSERT_NE(sheet, nullptr);
        HWND general = ShowPage(sheet, kGeneral);
        EXPECT_EQ(ItemText(general, IDC_GEN_RUN_AT_LOGON), "Windows の起動時に Morvel を起動する");
        EXPECT_EQ(Ticked(general, IDC_GEN_RUN_AT_LOGON), expected);
        if (click) Click(general, IDC_GEN_RUN_AT_LOGON);
        if (shot) Shot(shot, sheet);
        ASSERT_TRUE(CloseSheet(sheet, IDOK));
        EXPECT_EQ(AnswerMessageBox(b, 500), "<no box>");
    };
    setBox(false, true, "settings-general-logon");
    EXPECT_EQ(RunValue(), command);
    setBox(true, false);
    EXPECT_EQ(RunValue(), command);
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
    ASSERT_TRUE(m.Start(TrayIni("TrayMode=1\r\n").c_str(), logon));
    EXPECT_TRUE(WaitUntil([&] { return Visible(m.bar) && IsIconic(m.bar); }));
    EXPECT_FALSE(TrayIconPresent(m.bar));
}

// The uninstaller's switch: everything the user registered through the program goes, the
// settings file and the engine files stay, and no window shows.
TEST(MenuExtension, UnregisterSwitchRemovesWhatWasRegistered) {
    ProgramDir::Options options;
    options.copyBridge = true;
    RunningBar b(options);
    MenuExtCleanup cleanup(b.dir.File("Pelka.dll"));
    HostKeysCleanup hostKeys;
    RunValueCleanup runValue;
    ASSERT_TRUE(b.dir.CopyFromDist("morvel-host.exe"));
    ASSERT_TRUE(b.Start(TestIni()));
    HWND sheet = OpenSheet(b);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kMenuExt);
    Click(page, IDC_MEXT_ENABLE);
    Click(page, IDC_MEXT_BROWSERS);
    Click(ShowPage(sheet, kGeneral), IDC_GEN_RUN_AT_LOGON);
    ASSERT_TRUE(CloseSheet(sheet, IDOK));
    ASSERT_TRUE(b.Exit());
    ASSERT_NE(RunValue(), "<none>");
    ASSERT_NE(HostKeyValues()[0], "<none>");
    ASSERT_TRUE(b.dir.Exists(kChromiumManifest));
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    std::string ini, ini2;
    ASSERT_TRUE(b.dir.ReadBytes("vantu.ini", ini));

    Process u;
    Process::Options unregister;
    unregister.arguments = "/unregister";
    ASSERT_TRUE(u.Start(b.dir, unregister));
    DWORD code = 1;
    ASSERT_TRUE(u.WaitForExit(10000, &code)); // a bar or a message would keep it
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(RunValue(), "<none>");
    EXPECT_EQ(HostKeyValues(), std::vector<std::string>(3, "<none>"));
    EXPECT_FALSE(b.dir.Exists(kChromiumManifest));
    EXPECT_FALSE(b.dir.Exists(kFirefoxManifest));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    ASSERT_TRUE(b.dir.ReadBytes("vantu.ini", ini2));
    EXPECT_EQ(ini2, ini);
    EXPECT_TRUE(b.dir.Exists("test.sef"));
    // Nothing left to remove is no error either.
    ASSERT_TRUE(u.Start(b.dir, unregister));
    ASSERT_TRUE(u.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}
