// The engine file editor driven from outside as a user would: its window, menu and list,
// the entry dialog, engine file management with the save prompt and the file-name dialog,
// definition-file import and export through the file dialogs, dropped files, and the search
// bar's reload afterwards.
#include <gtest/gtest.h>

#include <cstring>

#include "engines/sef_codec.h"
#include "tests/support/driver.h"

using namespace e2e;

namespace {

const char kLimit[] = "これ以上データを追加することはできません";
const char kSaveFailed[] = "エンジンデータ保存に失敗しました。";

std::string Title(const std::string& file) {
    return "エンジンファイル編集 - [" + file + "]";
}
std::string Marked(const std::string& file) {
    return "エンジンファイル編集 - [" + file + " *]";
}
std::string Prompt(const std::string& file) {
    return file + " は更新されています。保存しますか？";
}
std::string Rejected(const std::string& path, const char* section, const char* key) {
    return "定義ファイルが不正です。\n\nファイル名 : " + path + "\nセクション : " + section +
           "\nキー : " + key;
}

std::vector<EngineEntry> Engines(const std::string& prefix, int n) {
    std::vector<EngineEntry> v;
    for (int i = 0; i < n; ++i)
        v.push_back(MakeEntry(prefix + std::to_string(i), "x.example/?q="));
    return v;
}

bool SameEntry(const EngineEntry& a, const EngineEntry& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void SetItem(HWND dlg, int id, const std::string& text) {
    Send(GetDlgItem(dlg, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string Definition(const std::string& name, const std::string& more = "") {
    return "[Data]\r\nName=" + name + "\r\n[URL1]\r\nhead=d.example/?q=\r\nkey=+\r\n" + more;
}

// A running bar with the editor opened from it.
struct EditorRun : RunningBar {
    HWND editor = nullptr, list = nullptr;

    using RunningBar::RunningBar;
    DWORD Pid() const { return proc.Pid(); }
    bool Open() {
        PostMessageA(bar, WM_COMMAND, IDM_EDITOR, 0);
        WaitUntil([&] { return (editor = FindDialogWith(IDC_ENGINE_LIST)) != nullptr; });
        list = editor ? GetDlgItem(editor, IDC_ENGINE_LIST) : nullptr;
        return editor && WaitUntil([&] { return Visible(editor); });
    }
    // Commands that show nothing modal run to their end; the others are posted.
    void Do(int id) const { Send(editor, WM_COMMAND, id); }
    void Post(int id) const { PostMessageA(editor, WM_COMMAND, id, 0); }
    std::string TitleText() const { return WindowText(editor); }
    std::string Answer(int button) const { return AnswerMessageBox(proc.Pid(), button); }
    bool NoMessageBox(DWORD ms = 400) const {
        Sleep(ms);
        return FindMessageBox(proc.Pid()) == nullptr;
    }
    // The editor gone and the bar done with what follows it: it reloads its engine file
    // (held without sharing while it reads it).
    bool Closed() const {
        return WaitUntil([&] { return !IsWindow(editor); }) && Idle();
    }
    void Select(int i) const { Send(list, LB_SETCURSEL, i); }
    HWND WaitDialog(int controlId) const {
        HWND d = nullptr;
        WaitUntil([&] { return (d = FindDialogWith(controlId)) != nullptr && Visible(d); });
        return d;
    }
    // The engine file as saved (read as a user's tool would, the bar may be reading it).
    std::vector<EngineEntry> OnDisk(const std::string& name) const {
        std::string bytes;
        std::unique_ptr<EngineEntry[]> table;
        if (!dir.ReadBytes(name, bytes)) return {};
        const int n =
            DecodeSefImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), table);
        if (n < 1) return {};
        return std::vector<EngineEntry>(table.get(), table.get() + n);
    }
    // Opens the editor's menu by its mnemonic, as Alt and the letter would.
    HWND OpenMenu(char mnemonic) const {
        PostMessageA(editor, WM_SYSCOMMAND, SC_KEYMENU, mnemonic);
        return WaitForPopupMenu(proc.Pid());
    }
    void ShotWithMenu(const char* name, HWND menu) const {
        RECT area = {}, menuRect = {};
        GetWindowRect(editor, &area);
        GetWindowRect(menu, &menuRect);
        UnionRect(&area, &area, &menuRect);
        Shot(name, area);
    }
    void CloseMenus() const {
        for (int i = 0; i < 4 && FindPopupMenu(proc.Pid()); ++i)
            MenuKey(FindPopupMenu(proc.Pid()), VK_ESCAPE);
        WaitUntil([&] { return FindPopupMenu(proc.Pid()) == nullptr; }, 2000);
        MenuKey(editor, VK_ESCAPE); // leaves the menu bar
    }
    // The file dialog opened by a posted command, answered with one text per step.
    bool ChooseFiles(int command, const std::vector<std::string>& steps) const {
        Post(command);
        HWND fd = WaitForFileDialog(proc.Pid(), editor);
        if (!fd) return false;
        for (const std::string& s : steps)
            ChooseInFileDialog(fd, s);
        return WaitUntil([&] { return !IsWindow(fd); });
    }
};

// The question of the save dialog before it replaces a file, answered Yes.
bool ConfirmReplace(DWORD pid, HWND fileDialog) {
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND w : TopWindows(pid, "#32770", nullptr))
            if (GetWindow(w, GW_OWNER) == fileDialog && IsWindowVisible(w)) box = w;
        return box != nullptr;
    });
    if (!box) return false;
    PressButton(box, IDYES);
    return WaitUntil([&] { return !IsWindow(box); });
}

} // namespace

TEST(Editor, WindowListCommandsMarkerClipboardAndClose) {
    EditorRun r;
    ASSERT_TRUE(r.dir.WriteEngineFile("abcdefghijklmnopq.sef", {MakeEntry("L0", "l.example/")}));
    ASSERT_TRUE(r.Start(TestIni()));
    Send(r.bar, kSetOption, MAKEWPARAM(kOptionEngine, 3));
    ASSERT_TRUE(r.Open());
    EXPECT_EQ(GetWindow(r.editor, GW_OWNER), r.bar);
    EXPECT_EQ(r.TitleText(), Title("test.sef"));
    const LONG style = GetWindowLongA(r.editor, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const LONG listStyle = GetWindowLongA(r.list, GWL_STYLE);
    EXPECT_FALSE(listStyle & (LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_TRUE(GetWindowLongA(r.list, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const struct {
        int id;
        const char* text;
    } controls[] = {{IDC_ENGINE_LIST_GROUP, "検索エンジンリスト"},
                    {IDC_MOVE_UP, "１つ上に移動"},
                    {IDC_MOVE_DOWN, "１つ下に移動"},
                    {IDC_IMPORT, "インポート"},
                    {IDC_EDIT_ENTRY, "編集"},
                    {IDC_DELETE_ENTRY, "削除"}};
    for (const auto& c : controls)
        EXPECT_EQ(ItemText(r.editor, c.id), c.text);
    ASSERT_EQ(ListCount(r.list), 5);
    EXPECT_EQ(ListText(r.list, 0), "SJIS");
    EXPECT_EQ(ListText(r.list, 4), "Last");
    EXPECT_EQ(ListSelection(r.list), 0);
    Shot("editor", r.editor);

    // The menu "検索エンジン(&E)": "貼り付け(&P)" is disabled while the clipboard is empty.
    HWND menu = r.OpenMenu('e');
    ASSERT_NE(menu, nullptr);
    r.ShotWithMenu("editor-menu", menu);
    MenuChar(menu, 'p');
    r.CloseMenus();
    EXPECT_EQ(ListCount(r.list), 5);

    // Enter and Esc never close the editor; activation requests go to it.
    r.Post(IDOK);
    r.Post(IDCANCEL);
    ASSERT_TRUE(MakeForeground(r.editor));
    TypeKey(VK_RETURN);
    TypeKey(VK_ESCAPE);
    EXPECT_TRUE(r.NoMessageBox());
    EXPECT_TRUE(IsWindow(r.editor));
    SetForegroundWindow(r.bar);
    Send(r.bar, kActivate);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == r.editor; }));

    // Delete: the last item selects the new last one, others keep the position; one marker.
    const struct {
        int select, command, selection;
        const char* names;
    } steps[] = {
        {4, IDC_DELETE_ENTRY, 3, "SJIS,EUC,None,UTF8"},
        {-1, IDM_DELETE_ENTRY, 2, "SJIS,EUC,None"},
        {1, IDC_DELETE_ENTRY, 1, "SJIS,None"},
        {0, IDC_MOVE_UP, 0, "SJIS,None"}, // first up: nothing
        {-1, IDC_MOVE_DOWN, 1, "None,SJIS"},
        {-1, IDM_MOVE_DOWN, 1, "None,SJIS"}, // last down: nothing
        {-1, IDM_MOVE_UP, 0, "SJIS,None"},
    };
    for (const auto& s : steps) {
        if (s.select >= 0) r.Select(s.select);
        r.Do(s.command);
        std::string names;
        for (int i = 0; i < ListCount(r.list); ++i)
            names += (i ? "," : "") + ListText(r.list, i);
        EXPECT_EQ(names, s.names) << s.command;
        EXPECT_EQ(ListSelection(r.list), s.selection) << s.command;
        EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    }

    // The list's keys: Shift+Down and Shift+Up move, Down alone moves the selection only,
    // Delete deletes, but never the only entry.
    ASSERT_TRUE(MakeForeground(r.editor));
    ASSERT_EQ(FocusOf(r.editor), r.list);
    TypeKey(VK_DOWN, true);
    EXPECT_TRUE(WaitUntil([&] { return ListText(r.list, 0) == "None"; }, 2000));
    EXPECT_EQ(ListSelection(r.list), 1);
    TypeKey(VK_UP, true);
    EXPECT_TRUE(WaitUntil([&] { return ListText(r.list, 0) == "SJIS"; }, 2000));
    TypeKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return ListSelection(r.list) == 1; }, 2000));
    EXPECT_EQ(ListText(r.list, 1), "None");
    TypeKey(VK_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return ListCount(r.list) == 1; }, 2000));
    TypeKey(VK_DELETE);
    EXPECT_TRUE(r.NoMessageBox());
    EXPECT_EQ(ListCount(r.list), 1);

    // Copy enables "貼り付け(&P)" in the menu; each paste appends a copy and selects it.
    r.Do(IDM_COPY_ENTRY);
    menu = r.OpenMenu('e');
    ASSERT_NE(menu, nullptr);
    MenuChar(menu, 'p');
    EXPECT_TRUE(WaitUntil([&] { return ListCount(r.list) == 2; }, 2000));
    r.CloseMenus();
    r.Do(IDM_PASTE_ENTRY);
    EXPECT_EQ(ListCount(r.list), 3);
    EXPECT_EQ(ListSelection(r.list), 2);
    EXPECT_EQ(ListText(r.list, 2), "SJIS");

    // A double click below the last item edits the selected entry; cancel changes nothing.
    r.Select(1);
    PostMessageA(r.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 150));
    HWND entry = r.WaitDialog(IDC_ENTRY_NAME);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(ItemText(entry, IDC_ENTRY_NAME), "SJIS");
    SetItem(entry, IDC_ENTRY_NAME, "changed");
    PressButton(entry, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(entry); }));
    EXPECT_EQ(ListText(r.list, 1), "SJIS");

    // The close box asks: Cancel keeps the editor, No closes it without saving.
    PostMessageA(r.editor, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(r.Answer(IDCANCEL), Prompt("test.sef"));
    EXPECT_TRUE(r.NoMessageBox(200));
    EXPECT_TRUE(IsWindow(r.editor));
    r.Post(IDM_CLOSE_EDITOR);
    EXPECT_EQ(r.Answer(IDNO), Prompt("test.sef"));
    ASSERT_TRUE(r.Closed());
    EXPECT_EQ(r.OnDisk("test.sef").size(), 5u);
    // The bar reloaded its file and kept its position, with the focus in the keyword box.
    EXPECT_EQ(ComboCount(r.engine), 5);
    EXPECT_EQ(ComboSelection(r.engine), 3);
    EXPECT_EQ(FocusOf(r.bar), r.keyword);

    // Reopened: the clipboard survived, and pasting goes into whatever file is open.
    ASSERT_TRUE(r.Open());
    r.Do(IDM_ENGINE_FILE_FIRST); // unmodified: no prompt
    EXPECT_EQ(r.TitleText(), Title("abcdefghijklmnopq.s ... "));
    EXPECT_EQ(ListCount(r.list), 1);
    menu = r.OpenMenu('e');
    ASSERT_NE(menu, nullptr);
    MenuChar(menu, 'p');
    EXPECT_TRUE(WaitUntil([&] { return ListCount(r.list) == 2; }, 2000));
    r.CloseMenus();
    EXPECT_EQ(r.TitleText(), Marked("abcdefghijklmnopq.s ... "));
    r.Do(IDM_SAVE_FILE);
    EXPECT_EQ(r.TitleText(), Title("abcdefghijklmnopq.s ... "));
    const std::vector<EngineEntry> saved = r.OnDisk("abcdefghijklmnopq.sef");
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_TRUE(SameEntry(saved[1], TestEngines()[0]));
    r.Post(IDM_CLOSE_EDITOR);
    ASSERT_TRUE(r.Closed());                   // clean: no prompt
    EXPECT_EQ(ComboText(r.engine, 0), "SJIS"); // the bar stays on its own file
}

TEST(Editor, EntryDialogLimitsChecksDefaultsAndCodes) {
    EditorRun r;
    ASSERT_TRUE(r.Start(TestIni()));
    std::vector<EngineEntry> engines = TestEngines();
    engines.push_back(MakeEntry("Code7", "c.example/?q=", "+", "", "", "", "", 7, 4));
    ASSERT_TRUE(r.dir.WriteEngineFile("test.sef", engines));
    ASSERT_TRUE(r.Open());

    // Confirming an edit without changes still marks the file.
    r.Select(3);
    r.Post(IDM_EDIT_ENTRY);
    HWND d = r.WaitDialog(IDC_ENTRY_NAME);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(ComboSelection(GetDlgItem(d, IDC_ENTRY_CHARACTER)), 2); // UTF-8
    PressButton(d, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }));
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));

    // A new entry: the form, its limits and its list.
    r.Post(IDM_NEW_ENTRY);
    d = r.WaitDialog(IDC_ENTRY_NAME);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(GetWindow(d, GW_OWNER), r.editor);
    EXPECT_EQ(WindowText(d), "エンジンデータ編集");
    EXPECT_FALSE(GetWindowLongA(d, GWL_STYLE) & WS_SYSMENU);
    const struct {
        int id;
        LRESULT limit;
    } limits[] = {{IDC_ENTRY_NAME, 27}, {IDC_URL1_HEAD, 255}, {IDC_URL1_TAIL, 255},
                  {IDC_URL1_KEY, 15},   {IDC_URL2_HEAD, 255}, {IDC_URL2_TAIL, 255},
                  {IDC_URL2_KEY, 15}};
    for (const auto& l : limits)
        EXPECT_EQ(Send(GetDlgItem(d, l.id), EM_GETLIMITTEXT), l.limit) << l.id;
    HWND codes = GetDlgItem(d, IDC_ENTRY_CHARACTER);
    ASSERT_EQ(ComboCount(codes), 4);
    const char* texts[] = {"Shift-JIS", "EUC", "UTF-8", "ｴﾝｺｰﾄﾞなし"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ComboText(codes, i), texts[i]);
    EXPECT_EQ(ComboSelection(codes), 0);
    EXPECT_EQ(FocusOf(d), GetDlgItem(d, IDC_ENTRY_NAME));
    SetForegroundWindow(r.bar);
    Send(r.bar, kActivate); // activation goes to the entry dialog
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == d; }));

    // The checks in their order, each with its message and focus.
    const struct {
        const char* name;
        const char* head;
        const char* message;
        int focus; // 0: unchanged
    } checks[] = {
        {"", "", "検索エンジン名を入力してください。", IDC_ENTRY_NAME},
        {"", "h", "検索エンジン名を入力してください。", IDC_ENTRY_NAME},
        {"n", "", "必須項目は入力してください。", IDC_URL1_HEAD},
        {"nnnnnnnnnnnnnnnnnnnnnnnnnnnn", "h", "長すぎる項目があります。", 0},
    };
    for (const auto& c : checks) {
        SetItem(d, IDC_ENTRY_NAME, c.name);
        SetItem(d, IDC_URL1_HEAD, c.head);
        HWND before = FocusOf(d);
        PressButton(d, IDOK);
        EXPECT_EQ(r.Answer(IDOK), c.message);
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(FocusOf(d), c.focus ? GetDlgItem(d, c.focus) : before) << c.message;
    }
    // Typed by keyboard the name field takes no 28th byte.
    SetItem(d, IDC_ENTRY_NAME, "");
    PressButton(d, IDOK);
    r.Answer(IDOK);
    ASSERT_TRUE(MakeForeground(d));
    TypeText(std::string(28, 'a'));
    EXPECT_EQ(ItemText(d, IDC_ENTRY_NAME), std::string(27, 'a'));

    // Defaults: "+" separators, the URL2 tail and key dropped without a URL2 head.
    SetItem(d, IDC_ENTRY_NAME, "表ソ検索");
    SetItem(d, IDC_URL1_HEAD, "x.example/表?q=");
    SetItem(d, IDC_URL1_KEY, "");
    SetItem(d, IDC_URL1_TAIL, "&ソ");
    SetItem(d, IDC_URL2_HEAD, "");
    SetItem(d, IDC_URL2_TAIL, "dropped");
    SetItem(d, IDC_URL2_KEY, "dropped");
    Send(codes, CB_SETCURSEL, 3);
    Shot("entry-dialog", d);
    PressButton(d, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }));
    ASSERT_EQ(ListCount(r.list), 7);
    EXPECT_EQ(ListSelection(r.list), 6);
    EXPECT_EQ(ListText(r.list, 6), "表ソ検索");

    // Editing keeps UrlMode; a URL2 head with an empty key gets "+".
    r.Select(2);
    r.Post(IDC_EDIT_ENTRY);
    d = r.WaitDialog(IDC_ENTRY_NAME);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(ItemText(d, IDC_URL1_HEAD), "n.example/");
    EXPECT_EQ(ItemText(d, IDC_URL1_TAIL), ".html");
    EXPECT_EQ(ItemText(d, IDC_URL2_HEAD), "n.example/or/");
    EXPECT_EQ(ComboSelection(GetDlgItem(d, IDC_ENTRY_CHARACTER)), 3); // code 2
    SetItem(d, IDC_URL2_HEAD, "n.example/any/");
    SetItem(d, IDC_URL2_KEY, "");
    PressButton(d, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }));

    // A code outside 0..3 shows no selection and is stored as 255.
    r.Select(5);
    r.Post(IDC_EDIT_ENTRY);
    d = r.WaitDialog(IDC_ENTRY_NAME);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(ComboSelection(GetDlgItem(d, IDC_ENTRY_CHARACTER)), -1);
    PressButton(d, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }));

    r.Do(IDM_SAVE_FILE);
    const std::vector<EngineEntry> saved = r.OnDisk("test.sef");
    ASSERT_EQ(saved.size(), 7u);
    EXPECT_TRUE(SameEntry(saved[3], engines[3]));
    EXPECT_TRUE(SameEntry(
        saved[2], MakeEntry("None", "n.example/", "/", ".html", "n.example/any/", "+", "", 2, 1)));
    EXPECT_TRUE(
        SameEntry(saved[5], MakeEntry("Code7", "c.example/?q=", "+", "", "", "", "", 255, 4)));
    EXPECT_TRUE(SameEntry(saved[6],
                          MakeEntry("表ソ検索", "x.example/表?q=", "+", "&ソ", "", "", "", 2, 0)));
    r.Post(IDM_CLOSE_EDITOR);
    ASSERT_TRUE(r.Closed());
    EXPECT_EQ(ComboCount(r.engine), 7);
}

TEST(EditorFiles, KeywordsFollowTheirEntriesIntoTheCompanion) {
    EditorRun r;
    ASSERT_TRUE(r.dir.WriteBytes("test.sef.txt", "[5]\nname=Last\nkeyword=w\n"));
    // A damaged companion costs its file the keywords, nothing else.
    ASSERT_TRUE(r.dir.WriteEngineFile("z.sef", Engines("Z", 2)));
    ASSERT_TRUE(r.dir.WriteBytes("z.sef.txt", "\xFF\xFE[1]\r\nname=Z0\r\nkeyword=\x82\xA0\r\n[2"));
    ASSERT_TRUE(r.Start(TestIni()));
    ASSERT_TRUE(r.Open());
    EXPECT_EQ(ListText(r.list, 4), "Last\tw");
    EXPECT_EQ(ListText(r.list, 0), "SJIS");

    // The entry dialog's keyword; the list shows it after the save.
    r.Select(0);
    r.Post(IDC_EDIT_ENTRY);
    HWND d = r.WaitDialog(IDC_ENTRY_KEYWORD);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(ItemText(d, IDC_ENTRY_KEYWORD), "");
    SetItem(d, IDC_ENTRY_KEYWORD, "s p");
    PressButton(d, IDOK); // a space is refused
    EXPECT_EQ(r.Answer(IDOK),
              "キーワードは空白を含まない半角 15 文字 (全角 7 文字) までで入力してください。");
    SetItem(d, IDC_ENTRY_KEYWORD, "辞書");
    // And its suggestion URL: a URL with {searchTerms}, or refused.
    EXPECT_EQ(ItemText(d, IDC_ENTRY_SUGGEST), "");
    SetItem(d, IDC_ENTRY_SUGGEST, "https://s.example/c?q=");
    PressButton(d, IDOK);
    EXPECT_EQ(r.Answer(IDOK),
              "候補URLは https:// で始まり {searchTerms} を含む URL を入力してください。");
    SetItem(d, IDC_ENTRY_SUGGEST, "https://s.example/c?q={searchTerms}");
    Shot("entry-dialog-keyword", d);
    PressButton(d, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }));
    EXPECT_EQ(ListText(r.list, 0), "SJIS\t辞書");
    // Moved, the keyword goes with its entry; saved, the companion says so.
    r.Do(IDC_MOVE_DOWN);
    r.Do(IDM_SAVE_FILE);
    std::string companion;
    ASSERT_TRUE(r.dir.ReadBytes("test.sef.txt", companion));
    EXPECT_NE(companion.find(Utf8(Widen("[2]\r\nname=SJIS\r\nkeyword=辞書\r\n"
                                        "suggest=https://s.example/c?q={searchTerms}\r\n"))),
              std::string::npos)
        << companion;
    EXPECT_NE(companion.find("[5]\r\nname=Last\r\nkeyword=w\r\n"), std::string::npos);

    // A new file from the selected entry gets its keyword; deleted, its companion goes too.
    r.Post(IDM_NEW_FILE);
    HWND nd = r.WaitDialog(IDC_FILE_NAME);
    ASSERT_NE(nd, nullptr);
    SetItem(nd, IDC_FILE_NAME, "neu");
    PressButton(nd, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return r.TitleText() == Title("neu.sef"); }));
    ASSERT_TRUE(r.dir.ReadBytes("neu.sef.txt", companion));
    EXPECT_NE(companion.find(Utf8(Widen("name=SJIS\r\nkeyword=辞書"))), std::string::npos)
        << companion;
    r.Post(IDM_DELETE_FILE);
    EXPECT_EQ(r.Answer(IDYES), "neu.sef を削除しますか？");
    EXPECT_TRUE(WaitUntil([&] { return !r.dir.Exists("neu.sef"); }));
    EXPECT_FALSE(r.dir.Exists("neu.sef.txt"));

    // The file with the damaged companion opens with its entries and no keyword.
    const int zSlot = 1; // test.sef, z.sef and the bundled file, sorted
    r.Post(IDM_ENGINE_FILE_FIRST + zSlot);
    EXPECT_TRUE(WaitUntil([&] { return r.TitleText() == Title("z.sef"); })) << r.TitleText();
    EXPECT_EQ(ListText(r.list, 0), "Z0");
    EXPECT_TRUE(r.NoMessageBox());
}

TEST(EditorFiles, SavePromptSwitchNewFilesAndTheFileNameDialog) {
    EditorRun r;
    // 30 engine files: f00..f27, test.sef (slot 28) and the default file (slot 29).
    for (int i = 0; i < 28; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%02d.sef", i);
        ASSERT_TRUE(r.dir.WriteEngineFile(name, Engines("F", 1)));
    }
    ASSERT_TRUE(r.Start(TestIni()));
    ASSERT_TRUE(r.Open());
    ASSERT_EQ(r.TitleText(), Title("test.sef"));

    // Switching to the file that is current does nothing, not even the prompt.
    r.Do(IDC_DELETE_ENTRY);
    r.Do(IDM_ENGINE_FILE_FIRST + 28);
    EXPECT_TRUE(r.NoMessageBox());
    // Cancel stays; No drops the changes; Yes saves them.
    r.Post(IDM_ENGINE_FILE_FIRST);
    EXPECT_EQ(r.Answer(IDCANCEL), Prompt("test.sef"));
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    EXPECT_EQ(ListCount(r.list), 4);
    r.Post(IDM_ENGINE_FILE_FIRST);
    EXPECT_EQ(r.Answer(IDNO), Prompt("test.sef"));
    EXPECT_TRUE(WaitUntil([&] { return r.TitleText() == Title("f00.sef"); }));
    EXPECT_EQ(ListCount(r.list), 1);
    EXPECT_EQ(r.OnDisk("test.sef").size(), 5u);
    r.Do(IDM_ENGINE_FILE_FIRST + 28);
    EXPECT_EQ(ListCount(r.list), 5);
    r.Do(IDC_DELETE_ENTRY);
    r.Post(IDM_ENGINE_FILE_FIRST);
    EXPECT_EQ(r.Answer(IDYES), Prompt("test.sef"));
    EXPECT_TRUE(WaitUntil([&] { return r.TitleText() == Title("f00.sef"); }));
    EXPECT_EQ(r.OnDisk("test.sef").size(), 4u);
    r.Do(IDM_ENGINE_FILE_FIRST + 28);

    // Yes, then the file-name dialog cancelled: saved, the marker stays and the next
    // prompt asks again. No, then cancelled: the working copy stays as it was.
    r.Do(IDC_DELETE_ENTRY);
    r.Post(IDM_NEW_FILE);
    EXPECT_EQ(r.Answer(IDYES), Prompt("test.sef"));
    HWND nd = r.WaitDialog(IDC_FILE_NAME);
    ASSERT_NE(nd, nullptr);
    PressButton(nd, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(nd); }));
    EXPECT_EQ(r.OnDisk("test.sef").size(), 3u);
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    r.Post(IDM_NEW_FILE);
    EXPECT_EQ(r.Answer(IDNO), Prompt("test.sef"));
    nd = r.WaitDialog(IDC_FILE_NAME);
    ASSERT_NE(nd, nullptr);
    PostMessageA(nd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(nd); }));
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    EXPECT_EQ(ListCount(r.list), 3);

    // A new file after No holds the selected entry as edited.
    r.Select(1);
    r.Post(IDC_EDIT_ENTRY);
    HWND d = r.WaitDialog(IDC_ENTRY_NAME);
    ASSERT_NE(d, nullptr);
    SetItem(d, IDC_ENTRY_NAME, "Edited");
    PressButton(d, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(d); }));
    r.Post(IDM_NEW_FILE);
    EXPECT_EQ(r.Answer(IDNO), Prompt("test.sef"));
    nd = r.WaitDialog(IDC_FILE_NAME);
    ASSERT_NE(nd, nullptr);
    EXPECT_EQ(WindowText(nd), "ファイル名");
    EXPECT_EQ(GetWindow(nd, GW_OWNER), r.editor);
    HWND field = GetDlgItem(nd, IDC_FILE_NAME);
    EXPECT_EQ(Send(field, EM_GETLIMITTEXT), 32);
    EXPECT_EQ(FocusOf(nd), field);
    SetItem(nd, IDC_FILE_NAME, "新しいファイル");
    Shot("file-name-dialog", nd);
    const struct {
        const char* typed;
        const char* message;
    } refused[] = {
        {"", "ファイル名を入力してください。"},
        {"a;b", "ファイル名にできない文字が入力されています。"},
        {"a,b", "ファイル名にできない文字が入力されています。"},
        {"ソ\\", "ファイル名にできない文字が入力されています。"},
        {"test", "そのファイル名はすでに存在しています。"},
        {"TEST", "そのファイル名はすでに存在しています。"}, // the file system ignores case
    };
    for (const auto& c : refused) {
        SetItem(nd, IDC_FILE_NAME, c.typed);
        PressButton(nd, IDOK);
        EXPECT_EQ(r.Answer(IDOK), c.message) << c.typed;
        EXPECT_TRUE(IsWindow(nd));
        EXPECT_EQ(FocusOf(nd), field);
        const auto sel = EditSelection(field);
        EXPECT_EQ(sel.first, 0);
        EXPECT_EQ(sel.second, TextLengthChars(field));
    }
    // A name that Shift-JIS cannot say would make a file that is never listed.
    SetWindowTextW(field, L"\uAE40\uBBFC\uC900");
    PressButton(nd, IDOK);
    EXPECT_EQ(r.Answer(IDOK), "Shift-JIS で表せない文字はファイル名に使えません。");
    SetItem(nd, IDC_FILE_NAME, "ソ"); // its trail byte is 0x5C
    PressButton(nd, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(nd); }));
    EXPECT_TRUE(WaitUntil([&] { return r.TitleText() == Title("ソ.sef"); }));
    EXPECT_EQ(ListCount(r.list), 1);
    EXPECT_EQ(ListText(r.list, 0), "Edited");
    ASSERT_EQ(r.OnDisk("ソ.sef").size(), 1u);
    EXPECT_STREQ(r.OnDisk("ソ.sef")[0].Name, "Edited");
    EXPECT_EQ(r.OnDisk("test.sef").size(), 3u);

    // A new file that cannot be written (a name the file system refuses) never enters the
    // catalogue; the editor stays on its file with its changes, and says that the file could
    // not be created and why.
    r.Do(IDM_COPY_ENTRY);
    r.Do(IDM_PASTE_ENTRY);
    r.Post(IDM_NEW_FILE);
    EXPECT_EQ(r.Answer(IDYES), Prompt("ソ.sef"));
    nd = r.WaitDialog(IDC_FILE_NAME);
    ASSERT_NE(nd, nullptr);
    SetItem(nd, IDC_FILE_NAME, "bad\x01");
    PressButton(nd, IDOK);
    const std::string notCreated = r.Answer(IDOK);
    const std::string head = "エンジンファイル「bad\x01.sef」を作成できませんでした。\n\n";
    EXPECT_EQ(notCreated.substr(0, head.size()), head);
    EXPECT_GT(notCreated.size(), head.size() + 2) << "the system's reason";
    EXPECT_EQ(r.TitleText(), Marked("ソ.sef"));
    EXPECT_EQ(ListCount(r.list), 2);

    // 31 files: one more can be made (".sef" typed twice stays); with 32 the message.
    r.Post(IDM_NEW_FILE);
    EXPECT_EQ(r.Answer(IDNO), Prompt("ソ.sef"));
    nd = r.WaitDialog(IDC_FILE_NAME);
    ASSERT_NE(nd, nullptr);
    SetItem(nd, IDC_FILE_NAME, "x.sef");
    PressButton(nd, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return r.TitleText() == Title("x.sef.sef"); }));
    EXPECT_TRUE(r.dir.Exists("x.sef.sef"));
    EXPECT_EQ(r.OnDisk("ソ.sef").size(), 2u); // saved by the earlier Yes
    r.Post(IDM_NEW_FILE);
    EXPECT_EQ(r.Answer(IDOK), "これ以上データファイルを作成することはできません。");
    EXPECT_EQ(r.FindDialogWith(IDC_FILE_NAME), nullptr);

    // The catalogue stayed sorted: the new files are reached by their slots.
    r.Do(IDM_ENGINE_FILE_FIRST + 28); // test.sef
    EXPECT_EQ(r.TitleText(), Title("test.sef"));
    r.Do(IDM_ENGINE_FILE_FIRST + 29); // x.sef.sef
    EXPECT_EQ(r.TitleText(), Title("x.sef.sef"));
    r.Post(IDM_CLOSE_EDITOR);
    ASSERT_TRUE(r.Closed());
    EXPECT_EQ(ComboCount(r.engine), 3); // the bar reloaded test.sef as saved
    EXPECT_FALSE(r.dir.Exists("bad\x01.sef"));
}

TEST(EditorFiles, DeleteFileFallBackAndFailedReloads) {
    EditorRun r; // two files: test.sef (slot 0) and the default file
    ASSERT_TRUE(r.Start(TestIni()));
    Send(r.bar, kSetOption, MAKEWPARAM(kOptionEngine, 3));
    ASSERT_TRUE(r.Open());
    r.Do(IDC_DELETE_ENTRY);
    r.Post(IDM_DELETE_FILE);
    EXPECT_EQ(r.Answer(IDNO), "test.sef を削除しますか？");
    EXPECT_TRUE(r.dir.Exists("test.sef"));
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    r.Post(IDM_DELETE_FILE);
    EXPECT_EQ(r.Answer(IDYES), "test.sef を削除しますか？");
    EXPECT_TRUE(WaitUntil([&] { return r.TitleText() == Title(kDefaultSef); }));
    EXPECT_TRUE(r.NoMessageBox(200)); // no save prompt: the changes went with the file
    EXPECT_FALSE(r.dir.Exists("test.sef"));
    EXPECT_EQ(ListCount(r.list), 16);
    r.Post(IDM_DELETE_FILE);
    EXPECT_EQ(r.Answer(IDOK), "必ず１つ以上のデータファイルが存在している必要があります。");
    r.Post(IDM_CLOSE_EDITOR);
    ASSERT_TRUE(r.Closed());
    // The bar's file is gone: it falls back to slot 0 and keeps the position.
    EXPECT_EQ(ComboCount(r.engine), 16);
    EXPECT_EQ(ComboSelection(r.engine), 3);

    // The file becomes unreadable while the editor is open: the reload fails afterwards.
    ASSERT_TRUE(r.Open());
    std::string bad = std::string("VANTU_SEFFILE") + '\0';
    bad.resize(200, '\x7F');
    ASSERT_TRUE(r.dir.WriteBytes(kDefaultSef, bad));
    r.Post(IDM_CLOSE_EDITOR);
    ASSERT_TRUE(r.Closed());
    EXPECT_EQ(r.Answer(IDOK), "エンジンデータ切り替えに失敗しました。");
    EXPECT_EQ(ComboCount(r.engine), 16); // not refilled
    // Opening on an unreadable file: the message, and the editor closes at once.
    PostMessageA(r.bar, WM_COMMAND, IDM_EDITOR, 0);
    EXPECT_EQ(r.Answer(IDOK), "データファイルが不正です。");
    EXPECT_EQ(r.Answer(IDOK), "エンジンデータ切り替えに失敗しました。");
    EXPECT_EQ(r.FindDialogWith(IDC_ENGINE_LIST), nullptr);
    EXPECT_TRUE(r.proc.Running());
}

TEST(Editor, FailedSaveKeepsTheChangesAndThePrompt) {
    EditorRun r;
    ASSERT_TRUE(r.Start(TestIni()));
    ASSERT_TRUE(r.Open());
    r.Do(IDC_DELETE_ENTRY);
    ASSERT_TRUE(SetFileAttributesA(r.dir.File("test.sef").c_str(), FILE_ATTRIBUTE_READONLY));
    r.Post(IDM_SAVE_FILE);
    EXPECT_EQ(r.Answer(IDOK), kSaveFailed);
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    // The prompt's Yes fails too: neither the new file nor the close goes on.
    r.Post(IDM_NEW_FILE);
    EXPECT_EQ(r.Answer(IDYES), Prompt("test.sef"));
    EXPECT_EQ(r.Answer(IDOK), kSaveFailed);
    EXPECT_TRUE(r.NoMessageBox(200));
    EXPECT_EQ(r.FindDialogWith(IDC_FILE_NAME), nullptr);
    PostMessageA(r.editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(r.Answer(IDYES), Prompt("test.sef"));
    EXPECT_EQ(r.Answer(IDOK), kSaveFailed);
    Sleep(300);
    EXPECT_TRUE(IsWindow(r.editor));
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    EXPECT_EQ(r.OnDisk("test.sef").size(), 5u);
    // Writable again: Yes saves and closes; the bar shows what was saved.
    ASSERT_TRUE(SetFileAttributesA(r.dir.File("test.sef").c_str(), FILE_ATTRIBUTE_NORMAL));
    PostMessageA(r.editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(r.Answer(IDYES), Prompt("test.sef"));
    ASSERT_TRUE(r.Closed());
    EXPECT_EQ(r.OnDisk("test.sef").size(), 4u);
    EXPECT_EQ(ComboCount(r.engine), 4);
}

TEST(EditorFiles, DefinitionFilesImportExportAndDrops) {
    EditorRun r;
    ASSERT_TRUE(r.dir.WriteEngineFile("many.sef", Engines("M", 62)));
    ASSERT_TRUE(r.dir.WriteEngineFile("sixty.sef", Engines("S", 60)));
    const std::string defs = r.dir.File("defs");
    ASSERT_TRUE(CreateDirectoryA(defs.c_str(), nullptr));
    const std::string dp = defs + "\\";
    auto def = [&](const std::string& name, const std::string& text) {
        return r.dir.WriteBytes("defs\\" + name, text);
    };
    std::string binary;
    for (int i = 0; i < 600; ++i)
        binary.push_back(static_cast<char>((i * 37) & 0xFF));
    ASSERT_TRUE(def("bin.sed", binary));
    ASSERT_TRUE(def("long.sed", Definition(std::string(10000, 'n'))));
    ASSERT_TRUE(def("notini.sed", "This is no profile file.\r\nName=x\r\n"));
    ASSERT_TRUE(def("partial.sed", "[Data]\r\nName=P\r\n[URL1]\r\nhead=p.example/\r\n"));
    ASSERT_TRUE(def("dup.sed", "[Data]\r\nName=first\r\nName=second\r\n[URL1]\r\nhead=a/\r\n"
                               "head=b/\r\nkey=+\r\n"));
    ASSERT_TRUE(def("trail.sed", Definition("ソ表", "[URL2]\r\nhead=\r\nkey=z\r\n")));
    ASSERT_TRUE(def("url2.sed", Definition("U", "[URL2]\r\nhead=u/\r\n")));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(def("v" + std::to_string(i) + ".sed", Definition("V" + std::to_string(i))));
    ASSERT_TRUE(def("old.sed", "[Data]\r\nName=old\r\nExtra=1\r\n[Other]\r\nx=1\r\n"));
    ASSERT_TRUE(r.Start(TestIni()));
    ASSERT_TRUE(r.Open()); // catalogue: many.sef, sixty.sef, test.sef, the default file

    // Export: the entry's name is offered; keys in order, numbers only when not 0.
    r.Post(IDM_EXPORT_DEFINITION);
    HWND fd = WaitForFileDialog(r.Pid(), r.editor);
    ASSERT_NE(fd, nullptr);
    EXPECT_EQ(WindowText(FileNameBox(fd)), "SJIS.sed");
    ChooseInFileDialog(fd, dp + "out.sed");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(fd); }));
    std::string text;
    // The file is written after the dialog has closed.
    EXPECT_TRUE(WaitUntil([&] {
        return r.dir.ReadBytes("defs\\out.sed", text) && text.find("[URL2]") != std::string::npos;
    }));
    size_t at = 0;
    for (const char* piece : {"[Data]", "Name=SJIS", "[URL1]", "head=s.example/all?q=", "key=+",
                              "tail=&x=1", "[URL2]", "head=s.example/any?q=", "key=|", "tail="}) {
        const size_t found = text.find(piece, at);
        EXPECT_NE(found, std::string::npos) << piece;
        if (found != std::string::npos) at = found;
    }
    EXPECT_EQ(text.find("Character"), std::string::npos);
    EXPECT_EQ(text.find("UrlMode"), std::string::npos);
    // Over an existing file nothing of the old one stays.
    r.Select(3);
    r.Post(IDM_EXPORT_DEFINITION);
    fd = WaitForFileDialog(r.Pid(), r.editor);
    ASSERT_NE(fd, nullptr);
    ChooseInFileDialog(fd, dp + "old.sed");
    ASSERT_TRUE(ConfirmReplace(r.Pid(), fd));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(fd); }));
    EXPECT_TRUE(WaitUntil([&] {
        return r.dir.ReadBytes("defs\\old.sed", text) &&
               text.find("Character=3") != std::string::npos;
    }));
    EXPECT_EQ(text.find("Extra"), std::string::npos);
    EXPECT_EQ(text.find("Other"), std::string::npos);
    // A failed export says so and leaves the old file as it was.
    ASSERT_TRUE(SetFileAttributesA((dp + "old.sed").c_str(), FILE_ATTRIBUTE_READONLY));
    r.Select(0);
    r.Post(IDM_EXPORT_DEFINITION);
    fd = WaitForFileDialog(r.Pid(), r.editor);
    ASSERT_NE(fd, nullptr);
    ChooseInFileDialog(fd, dp + "old.sed");
    ASSERT_TRUE(ConfirmReplace(r.Pid(), fd));
    HWND box = WaitForMessageBox(r.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), r.editor);
    EXPECT_EQ(r.Answer(IDOK),
              "定義ファイル書き出しに失敗しました。\n\nファイル名 : " + dp + "old.sed");
    std::string after;
    ASSERT_TRUE(r.dir.ReadBytes("defs\\old.sed", after));
    EXPECT_EQ(after, text);
    EXPECT_EQ(r.OnDisk("test.sef").size(), 5u);
    EXPECT_EQ(r.TitleText(), Title("test.sef")); // export changes nothing in the editor

    // Import: one full path; then several names in a folder, rejected ones reported in order.
    ASSERT_TRUE(r.ChooseFiles(IDM_IMPORT_DEFINITIONS, {dp + "out.sed"}));
    EXPECT_EQ(ListCount(r.list), 6);
    EXPECT_EQ(ListSelection(r.list), 5);
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    r.Post(IDC_IMPORT);
    fd = WaitForFileDialog(r.Pid(), r.editor);
    ASSERT_NE(fd, nullptr);
    ChooseInFileDialog(fd, defs);
    ChooseInFileDialog(fd, "\"bin.sed\" \"long.sed\" \"notini.sed\" \"partial.sed\" \"dup.sed\" "
                           "\"trail.sed\" \"url2.sed\"");
    const struct {
        const char* file;
        const char* section;
        const char* key;
    } rejected[] = {{"bin.sed", "Data", "Name"},
                    {"long.sed", "Data", "Name"},
                    {"notini.sed", "Data", "Name"},
                    {"partial.sed", "URL1", "key"},
                    {"url2.sed", "URL2", "key"}};
    for (const auto& c : rejected)
        EXPECT_EQ(r.Answer(IDOK), Rejected(dp + c.file, c.section, c.key));
    EXPECT_TRUE(r.NoMessageBox());
    ASSERT_EQ(ListCount(r.list), 8);
    EXPECT_EQ(ListSelection(r.list), 7);
    r.Do(IDM_SAVE_FILE);
    const std::vector<EngineEntry> saved = r.OnDisk("test.sef");
    ASSERT_EQ(saved.size(), 8u);
    EXPECT_TRUE(SameEntry(saved[5], TestEngines()[0])); // exported and imported back equal
    EXPECT_TRUE(SameEntry(saved[6], MakeEntry("first", "a/")));
    EXPECT_TRUE(SameEntry(saved[7], MakeEntry("ソ表", "d.example/?q=")));

    // The Insert key opens the import dialog.
    ASSERT_TRUE(MakeForeground(r.editor));
    SetForegroundWindow(r.editor);
    TypeKey(VK_INSERT);
    fd = WaitForFileDialog(r.Pid(), r.editor);
    ASSERT_NE(fd, nullptr);
    PressButton(fd, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(fd); }));

    // 5 files into 62 entries: 2 added, the limit message once.
    r.Do(IDM_ENGINE_FILE_FIRST);
    ASSERT_EQ(ListCount(r.list), 62);
    ASSERT_TRUE(r.ChooseFiles(IDM_IMPORT_DEFINITIONS,
                              {defs, "\"v0.sed\" \"v1.sed\" \"v2.sed\" \"v3.sed\" \"v4.sed\""}));
    EXPECT_EQ(r.Answer(IDOK), kLimit);
    EXPECT_TRUE(r.NoMessageBox());
    EXPECT_EQ(ListCount(r.list), 64);
    EXPECT_EQ(ListText(r.list, 63), "V1");
    // At 64 entries: import, paste, new entry and a drop each show the limit message only.
    r.Do(IDM_COPY_ENTRY);
    for (int command : {IDM_IMPORT_DEFINITIONS, IDC_IMPORT, IDM_PASTE_ENTRY, IDM_NEW_ENTRY}) {
        r.Post(command);
        EXPECT_EQ(r.Answer(IDOK), kLimit) << command;
        EXPECT_TRUE(r.NoMessageBox(200)) << command;
    }
    ASSERT_TRUE(DropFiles(r.proc.Handle(), r.list, {dp + "v5.sed", dp + "v6.sed"}));
    EXPECT_EQ(r.Answer(IDOK), kLimit);
    EXPECT_TRUE(r.NoMessageBox());
    EXPECT_EQ(ListCount(r.list), 64);

    // 60 entries and 10 dropped files: 4 imported, the limit message once, 5 ignored.
    r.Post(IDM_ENGINE_FILE_FIRST + 1);
    EXPECT_EQ(r.Answer(IDNO), Prompt("many.sef"));
    ASSERT_TRUE(WaitUntil([&] { return ListCount(r.list) == 60; }));
    std::vector<std::string> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back(dp + "v" + std::to_string(i) + ".sed");
    ASSERT_TRUE(DropFiles(r.proc.Handle(), r.list, ten));
    EXPECT_EQ(r.Answer(IDOK), kLimit);
    EXPECT_TRUE(r.NoMessageBox());
    EXPECT_EQ(ListCount(r.list), 64);
    EXPECT_EQ(ListText(r.list, 63), "V3");
    EXPECT_EQ(ListSelection(r.list), 63);
    r.Post(IDM_CLOSE_EDITOR);
    EXPECT_EQ(r.Answer(IDNO), Prompt("sixty.sef"));
    ASSERT_TRUE(r.Closed());
}

// OpenSearch descriptions: the file menu's items, import from the file dialog and by drops
// (.xml files as descriptions, the others as definition files), each rejection with its
// message, export of the selected entry, and an exported file imported back equal.
TEST(EditorFiles, OpenSearchImportExportAndDrops) {
    EditorRun r;
    const std::string os = r.dir.File("os");
    ASSERT_TRUE(CreateDirectoryA(os.c_str(), nullptr));
    const std::string op = os + "\\";
    for (const char* f :
         {"wiki-utf8.xml", "shop-sjis.xml", "news-optional.xml", "twice.xml", "post-only.xml",
          "latin1.xml", "bomb.xml", "unclosed.xml", "plugin-wiki.xml", "plugin-post.xml"})
        ASSERT_TRUE(CopyFileA((std::string(MORVEL_FIXTURE_DIR) + "/opensearch/" + f).c_str(),
                              (op + f).c_str(), FALSE))
            << f;
    ASSERT_TRUE(r.dir.WriteBytes("os\\plain.sed", Definition("Plain")));
    ASSERT_TRUE(r.Start(TestIni()));
    ASSERT_TRUE(r.Open());
    auto rejected = [&](const std::string& file, const std::string& reason) {
        return "OpenSearch 記述を読み込めません。\n\nファイル名 : " + op + file + "\n" + reason;
    };

    // The file menu holds both items; the mnemonic O opens the import dialog.
    HWND menu = r.OpenMenu('e');
    ASSERT_NE(menu, nullptr);
    MenuKey(menu, VK_LEFT); // over to "ファイル(&F)"
    Sleep(300);
    menu = FindPopupMenu(r.Pid());
    ASSERT_NE(menu, nullptr);
    r.ShotWithMenu("editor-opensearch-menu", menu);
    MenuChar(menu, 'o');
    HWND fd = WaitForFileDialog(r.Pid(), r.editor);
    ASSERT_NE(fd, nullptr);
    ChooseInFileDialog(fd, op + "wiki-utf8.xml");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(r.list) == 6; }));
    EXPECT_EQ(ListText(r.list, 5), "ウィキ百科 (ja)");
    EXPECT_EQ(ListSelection(r.list), 5);
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    ASSERT_TRUE(r.ChooseFiles(IDM_IMPORT_OPENSEARCH, {op + "news-optional.xml"}));
    EXPECT_EQ(ListText(r.list, 6), "ニュース速報");

    // Rejections from the dialog: nothing added, the reason named.
    const struct {
        const char* file;
        const char* reason;
    } bad[] = {
        {"twice.xml", "template に {searchTerms} が 2 つ以上あります。"},
        {"post-only.xml", "検索結果ページを POST で求める記述には対応していません。"},
        {"unclosed.xml", "XML として正しくありません"},
    };
    for (const auto& b : bad) {
        r.Post(IDM_IMPORT_OPENSEARCH);
        fd = WaitForFileDialog(r.Pid(), r.editor);
        ASSERT_NE(fd, nullptr);
        ChooseInFileDialog(fd, op + b.file);
        HWND box = WaitForMessageBox(r.Pid());
        ASSERT_NE(box, nullptr) << b.file;
        EXPECT_EQ(GetWindow(box, GW_OWNER), r.editor);
        if (std::strcmp(b.file, "unclosed.xml") == 0) Shot("opensearch-rejected", box);
        EXPECT_EQ(r.Answer(IDOK).rfind(rejected(b.file, b.reason), 0), 0u) << b.file;
    }
    EXPECT_EQ(ListCount(r.list), 7);

    // A drop: descriptions and a definition file, the rejected ones reported in order.
    ASSERT_TRUE(
        DropFiles(r.proc.Handle(), r.list,
                  {op + "latin1.xml", op + "shop-sjis.xml", op + "bomb.xml", op + "plain.sed"}));
    EXPECT_EQ(r.Answer(IDOK), rejected("latin1.xml", "対応していない文字コードです : ISO-8859-1"));
    EXPECT_EQ(r.Answer(IDOK), rejected("bomb.xml", "DTD を含むファイルは読み込みません。"));
    EXPECT_TRUE(r.NoMessageBox());
    ASSERT_EQ(ListCount(r.list), 9);
    EXPECT_EQ(ListText(r.list, 7), "価格比較サーチ");
    EXPECT_EQ(ListText(r.list, 8), "Plain");
    EXPECT_EQ(ListSelection(r.list), 8);

    // Export of the shop entry; the name is offered as the file name; read back equal.
    r.Select(7);
    r.Post(IDM_EXPORT_OPENSEARCH);
    fd = WaitForFileDialog(r.Pid(), r.editor);
    ASSERT_NE(fd, nullptr);
    EXPECT_EQ(WindowText(FileNameBox(fd)), "価格比較サーチ.xml");
    ChooseInFileDialog(fd, op + "shop-out.xml");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(fd); }));
    std::string text;
    EXPECT_TRUE(WaitUntil([&] {
        return r.dir.ReadBytes("os\\shop-out.xml", text) &&
               text.find("</OpenSearchDescription>") != std::string::npos;
    }));
    EXPECT_NE(text.find("http://search.shop.example.jp/search.asp?kw={searchTerms}&amp;cat=0"),
              std::string::npos);
    EXPECT_NE(text.find(">Shift_JIS</InputEncoding>"), std::string::npos) << text;
    EXPECT_EQ(r.TitleText(), Marked("test.sef"));
    ASSERT_TRUE(r.ChooseFiles(IDM_IMPORT_OPENSEARCH, {op + "shop-out.xml"}));
    ASSERT_EQ(ListCount(r.list), 10);
    r.Do(IDM_SAVE_FILE);
    const std::vector<EngineEntry> saved = r.OnDisk("test.sef");
    ASSERT_EQ(saved.size(), 10u);
    EXPECT_TRUE(SameEntry(saved[9], saved[7]));
    EngineEntry shop =
        MakeEntry("価格比較サーチ", "search.shop.example.jp/search.asp?kw=", "+", "&cat=0");
    EXPECT_TRUE(SameEntry(saved[7], shop));
    EXPECT_EQ(saved[5].Character, 3);
    EXPECT_EQ(saved[6].Character, 1);

    // Search plugins as a browser keeps them: the query from the Param children, the
    // characters of the template encoded; a POST one refused as before.
    ASSERT_TRUE(
        DropFiles(r.proc.Handle(), r.list, {op + "plugin-post.xml", op + "plugin-wiki.xml"}));
    EXPECT_EQ(r.Answer(IDOK), rejected("plugin-post.xml",
                                       "検索結果ページを POST で求める記述には対応していません。"));
    EXPECT_TRUE(r.NoMessageBox());
    ASSERT_EQ(ListCount(r.list), 11);
    EXPECT_EQ(ListText(r.list, 10), "百科ウィキ (ja)");
    r.Do(IDM_SAVE_FILE);
    const std::vector<EngineEntry> plugins = r.OnDisk("test.sef");
    ASSERT_EQ(plugins.size(), 11u);
    EXPECT_EQ(FieldText(plugins[10].head[0]),
              "https://ja.hyakka.example.org/wiki/%E7%89%B9%E5%88%A5:%E6%A4%9C%E7%B4%A2?search=");
    EXPECT_EQ(FieldText(plugins[10].tail[0]), "&ns0=1");
    r.Post(IDM_CLOSE_EDITOR);
    ASSERT_TRUE(r.Closed());
}
