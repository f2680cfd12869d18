// Driving the real programs from outside as a user or another process would: a fresh program
// directory per test, vantu.exe started in it, its bar and settings sheet, messages, keys,
// message boxes, popup menus and the stand-in browser's log (the end-to-end and installer
// tests).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engines/engine_entry.h"
#include "platform/handles.h"
#include "protocol/bar_protocol.h"
#include "tests/support/paths.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_entries.h"
#include "tests/support/text.h"
#include "ui/common/resource.h"

namespace e2e {

// Polls pred every 20 ms until it holds or timeoutMs passes; returns its last value.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);

// A temporary program directory, removed with everything in it when the object goes.
class ProgramDir {
  public:
    struct Options {
        bool copyProgram = true;    // copy vantu.exe
        bool copyDefaultSef = true; // copy the default engine file
        bool copyBridge = false;    // copy Pelka.dll (when built)
        bool trail5C = false;       // the directory name holds 0x83 0x5C ("ソ")
    };
    ProgramDir();
    explicit ProgramDir(const Options& options);
    ProgramDir(const ProgramDir&) = delete;
    ProgramDir& operator=(const ProgramDir&) = delete;

    const std::string& Path() const { return dir_.path(); } // ends with a backslash
    std::string File(const std::string& name) const { return dir_ / name; }
    std::string IniPath() const { return File("vantu.ini"); }
    std::string BrowserLogPath() const { return File("browser.log"); }

    bool CopyFromDist(const std::string& name, const std::string& as = "") const;
    bool WriteBytes(const std::string& name, const std::string& bytes) const;
    bool ReadBytes(const std::string& name, std::string& bytes) const;
    bool Exists(const std::string& name) const;
    // Writes vantu.ini with the text as given (Shift-JIS).
    bool WriteIni(const std::string& text) const { return WriteBytes("vantu.ini", text); }
    // Writes an engine file with the program's own encoder.
    bool WriteEngineFile(const std::string& name, const std::vector<EngineEntry>& entries) const;

    // Profile reads of vantu.ini.
    int IniInt(const char* section, const char* key, int def = -12345) const;
    std::string IniString(const char* section, const char* key,
                          const char* def = "<missing>") const;
    bool IniHasKey(const char* section, const char* key) const;

    // Lines of the stand-in browser's log (each the browser's whole command line).
    std::vector<std::string> BrowserLog() const;
    // The same lines as UTF-8, as the browser got them through the wide functions.
    std::vector<std::string> BrowserLogUtf8() const;
    // The URL arguments of the log: each command line after the program part.
    std::vector<std::string> BrowserUrls() const;

  private:
    TempDir dir_;
};

// A folder with Pelka.dll beside the program and the default engine file, or without them.
ProgramDir::Options WithBridge(bool program = true);

// vantu.exe (or another program) running from a program directory.
class Process {
  public:
    struct Options {
        std::string program = "vantu.exe"; // relative to the program directory
        int showState = -1;                // STARTUPINFO show state; -1: none given
        bool browserLog = true;            // set MORVEL_BROWSER_LOG to dir\browser.log
        std::vector<std::pair<std::string, std::string>> env; // extra variables
        std::string currentDir;                               // empty: the program directory
        std::string arguments;     // after the quoted program on the command line
        std::string programFolder; // with its trailing backslash; empty: the ProgramDir's
    };
    Process() = default;
    ~Process() { Kill(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const ProgramDir& dir);
    bool Start(const ProgramDir& dir, const Options& options);
    // Waits for this process's search bar (MORVEL_BAR_CLASS, MORVEL_TITLE, with a keyword
    // box); nullptr on timeout.
    HWND WaitForBar(DWORD timeoutMs = 10000);
    HWND Bar() const { return bar_; }
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_.get(); }
    bool Running() const;
    // True when the process ended within the time; code receives the exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* code = nullptr);
    // Ends the process if it still runs (tests call it on failure; the destructor too).
    void Kill();

  private:
    UniqueKernelHandle process_;
    DWORD pid_ = 0;
    HWND bar_ = nullptr;
};

// A program that another one started (the bridge, the browser host), found by its window and
// ended when the object goes.
class Adopted {
  public:
    explicit Adopted(HWND wnd);
    ~Adopted();
    Adopted(const Adopted&) = delete;
    Adopted& operator=(const Adopted&) = delete;
    DWORD Pid() const { return pid_; }

  private:
    DWORD pid_ = 0;
    UniqueKernelHandle process_;
};

// The search bar of a process (nullptr when none).
HWND FindBar(DWORD pid);
// Any top-level window of the process with this class and title (nullptr: any).
std::vector<HWND> TopWindows(DWORD pid, const char* cls, const char* title);

// Message boxes: class "#32770" without a keyword box, title as given.
HWND FindMessageBox(DWORD pid, const char* title = MORVEL_TITLE);
HWND WaitForMessageBox(DWORD pid, const char* title = MORVEL_TITLE, DWORD timeoutMs = 5000);
std::string MessageBoxText(HWND box);
// Presses a button of a dialog by its id (IDOK, IDYES...) as a click would.
void PressButton(HWND dialog, int id);

// Control state read from outside (messages are marshalled across processes).
std::string WindowText(HWND wnd);
std::string ItemText(HWND dialog, int id);
int ComboSelection(HWND combo);
int ComboCount(HWND combo);
// Whether a check box (of the dialog) is ticked; a click on it, as the user's.
bool Ticked(HWND box);
bool Ticked(HWND dialog, int id);
void Click(HWND dialog, int id);
std::string ComboText(HWND combo, int index);
bool Enabled(HWND wnd);
bool Visible(HWND wnd);
// Length of a window's text in characters (as the edit control counts its selection).
int TextLengthChars(HWND wnd);
// Selection of an edit control as [start, end), in characters.
std::pair<int, int> EditSelection(HWND edit);
// Sends a message with a time limit (so a test never hangs on a busy program); kNoAnswer when
// the window did not answer in time.
constexpr LRESULT kNoAnswer = -12345;
LRESULT Send(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = 5000);
// WM_COPYDATA with the given bytes as lpData and cbData.
LRESULT SendCopyData(HWND bar, const void* data, DWORD size,
                     ULONG_PTR dwData = bar_protocol::kCopyDataShiftJis);
LRESULT SendKeyword(HWND bar, const std::string& text); // text + NUL, as the bridge sends

// Keys: posted WM_KEYDOWN/WM_KEYUP to a window (no key state), or real input.
void PostKey(HWND wnd, UINT vk);
// Real keyboard input to the foreground window; shift holds Shift around the key.
void TypeKey(UINT vk, bool shift = false);
void TypeText(const std::string& ascii);
// Real keyboard input of characters as a keyboard or an input method sends them
// (KEYEVENTF_UNICODE; a character beyond the BMP as its two surrogates).
void TypeUnicode(const std::wstring& text);
// A window's or control's text as UTF-16 (every character, not the code page's form).
std::wstring WindowTextW(HWND wnd);
bool MakeForeground(HWND wnd);
// Waits until control has the keyboard focus in its window's thread.
bool WaitForFocus(HWND control, DWORD timeoutMs = 5000);

// A visible popup menu window (class "#32768") of the process; nullptr when none.
HWND FindPopupMenu(DWORD pid);
HWND WaitForPopupMenu(DWORD pid, DWORD timeoutMs = 5000);
// Number of visible popup menu windows of the process (a menu with an open submenu: 2).
int PopupMenuCount(DWORD pid);
// Keys to the menu that is being tracked: arrows, Enter, Escape, or a mnemonic character.
void MenuKey(HWND menu, UINT vk);
void MenuChar(HWND menu, char c);

// The engines of the test engine file "test.sef" (five entries, one per character code,
// with and without the any-word URL).
std::vector<EngineEntry> TestEngines();
constexpr UINT kTrayNotify = WM_APP_TRAYNOTIFY, kActivate = WM_APP_ACTIVATE,
               kSetOption = WM_APP_SETOPTION;
using bar_protocol::kOptionEngine;
using bar_protocol::kOptionMode;
using bar_protocol::kOptionSearch;

// A settings file with the stand-in browser and "test.sef" as the current engine file;
// search and window hold extra lines for those sections, other holds whole sections.
std::string TestIni(const std::string& search = "", const std::string& window = "",
                    const std::string& other = "");

// A running vantu.exe with its search bar, in its own program directory; the process is
// ended when the object goes (so a failing test never leaves it behind).
struct RunningBar {
    ProgramDir dir;
    Process proc;
    HWND bar = nullptr;
    HWND keyword = nullptr, mode = nullptr, engine = nullptr, button = nullptr;

    RunningBar() = default;
    explicit RunningBar(const ProgramDir::Options& options) : dir(options) {}
    // Writes the test engine file and the settings file (unless ini is null), then Launch.
    bool Start(const char* ini, const Process::Options& options = Process::Options());
    bool Start(const std::string& ini) { return Start(ini.c_str()); }
    // Starts the program with the folder as it is and waits until its bar is set up.
    bool Launch(const Process::Options& options = Process::Options());
    // Ends the program through "終了(&X)" and waits for its exit code.
    bool Exit(DWORD* code = nullptr);
    // Waits until the bar has finished what it was doing (a sent message is answered only
    // then): the reload after the editor, for one.
    bool Idle() const { return Send(bar, WM_NULL) != kNoAnswer; }
    // The program's shown dialog, other than the bar and message boxes, that has control id.
    HWND FindDialogWith(int controlId) const;
};

// The settings sheet "設定" of a process, while shown; nullptr when none.
HWND FindSheet(DWORD pid);
// OK or Cancel of the sheet; true when the sheet has closed.
bool CloseSheet(HWND sheet, int button);
// The pages 全般, 検索, IE連携 and 履歴編集, and the page the sheet opens with.
enum SheetPageIndex { kAsOpened = -1, kGeneral, kSearch, kMenuExt, kHistory };

// The settings sheet opened through the bar's command (or its system menu's) with a page
// made current.
struct SheetPage {
    HWND sheet = nullptr, page = nullptr;

    bool Open(const RunningBar& b, int index, bool systemMenu = false);
    // Makes another page current (kAsOpened: none) and gives the current page's window.
    HWND Show(int index);
    bool Ticked(int id) const { return e2e::Ticked(page, id); }
    void Click(int id) const { e2e::Click(page, id); }
    void SetBox(int id, bool on) const {
        if (Ticked(id) != on) Click(id);
    }
    HWND Item(int id) const { return GetDlgItem(page, id); }
    bool Close(int button) const { return CloseSheet(sheet, button); }
};

// ---- list boxes, file dialogs, drops ----------------------------------------------------------

int ListCount(HWND list);
int ListSelection(HWND list);
std::string ListText(HWND list, int index);
// The window that has the keyboard focus in wnd's thread (nullptr when none).
HWND FocusOf(HWND wnd);
// Waits for the next message box of the process, presses the button and returns its text
// ("<none>" when no box came); shot names a screenshot of the box.
std::string AnswerMessageBox(DWORD pid, int button, DWORD timeoutMs = 5000,
                             const char* shot = nullptr);
// The open or save dialog of the common dialog library that owner opened; nullptr on timeout.
HWND WaitForFileDialog(DWORD pid, HWND owner, DWORD timeoutMs = 8000);
// The dialog's file name box.
HWND FileNameBox(HWND fileDialog);
// Puts text into the file name box and presses the dialog's OK button (a folder opens it,
// one or several quoted names choose files).
void ChooseInFileDialog(HWND fileDialog, const std::string& text);
// Drops files on a window of another process as the shell delivers them: a DROPFILES block
// in that process's memory and WM_DROPFILES posted to the window.
bool DropFiles(HANDLE process, HWND target, const std::vector<std::string>& paths);

// Saves the screen area of a window (nullptr: the whole screen) as a 24-bit BMP file;
// when MORVEL_SHOTS_DIR is set, shots named by the tests land there.
bool SaveScreenBmp(const std::string& path, HWND wnd = nullptr);
void Shot(const char* name, HWND wnd = nullptr);
// A shot of a screen area (a window with its open menus, for instance).
void Shot(const char* name, const RECT& area);
bool SaveScreenBmp(const std::string& path, const RECT& area);

} // namespace e2e
