#include "tests/support/selection_source.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tests/support/driver.h"
#include "tests/support/paths.h"

UINT PrivateFormat() {
    return RegisterClipboardFormatW(L"Morvel Test Private");
}

bool OpenSoon(ClipboardSession& clipboard, HWND owner) {
    return e2e::WaitUntil([&] { return clipboard.Open(owner); }, 2000);
}

namespace {

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

} // namespace

// Known content: the text and the private format's bytes. The owner window goes at once, so
// that no clipboard message for it ever waits on this thread.
bool PutKnownContent(const std::u16string& text, const std::string& secret) {
    UniqueWindow owner(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       nullptr, nullptr));
    ClipboardSession clipboard;
    return OpenSoon(clipboard, owner.get()) && EmptyClipboard() &&
           PutGlobal(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t)) &&
           PutGlobal(PrivateFormat(), secret.data(), secret.size());
}

namespace {

std::string GlobalBytes(HANDLE data) {
    const GlobalLockScope lock(data);
    if (!lock.data()) return "<none>";
    return std::string(static_cast<const char*>(lock.data()), GlobalSize(data));
}

} // namespace

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

bool Source::Start(const std::string& mode, const std::u16string& text, int start, int end) {
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
        if (!out || !WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                               nullptr))
            return Fail("cannot write the text");
    }
    std::string line = "\"" + HelperDir() + "selection_source.exe\" " + mode + " \"@" + file + "\"";
    if (start != -2) line += " " + std::to_string(start) + " " + std::to_string(end);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
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

Source::~Source() {
    if (process_) {
        TerminateProcess(process_.get(), 0);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool Source::Fail(const char* why) {
    std::fprintf(stderr, "selection_source.exe: %s\n", why);
    return false;
}

LRESULT Source::Copies() const {
    return e2e::Send(wnd_, WM_APP);
}
