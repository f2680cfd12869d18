// Taking another program's selection: selection_source.exe shows an edit control or a window
// that copies on Ctrl+C, and this process, another program to it, takes its selection. The
// clipboard, shared by the whole Wine session, gets known content before every case.
#include "platform/selection_grab.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/handles.h"
#include "tests/support/driver.h"
#include "tests/support/paths.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text.h"

namespace {

struct ClipboardContent {
    std::u16string text;
    std::string secret; // the bytes of a private registered format
    std::vector<UINT> formats;
    bool operator==(const ClipboardContent& o) const {
        return text == o.text && secret == o.secret && formats == o.formats;
    }
};

UINT PrivateFormat() {
    return RegisterClipboardFormatW(L"Morvel Test Private");
}

bool OpenSoon(ClipboardSession& clipboard, HWND owner) {
    return e2e::WaitUntil([&] { return clipboard.Open(owner); }, 2000);
}

bool PutGlobal(UINT format, const void* data, size_t size) {
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
    {
        const GlobalLockScope lock(memory.get());
        if (!lock.data()) return false;
        std::memcpy(lock.data(), data, size);
    }
    if (!SetClipboardData(format, memory.get())) return false;
    memory.release();
    return true;
}

// Known content: the text and the private format's bytes. The owner window goes at once, so
// that no clipboard message for it ever waits on this thread.
void PutKnownContent(const std::u16string& text, const std::string& secret) {
    UniqueWindow owner(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       nullptr, nullptr));
    ClipboardSession clipboard;
    ASSERT_TRUE(OpenSoon(clipboard, owner.get()));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(PutGlobal(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t)));
    ASSERT_TRUE(PutGlobal(PrivateFormat(), secret.data(), secret.size()));
}

std::string GlobalBytes(HANDLE data) {
    const GlobalLockScope lock(data);
    if (!lock.data()) return "<none>";
    return std::string(static_cast<const char*>(lock.data()), GlobalSize(data));
}

ClipboardContent ReadClipboard() {
    ClipboardContent c;
    ClipboardSession clipboard;
    if (!OpenSoon(clipboard, nullptr)) return c;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        c.formats.push_back(f);
    std::sort(c.formats.begin(), c.formats.end());
    const std::string text = GlobalBytes(GetClipboardData(CF_UNICODETEXT));
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const char16_t u =
            static_cast<unsigned char>(text[i]) | static_cast<unsigned char>(text[i + 1]) << 8;
        if (!u) break;
        c.text += u;
    }
    c.secret = GlobalBytes(GetClipboardData(PrivateFormat()));
    return c;
}

void Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// selection_source.exe in one of its modes, ended when the object goes.
class Source {
  public:
    bool Start(const std::string& mode, const std::u16string& text, int start = -2, int end = -2) {
        // The text goes through a UTF-16 file: a command line would have to quote it.
        std::string bytes = "\xFF\xFE";
        for (const char16_t u : text) {
            bytes += static_cast<char>(u & 0xFF);
            bytes += static_cast<char>(u >> 8);
        }
        const std::string file = dir_ / "text.txt";
        {
            UniqueFile out(
                CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            if (!out || !WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                   &written, nullptr))
                return Fail("cannot write the text");
        }
        std::string line =
            "\"" + HelperDir() + "selection_source.exe\" " + mode + " \"@" + file + "\"";
        if (start != -2) line += " " + std::to_string(start) + " " + std::to_string(end);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return Fail("does not start");
        process_.reset(pi.hProcess);
        UniqueKernelHandle thread(pi.hThread);
        const DWORD pid = pi.dwProcessId;
        e2e::WaitUntil([&] {
            const std::vector<HWND> found = e2e::TopWindows(pid, nullptr, "Selection Source");
            wnd_ = found.empty() ? nullptr : found[0];
            return wnd_ && IsWindowVisible(wnd_);
        });
        if (!wnd_) return Fail("no window");
        if (!e2e::MakeForeground(wnd_)) return Fail("not brought forward");
        return e2e::WaitUntil([&] { return e2e::FocusOf(wnd_) != nullptr; }) || Fail("no focus");
    }
    ~Source() {
        if (process_) {
            TerminateProcess(process_.get(), 0);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    HWND wnd() const { return wnd_; }
    static bool Fail(const char* why) {
        ADD_FAILURE() << "selection_source.exe: " << why;
        return false;
    }
    // The Ctrl+C presses the window has seen.
    LRESULT Copies() const { return e2e::Send(wnd_, WM_APP); }

  private:
    TempDir dir_;
    UniqueKernelHandle process_;
    HWND wnd_ = nullptr;
};

std::u16string Text(const WideKeyword& k) {
    return std::u16string(k.view());
}

TEST(SelectionGrab, TakesTheSelectionAndKeepsTheClipboard) {
    const std::u16string before = u"before \U00020BB7";
    const std::string secret("\x01\x00\xFE private", 11);
    const std::u16string pair = u"\U00020BB7";
    const struct Case {
        const char* mode;
        std::u16string text;
        int start, end;
        unsigned heldModifiers; // pressed before, as a hot key's would be
        bool taken;
        std::u16string expected;
        bool copies; // the copy command is sent
    } cases[] = {
        {"edit", u"hello world", -2, -2, 0, true, u"hello world", false},
        {"edit", u"検索 テキスト", 3, 7, 0, true, u"テキスト", false},
        {"edit", u"a 한 " + pair + u" b", -2, -2, 0, true, u"a 한 " + pair + u" b", false},
        {"edit", u"  line one\r\nline two\t ", -2, -2, 0, true, u"line one line two", false},
        {"edit", u"ab\r\ncd\r\nef", 3, 7, 0, true, u"cd", false},       // "\ncd\r": units
        {"richedit", u"ab\r\ncd\r\nef", 3, 7, 0, true, u"cd e", false}, // a break is one
        {"edit", u"nothing selected", 4, 4, 0, false, u"", false},
        {"edit", u" \r\n ", -2, -2, 0, false, u"", false},
        {"password", u"secret", -2, -2, 0, false, u"", false},
        {"copy", u"copied\r\ntext " + pair, -2, -2, 0, true, u"copied text " + pair, true},
        {"copy", u"with the keys held", -2, -2, MOD_CONTROL | MOD_SHIFT, true,
         u"with the keys held", true},
        {"copy", u"", -2, -2, 0, false, u"", true},
        {"none", u"", -2, -2, 0, false, u"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << Cp932(c.text));
        PutKnownContent(before, secret);
        const ClipboardContent known = ReadClipboard();
        ASSERT_EQ(known.text, before);
        const DWORD sequence = GetClipboardSequenceNumber();
        Source source;
        ASSERT_TRUE(source.Start(c.mode, c.text, c.start, c.end));
        if (c.heldModifiers & MOD_CONTROL) Key(VK_LCONTROL, false);
        if (c.heldModifiers & MOD_SHIFT) Key(VK_LSHIFT, false);

        WideKeyword out(u"old");
        const ULONGLONG start = GetTickCount64();
        const GrabResult result = GrabSelection(GetForegroundWindow(), c.heldModifiers, out);
        const ULONGLONG spent = GetTickCount64() - start;
        for (const WORD vk : {VK_LCONTROL, VK_LSHIFT})
            if (GetAsyncKeyState(vk) & 0x8000) Key(vk, true);

        EXPECT_EQ(result, c.taken ? GrabResult::Taken : GrabResult::Nothing);
        EXPECT_EQ(Text(out), c.expected);
        EXPECT_LE(spent, 700u); // 500 ms and the scheduler's slack
        EXPECT_EQ(source.Copies(), c.copies ? 1 : 0);
        EXPECT_TRUE(ReadClipboard() == known);
        // Untouched unless the program did copy (then put back as it was): never emptied.
        if (std::string(c.mode) != "copy") {
            EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
        }
    }
}

// A clipboard that another program holds open is left alone: no copy command, nothing taken.
TEST(SelectionGrab, ClipboardHeldOpenElsewhere) {
    PutKnownContent(u"kept", "xyz");
    const ClipboardContent known = ReadClipboard();
    Source source;
    ASSERT_TRUE(source.Start("copy", u"never copied"));
    UniqueKernelHandle opened(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        ClipboardSession clipboard;
        if (OpenSoon(clipboard, nullptr)) SetEvent(opened.get());
        WaitForSingleObject(done.get(), 5000);
    });
    const bool held = WaitForSingleObject(opened.get(), 5000) == WAIT_OBJECT_0;
    WideKeyword out;
    const ULONGLONG start = GetTickCount64();
    const GrabResult result = GrabSelection(GetForegroundWindow(), 0, out);
    const ULONGLONG spent = GetTickCount64() - start;
    SetEvent(done.get());
    holder.join();
    ASSERT_TRUE(held);
    EXPECT_EQ(result, GrabResult::Nothing);
    EXPECT_TRUE(out.empty());
    EXPECT_GE(spent, 350u); // it was retried
    EXPECT_LE(spent, 700u);
    EXPECT_EQ(source.Copies(), 0);
    EXPECT_TRUE(ReadClipboard() == known);
}

} // namespace
