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
#include "tests/support/selection_source.h"
#include "tests/support/paths.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text.h"

namespace {

void Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

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
        ASSERT_TRUE(PutKnownContent(before, secret));
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
    ASSERT_TRUE(PutKnownContent(u"kept", "xyz"));
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
