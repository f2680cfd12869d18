#include "tests/support/driver.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "base/text.h"
#include "engines/sef_codec.h"
#include "tests/support/file_text.h"
#include "tests/support/sef_image.h"

namespace e2e {

namespace {

bool IsBar(HWND wnd) {
    return GetDlgItem(wnd, IDC_KEYWORD) != nullptr && GetDlgItem(wnd, IDC_ENGINE);
}

} // namespace

bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return pred();
        Sleep(20);
    }
}

// ---- ProgramDir -------------------------------------------------------------------------

ProgramDir::ProgramDir() : ProgramDir(Options()) {}

ProgramDir::ProgramDir(const Options& options)
    : dir_(options.trail5C ? "-\x83\x5C" : "", "morvel-e2e") {
    if (options.copyProgram) CopyFromDist("vantu.exe");
    if (options.copyDefaultSef) CopyFromDist(kDefaultSef);
    if (options.copyBridge) CopyFromDist("Pelka.dll");
}

bool ProgramDir::CopyFromDist(const std::string& name, const std::string& as) const {
    const std::string from = DistDir() + name;
    const std::string to = File(as.empty() ? name : as);
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool ProgramDir::WriteBytes(const std::string& name, const std::string& bytes) const {
    return WriteFileText(File(name), bytes);
}

bool ProgramDir::ReadBytes(const std::string& name, std::string& bytes) const {
    return ReadWholeFile(File(name), bytes);
}

bool ProgramDir::Exists(const std::string& name) const {
    return PathExists(File(name));
}

bool ProgramDir::WriteEngineFile(const std::string& name,
                                 const std::vector<EngineEntry>& entries) const {
    const std::vector<uint8_t> image = SefImageOf(entries.data(), static_cast<int>(entries.size()));
    if (image.empty()) return false;
    return WriteBytes(name, std::string(image.begin(), image.end()));
}

int ProgramDir::IniInt(const char* section, const char* key, int def) const {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, IniPath().c_str()));
}

std::string ProgramDir::IniString(const char* section, const char* key, const char* def) const {
    char buf[1024] = {};
    GetPrivateProfileStringA(section, key, def, buf, sizeof buf, IniPath().c_str());
    return buf;
}

bool ProgramDir::IniHasKey(const char* section, const char* key) const {
    return IniString(section, key, "\x01") != "\x01";
}

namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(pos));
            break;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

} // namespace

std::vector<std::string> ProgramDir::BrowserLog() const {
    std::string bytes;
    return ReadBytes("browser.log", bytes) ? Lines(bytes) : std::vector<std::string>();
}

std::vector<std::string> ProgramDir::BrowserLogUtf8() const {
    std::string bytes;
    return ReadBytes("browser.log.utf8", bytes) ? Lines(bytes) : std::vector<std::string>();
}

std::vector<std::string> ProgramDir::BrowserUrls() const {
    std::vector<std::string> urls;
    for (const std::string& line : BrowserLog()) {
        size_t i = 0;
        if (!line.empty() && line[0] == '"') {
            const size_t close = line.find('"', 1);
            i = close == std::string::npos ? line.size() : close + 1;
        } else {
            const size_t sp = line.find(' ');
            i = sp == std::string::npos ? line.size() : sp;
        }
        while (i < line.size() && line[i] == ' ')
            ++i;
        std::string arg = line.substr(i);
        if (arg.size() >= 2 && arg.front() == '"' && arg.back() == '"')
            arg = arg.substr(1, arg.size() - 2);
        urls.push_back(arg);
    }
    return urls;
}

ProgramDir::Options WithBridge(bool program) {
    ProgramDir::Options options;
    options.copyProgram = options.copyDefaultSef = program;
    options.copyBridge = true;
    return options;
}

// ---- Process ------------------------------------------------------------------------------

bool Process::Start(const ProgramDir& dir) {
    return Start(dir, Options());
}

bool Process::Start(const ProgramDir& dir, const Options& options) {
    Kill();
    // The environment block: ours, plus the extra variables (set last, so they win).
    std::vector<std::pair<std::string, std::string>> extra = options.env;
    if (options.browserLog) extra.emplace_back("MORVEL_BROWSER_LOG", dir.BrowserLogPath());
    std::string block;
    if (char* env = GetEnvironmentStringsA()) {
        for (const char* p = env; *p; p += std::strlen(p) + 1) {
            const std::string var = p;
            bool replaced = false;
            for (const auto& kv : extra)
                if (var.size() > kv.first.size() && var[kv.first.size()] == '=' &&
                    !_strnicmp(var.c_str(), kv.first.c_str(), kv.first.size()))
                    replaced = true;
            if (!replaced) block.append(var).push_back('\0');
        }
        FreeEnvironmentStringsA(env);
    }
    for (const auto& kv : extra)
        block.append(kv.first + "=" + kv.second).push_back('\0');
    block.push_back('\0');

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (options.showState >= 0) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(options.showState);
    }
    PROCESS_INFORMATION pi = {};
    const std::string folder = options.programFolder.empty() ? dir.Path() : options.programFolder;
    const std::string program = folder + options.program;
    std::string cmd = "\"" + program + "\"";
    if (!options.arguments.empty()) cmd += " " + options.arguments;
    const std::string dirNoSlash = options.currentDir.empty() ? folder : options.currentDir;
    if (!CreateProcessA(program.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, &block[0],
                        dirNoSlash.c_str(), &si, &pi))
        return false;
    UniqueKernelHandle thread(pi.hThread);
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    bar_ = nullptr;
    return true;
}

HWND Process::WaitForBar(DWORD timeoutMs) {
    WaitUntil(
        [&] {
            bar_ = FindBar(pid_);
            return bar_ != nullptr || !Running();
        },
        timeoutMs);
    // The window exists before its set-up has run; a sent message is answered only after.
    if (bar_ && Send(bar_, WM_NULL, 0, 0, timeoutMs) == kNoAnswer) bar_ = nullptr;
    return bar_;
}

bool Process::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* code) {
    if (!process_) return false;
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD c = 0;
    GetExitCodeProcess(process_.get(), &c);
    if (code) *code = c;
    return true;
}

void Process::Kill() {
    if (process_ && Running()) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
    process_.reset();
    bar_ = nullptr;
}

Adopted::Adopted(HWND wnd) {
    if (wnd) GetWindowThreadProcessId(wnd, &pid_);
    if (pid_) process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid_));
}

Adopted::~Adopted() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 5000);
}

// ---- windows of a process -----------------------------------------------------------------

std::vector<HWND> TopWindows(DWORD pid, const char* cls, const char* title) {
    struct Query {
        DWORD pid;
        const char* cls;
        const char* title;
        std::vector<HWND> found;
    } q{pid, cls, title, {}};
    EnumWindows(
        [](HWND wnd, LPARAM lp) -> BOOL {
            auto* q = reinterpret_cast<Query*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            if (owner != q->pid) return TRUE;
            char buf[256] = {};
            if (q->cls) {
                GetClassNameA(wnd, buf, sizeof buf);
                if (std::strcmp(buf, q->cls) != 0) return TRUE;
            }
            if (q->title) {
                GetWindowTextA(wnd, buf, sizeof buf);
                if (std::strcmp(buf, q->title) != 0) return TRUE;
            }
            q->found.push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND FindBar(DWORD pid) {
    for (HWND w : TopWindows(pid, MORVEL_BAR_CLASS, MORVEL_TITLE))
        if (IsBar(w)) return w;
    return nullptr;
}

HWND FindMessageBox(DWORD pid, const char* title) {
    for (HWND w : TopWindows(pid, "#32770", title))
        if (!IsBar(w) && IsWindowVisible(w)) return w;
    return nullptr;
}

HWND WaitForMessageBox(DWORD pid, const char* title, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(pid, title)) != nullptr; }, timeoutMs);
    return box;
}

std::string MessageBoxText(HWND box) {
    // The text of a message box is its static control 0xFFFF.
    if (HWND text = GetDlgItem(box, 0xFFFF)) return WindowText(text);
    std::string all;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (!lstrcmpiA(cls, "Static")) all += WindowText(c);
    }
    return all;
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

LRESULT Send(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(wnd, msg, wParam, lParam, SMTO_NORMAL, timeoutMs, &result))
        return kNoAnswer;
    return static_cast<LRESULT>(result);
}

std::string WindowText(HWND wnd) {
    char buf[1024] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL,
                        5000, &n);
    buf[sizeof buf - 1] = '\0';
    return buf;
}

std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

int ComboSelection(HWND combo) {
    return static_cast<int>(Send(combo, CB_GETCURSEL));
}
int ComboCount(HWND combo) {
    return static_cast<int>(Send(combo, CB_GETCOUNT));
}

bool Ticked(HWND box) {
    return Send(box, BM_GETCHECK) == BST_CHECKED;
}
bool Ticked(HWND dialog, int id) {
    return Ticked(GetDlgItem(dialog, id));
}
void Click(HWND dialog, int id) {
    Send(GetDlgItem(dialog, id), BM_CLICK);
}

namespace {
// An item of a combo or list box, asked in UTF-16: the ANSI form is not converted across
// processes.
std::string ListItemText(HWND box, UINT lengthMsg, UINT textMsg, int index) {
    wchar_t wide[512] = {};
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(box, lengthMsg, index, 0, SMTO_NORMAL, 5000, &len) ||
        static_cast<LRESULT>(len) < 0 || len >= 512)
        return "";
    SendMessageTimeoutW(box, textMsg, index, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, 5000,
                        &len);
    return Narrow(wide);
}
} // namespace

std::string ComboText(HWND combo, int index) {
    return ListItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int TextLengthChars(HWND wnd) {
    const std::string text = WindowText(wnd);
    return MultiByteToWideChar(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
}

bool Enabled(HWND wnd) {
    return IsWindowEnabled(wnd) != 0;
}
bool Visible(HWND wnd) {
    return IsWindowVisible(wnd) != 0;
}

std::pair<int, int> EditSelection(HWND edit) {
    const LRESULT r = Send(edit, EM_GETSEL);
    return {LOWORD(r), HIWORD(r)};
}

LRESULT SendCopyData(HWND bar, const void* data, DWORD size, ULONG_PTR dwData) {
    COPYDATASTRUCT cds = {};
    cds.dwData = dwData;
    cds.cbData = size;
    cds.lpData = const_cast<void*>(data);
    return Send(bar, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

LRESULT SendKeyword(HWND bar, const std::string& text) {
    return SendCopyData(bar, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// ---- keys ---------------------------------------------------------------------------------

void PostKey(HWND wnd, UINT vk) {
    const UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(wnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(wnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

namespace {
INPUT KeyInput(UINT vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(vk);
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_PRIOR || vk == VK_NEXT || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP ||
        vk == VK_DOWN || vk == VK_HOME || vk == VK_END || vk == VK_DELETE || vk == VK_INSERT)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return in;
}
} // namespace

void TypeKey(UINT vk, bool shift) {
    std::vector<INPUT> ins;
    if (shift) ins.push_back(KeyInput(VK_SHIFT, false));
    ins.push_back(KeyInput(vk, false));
    ins.push_back(KeyInput(vk, true));
    if (shift) ins.push_back(KeyInput(VK_SHIFT, true));
    SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof(INPUT));
    Sleep(50);
}

void TypeText(const std::string& ascii) {
    for (char c : ascii) {
        const SHORT vks = VkKeyScanA(c);
        TypeKey(LOBYTE(vks), (HIBYTE(vks) & 1) != 0);
    }
}

void TypeUnicode(const std::wstring& text) {
    for (const wchar_t c : text) {
        INPUT in[2] = {};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = c;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof(INPUT));
        Sleep(30);
    }
}

std::wstring WindowTextW(HWND wnd) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

bool WaitForFocus(HWND control, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof gti;
            return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &gti) &&
                   gti.hwndFocus == control;
        },
        timeoutMs);
}

bool MakeForeground(HWND wnd) {
    // The X server's focus change may arrive after the window came forward and take the
    // foreground away once more: the window must hold it for a moment.
    const DWORD start = GetTickCount();
    DWORD heldSince = 0;
    while (GetTickCount() - start < 4000) {
        if (GetForegroundWindow() != wnd) {
            SetForegroundWindow(wnd);
            heldSince = 0;
        } else if (!heldSince) {
            heldSince = GetTickCount() | 1;
        } else if (GetTickCount() - heldSince >= 300) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

// ---- popup menus --------------------------------------------------------------------------

HWND FindPopupMenu(DWORD pid) {
    HWND last = nullptr;
    for (HWND w : TopWindows(pid, "#32768", nullptr))
        if (IsWindowVisible(w)) last = w;
    return last;
}

int PopupMenuCount(DWORD pid) {
    int n = 0;
    for (HWND w : TopWindows(pid, "#32768", nullptr))
        if (IsWindowVisible(w)) ++n;
    return n;
}

HWND WaitForPopupMenu(DWORD pid, DWORD timeoutMs) {
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = FindPopupMenu(pid)) != nullptr; }, timeoutMs);
    return menu;
}

void MenuKey(HWND menu, UINT vk) {
    PostMessageA(menu, WM_KEYDOWN, vk, 1);
    PostMessageA(menu, WM_KEYUP, vk, 0xC0000001u);
    Sleep(100);
}

void MenuChar(HWND menu, char c) {
    PostMessageA(menu, WM_CHAR, static_cast<unsigned char>(c), 1);
    Sleep(100);
}

// ---- the running bar ----------------------------------------------------------------------

std::vector<EngineEntry> TestEngines() {
    return {
        // The URL of a search is "http://" + head + joined keyword + tail.
        MakeEntry("SJIS", "s.example/all?q=", "+", "&x=1", "s.example/any?q=", "|", "", 0, 0),
        MakeEntry("EUC", "e.example/?q=", "+", "", "", "", "", 1, 0),
        // UrlMode 1: a keyword with a letter takes the any-word URL; the mode combo is off.
        MakeEntry("None", "n.example/", "/", ".html", "n.example/or/", "/", "", 2, 1),
        MakeEntry("UTF8", "u.example/?q=", "+", "", "u.example/?or=", "+OR+", "", 3, 0),
        MakeEntry("Last", "l.example/?q=", "+", "", "l.example/?o=", "-", "", 0, 0),
    };
}

std::string TestIni(const std::string& search, const std::string& window,
                    const std::string& other) {
    return "[Search]\r\nBrowser=" + FakeBrowserPath() + "\r\nDefaultSEF=test.sef\r\n" + search +
           "[Window]\r\n" + window + other;
}

bool RunningBar::Start(const char* ini, const Process::Options& options) {
    if (!dir.WriteEngineFile("test.sef", TestEngines())) return false;
    if (ini && !dir.WriteIni(ini)) return false;
    return Launch(options);
}

bool RunningBar::Launch(const Process::Options& options) {
    if (!proc.Start(dir, options)) return false;
    bar = proc.WaitForBar();
    if (!bar) return false;
    keyword = GetDlgItem(bar, IDC_KEYWORD);
    mode = GetDlgItem(bar, IDC_MODE);
    engine = GetDlgItem(bar, IDC_ENGINE);
    button = GetDlgItem(bar, IDC_SEARCH);
    return true;
}

bool RunningBar::Exit(DWORD* code) {
    PostMessageA(bar, WM_COMMAND, IDM_EXIT, 0);
    return proc.WaitForExit(10000, code);
}

HWND RunningBar::FindDialogWith(int controlId) const {
    // Only a shown dialog has been through its initialisation: its controls exist earlier.
    for (HWND w : TopWindows(proc.Pid(), "#32770", nullptr))
        if (w != bar && IsWindowVisible(w) && GetDlgItem(w, controlId)) return w;
    return nullptr;
}

// ---- the settings sheet -------------------------------------------------------------------

HWND FindSheet(DWORD pid) {
    for (HWND w : TopWindows(pid, "#32770", "設定"))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

bool SheetPage::Open(const RunningBar& b, int index, bool systemMenu) {
    PostMessageA(b.bar, systemMenu ? WM_SYSCOMMAND : WM_COMMAND, IDM_SETTINGS, 0);
    sheet = nullptr;
    page = nullptr;
    WaitUntil([&] { return (sheet = FindSheet(b.proc.Pid())) != nullptr; });
    return sheet && Show(index);
}

HWND SheetPage::Show(int index) {
    if (index != kAsOpened) Send(sheet, PSM_SETCURSEL, index, 0);
    return page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND));
}

bool CloseSheet(HWND sheet, int button) {
    PressButton(sheet, button);
    return WaitUntil([&] { return !IsWindow(sheet); });
}

// ---- screenshots --------------------------------------------------------------------------

bool SaveScreenBmp(const std::string& path, HWND wnd) {
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (wnd) GetWindowRect(wnd, &r);
    return SaveScreenBmp(path, r);
}

bool SaveScreenBmp(const std::string& path, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    UniqueScreenDc screenDc(GetDC(nullptr));
    UniqueMemoryDc memDc(CreateCompatibleDC(screenDc.get()));
    HDC screen = screenDc.get();
    HDC mem = memDc.get();
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject dib(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool ok = false;
    if (dib && mem) {
        HGDIOBJ old = SelectObject(mem, dib.get());
        BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        SelectObject(mem, old);
        const DWORD stride = ((w * 3 + 3) / 4) * 4;
        BITMAPFILEHEADER fh = {};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
        fh.bfSize = fh.bfOffBits + stride * h;
        UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD n = 0;
        ok = f && WriteFile(f.get(), &fh, sizeof fh, &n, nullptr) &&
             WriteFile(f.get(), &bi.bmiHeader, sizeof bi.bmiHeader, &n, nullptr) &&
             WriteFile(f.get(), bits, stride * h, &n, nullptr);
    }
    return ok;
}

void Shot(const char* name, HWND wnd) {
    char dir[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("MORVEL_SHOTS_DIR", dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return;
    Sleep(300); // let the window paint
    SaveScreenBmp(WindowsPath(dir) + name + ".bmp", wnd);
}

void Shot(const char* name, const RECT& area) {
    char dir[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("MORVEL_SHOTS_DIR", dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return;
    Sleep(300);
    SaveScreenBmp(WindowsPath(dir) + name + ".bmp", area);
}

// ---- list boxes, file dialogs, drops ----------------------------------------------------------

int ListCount(HWND list) {
    return static_cast<int>(Send(list, LB_GETCOUNT));
}
int ListSelection(HWND list) {
    return static_cast<int>(Send(list, LB_GETCURSEL));
}

std::string ListText(HWND list, int index) {
    return ListItemText(list, LB_GETTEXTLEN, LB_GETTEXT, index);
}

HWND FocusOf(HWND wnd) {
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(wnd, nullptr), &gti)) return nullptr;
    return gti.hwndFocus;
}

std::string AnswerMessageBox(DWORD pid, int button, DWORD timeoutMs, const char* shot) {
    HWND box = WaitForMessageBox(pid, MORVEL_TITLE, timeoutMs);
    if (!box) return "<none>";
    const std::string text = MessageBoxText(box);
    if (shot) Shot(shot, box);
    PressButton(box, button);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

HWND FileNameBox(HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, 0x480)) return edit; // edt1
    // cmb13: a ComboBoxEx32 whose combo box holds the edit control.
    HWND parent = GetDlgItem(dialog, 0x47C);
    if (!parent) parent = dialog;
    HWND found = nullptr;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM lp) -> BOOL {
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (lstrcmpiA(cls, "Edit") != 0) return TRUE;
            *reinterpret_cast<HWND*>(lp) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitForFileDialog(DWORD pid, HWND owner, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopWindows(pid, "#32770", nullptr))
                if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w) && FileNameBox(w) &&
                    GetDlgItem(w, 0x470) /* cmb1, the file types */) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

void ChooseInFileDialog(HWND dialog, const std::string& text) {
    Send(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PressButton(dialog, IDOK);
    Sleep(300);
}

bool DropFiles(HANDLE process, HWND target, const std::vector<std::string>& paths) {
    std::string block(sizeof(DROPFILES), '\0');
    for (const std::string& p : paths)
        block.append(p).push_back('\0');
    block.push_back('\0');
    DROPFILES df = {};
    df.pFiles = sizeof(DROPFILES);
    df.fWide = FALSE;
    std::memcpy(&block[0], &df, sizeof df);
    // Fixed memory is its own handle: DragQueryFile locks it where it lies.
    void* remote =
        VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    if (!WriteProcessMemory(process, remote, block.data(), block.size(), &written) ||
        written != block.size())
        return false;
    return PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != 0;
}

} // namespace e2e
