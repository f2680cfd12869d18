#include "platform/selection_grab.h"

#include <cstring>
#include <string_view>

#include "platform/handles.h"

namespace {

constexpr DWORD kEditBudgetMs = 200;     // asking the focused edit control, all messages
constexpr DWORD kCopyBudgetMs = 500;     // the copy command, from the snapshot to the restore
constexpr DWORD kRestoreReserveMs = 100; // of which reading and restoring keep at least this
constexpr DWORD kPollMs = 5;
constexpr size_t kMaxEditText = 65534; // EM_GETSEL's two words say positions up to here
constexpr size_t kMaxKeptFormats = 64;
constexpr WORD kMaskKey = 0xE8; // unassigned: keeps an Alt or Win release from being a tap

class Deadline {
  public:
    explicit Deadline(DWORD ms) : start_(GetTickCount()), ms_(ms) {}
    DWORD Left() const {
        const DWORD spent = GetTickCount() - start_;
        return spent >= ms_ ? 0 : ms_ - spent;
    }

  private:
    DWORD start_, ms_;
};

bool ClassIs(HWND wnd, const wchar_t* const* names, size_t count) {
    wchar_t cls[64] = {};
    if (!GetClassNameW(wnd, cls, 64)) return false;
    for (size_t i = 0; i < count; ++i)
        if (CompareStringOrdinal(cls, -1, names[i], -1, TRUE) == CSTR_EQUAL) return true;
    return false;
}

enum class EditKind { None, Plain, Rich };

EditKind KindOf(HWND wnd) {
    static const wchar_t* const plain[] = {L"Edit"};
    // Rich edit 1.0 ("RichEdit") counts a paragraph's CR LF as two positions: left to the copy.
    static const wchar_t* const rich[] = {L"RichEdit20A", L"RichEdit20W", L"RICHEDIT50W",
                                          L"RICHEDIT60W"};
    if (ClassIs(wnd, plain, 1)) return EditKind::Plain;
    if (ClassIs(wnd, rich, sizeof rich / sizeof *rich)) return EditKind::Rich;
    return EditKind::None;
}

// Windows where Ctrl+C interrupts what runs there rather than copying.
bool IsTerminal(HWND wnd) {
    static const wchar_t* const terminals[] = {
        L"ConsoleWindowClass", L"CASCADIA_HOSTING_WINDOW_CLASS", L"PuTTY", L"mintty"};
    return ClassIs(wnd, terminals, sizeof terminals / sizeof *terminals);
}

bool Ask(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, const Deadline& deadline,
         DWORD_PTR& result) {
    const DWORD left = deadline.Left();
    result = 0;
    return left && SendMessageTimeoutW(wnd, msg, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                       left, &result) != 0;
}

enum class EditRead { Taken, Nothing, UseCopy };

// The unit of the text where position pos is: a rich edit counts the CR LF that WM_GETTEXT
// gives for a paragraph's end as one position.
size_t UnitAt(std::u16string_view text, size_t pos, bool rich) {
    size_t unit = 0;
    for (size_t p = 0; p < pos && unit < text.size(); ++p)
        unit += rich && text[unit] == u'\r' && unit + 1 < text.size() && text[unit + 1] == u'\n'
                    ? 2
                    : 1;
    return unit < text.size() ? unit : text.size();
}

EditRead ReadEdit(HWND edit, bool rich, WideKeyword& out) {
    const Deadline deadline(kEditBudgetMs);
    // A password box, also one made so by EM_SETPASSWORDCHAR (which sets the style), gives
    // nothing. Two questions only, each a round trip to the other program: the selection, then
    // the text up to its end.
    if (GetWindowLongPtrW(edit, GWL_STYLE) & ES_PASSWORD) return EditRead::Nothing;
    DWORD_PTR answer = 0;
    if (!Ask(edit, EM_GETSEL, 0, 0, deadline, answer)) return EditRead::Nothing;
    // A position beyond what the two words say: the copy takes it instead.
    if (static_cast<DWORD>(answer) == 0xFFFFFFFFu) return EditRead::UseCopy;
    size_t start = LOWORD(answer), end = HIWORD(answer);
    if (start > end) {
        const size_t swap = start;
        start = end;
        end = swap;
    }
    if (start == end) return EditRead::Nothing;
    // EM_GETSEL's words cannot place a selection that ends at their limit or beyond.
    if (end >= kMaxEditText) return EditRead::UseCopy;
    // A rich edit counts a CR LF as one position: the text up to the end may hold twice as
    // many units.
    const size_t length = rich ? 2 * end : end;

    UniqueHeapBlock block = AllocateHeapBlock((length + 1) * sizeof(wchar_t));
    if (!block) return EditRead::Nothing;
    auto* text = static_cast<wchar_t*>(block.get());
    text[0] = L'\0';
    if (!Ask(edit, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text), deadline, answer))
        return EditRead::Nothing;
    const size_t copied = answer < length ? answer : length;
    const std::u16string_view whole(reinterpret_cast<const char16_t*>(text), copied);
    const size_t first = UnitAt(whole, start, rich), last = UnitAt(whole, end, rich);
    KeywordFromSelectedText(std::u16string_view(whole.data() + first, last - first),
                            kMessageKeywordLimit, out);
    return out.empty() ? EditRead::Nothing : EditRead::Taken;
}

// ---- the clipboard as it was -----------------------------------------------------------------

struct KeptFormat {
    UINT format = 0;
    UniqueGlobal memory;
    UniqueGdiObject bitmap;
    UniqueEnhMetaFile metafile;
};

UniqueGlobal CopyGlobal(HANDLE data) {
    const SIZE_T size = data ? GlobalSize(data) : 0;
    if (!size) return UniqueGlobal();
    const GlobalLockScope source(data);
    if (!source.data()) return UniqueGlobal();
    UniqueGlobal copy(GlobalAlloc(GMEM_MOVEABLE, size));
    const GlobalLockScope target(copy.get());
    if (!target.data()) return UniqueGlobal();
    std::memcpy(target.data(), source.data(), size);
    return copy;
}

// Copies one format of the open clipboard into kept; false for a format that cannot be kept:
// handles of the system's objects but a bitmap and an enhanced metafile, what the owner
// draws itself, and data that could not be had (a delayed rendering that failed).
bool KeepFormat(UINT format, KeptFormat& kept) {
    kept.format = format;
    switch (format) {
    case CF_OWNERDISPLAY:
    case CF_PALETTE:
    case CF_METAFILEPICT: // holds a metafile handle; made again from an enhanced metafile
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
        return false;
    case CF_BITMAP:
        if (HANDLE data = GetClipboardData(format))
            kept.bitmap.reset(CopyImage(data, IMAGE_BITMAP, 0, 0, 0));
        return static_cast<bool>(kept.bitmap);
    case CF_ENHMETAFILE:
        if (HANDLE data = GetClipboardData(format))
            kept.metafile.reset(CopyEnhMetaFile(static_cast<HENHMETAFILE>(data), nullptr));
        return static_cast<bool>(kept.metafile);
    default:
        break;
    }
    if ((format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
        (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST))
        return false; // whatever their owner makes of them, not memory the system frees
    kept.memory = CopyGlobal(GetClipboardData(format));
    return static_cast<bool>(kept.memory);
}

class ClipboardSnapshot {
  public:
    // Keeps every format of the open clipboard that can be kept; false when there are more
    // than it has room for (the clipboard must then not be touched).
    bool Take() {
        for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
            if (count_ == kMaxKeptFormats) return false;
            if (KeepFormat(format, formats_[count_])) ++count_;
        }
        return true;
    }
    // Empties the open clipboard and puts back what was kept; the system takes each piece.
    void Restore() {
        if (!EmptyClipboard()) return;
        for (size_t i = 0; i < count_; ++i) {
            KeptFormat& k = formats_[i];
            if (k.memory && SetClipboardData(k.format, k.memory.get())) k.memory.release();
            if (k.bitmap && SetClipboardData(k.format, k.bitmap.get())) k.bitmap.release();
            if (k.metafile && SetClipboardData(k.format, k.metafile.get())) k.metafile.release();
        }
    }

  private:
    KeptFormat formats_[kMaxKeptFormats];
    size_t count_ = 0;
};

// Opens the clipboard, retried while another program holds it, until only reserveMs are left.
bool OpenWithin(ClipboardSession& clipboard, HWND owner, const Deadline& deadline,
                DWORD reserveMs) {
    while (!clipboard.Open(owner)) {
        if (deadline.Left() <= reserveMs) return false;
        Sleep(kPollMs);
    }
    return true;
}

void AddKey(INPUT* inputs, size_t& n, WORD vk, bool up) {
    INPUT& in = inputs[n++];
    in = INPUT();
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    const bool extended = vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
}

// Releases the modifiers that are down (the hot key's and any other, each would change what
// Ctrl+C means) and presses Ctrl+C, as one input sequence. An Alt or Win released on its own
// would open the menu bar or the Start menu: an unassigned key goes between.
void SendCopyKeys(unsigned modifiers) {
    static const WORD held[] = {VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT,
                                VK_LMENU,    VK_RMENU,    VK_LWIN,   VK_RWIN};
    INPUT inputs[sizeof held / sizeof *held + 6];
    size_t n = 0;
    bool mask = (modifiers & (MOD_ALT | MOD_WIN)) != 0;
    for (const WORD vk : held)
        if ((GetAsyncKeyState(vk) & 0x8000) &&
            (vk == VK_LMENU || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN))
            mask = true;
    if (mask) {
        AddKey(inputs, n, kMaskKey, false);
        AddKey(inputs, n, kMaskKey, true);
    }
    for (const WORD vk : held)
        if (GetAsyncKeyState(vk) & 0x8000) AddKey(inputs, n, vk, true);
    AddKey(inputs, n, VK_CONTROL, false);
    AddKey(inputs, n, 'C', false);
    AddKey(inputs, n, 'C', true);
    AddKey(inputs, n, VK_CONTROL, true);
    SendInput(static_cast<UINT>(n), inputs, sizeof(INPUT));
}

void ReadClipboardText(WideKeyword& out) {
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const SIZE_T size = data ? GlobalSize(data) : 0;
    const GlobalLockScope lock(size ? data : nullptr);
    if (!lock.data()) return;
    KeywordFromSelectedText(
        std::u16string_view(static_cast<const char16_t*>(lock.data()), size / sizeof(char16_t)),
        kMessageKeywordLimit, out);
}

GrabResult GrabByCopy(unsigned modifiers, WideKeyword& out) {
    const Deadline deadline(kCopyBudgetMs);
    // The clipboard's owner while it is restored: SetClipboardData needs one.
    UniqueWindow owner(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       nullptr, nullptr));
    if (!owner) return GrabResult::Nothing;
    ClipboardSnapshot snapshot;
    DWORD sequence = 0;
    {
        ClipboardSession clipboard;
        if (!OpenWithin(clipboard, owner.get(), deadline, kRestoreReserveMs) || !snapshot.Take())
            return GrabResult::Nothing;
        sequence = GetClipboardSequenceNumber();
    }
    SendCopyKeys(modifiers);
    while (GetClipboardSequenceNumber() == sequence) {
        if (deadline.Left() <= kRestoreReserveMs) return GrabResult::Nothing;
        Sleep(kPollMs);
    }
    ClipboardSession clipboard;
    if (!OpenWithin(clipboard, owner.get(), deadline, 0)) return GrabResult::Nothing;
    ReadClipboardText(out);
    snapshot.Restore();
    return out.empty() ? GrabResult::Nothing : GrabResult::Taken;
}

} // namespace

GrabResult GrabSelection(HWND foreground, unsigned modifiers, WideKeyword& out) {
    out.clear();
    if (!foreground || !IsWindow(foreground)) return GrabResult::Nothing;
    const DWORD thread = GetWindowThreadProcessId(foreground, nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) {
        const EditKind kind = KindOf(info.hwndFocus);
        if (kind != EditKind::None) {
            switch (ReadEdit(info.hwndFocus, kind == EditKind::Rich, out)) {
            case EditRead::Taken:
                return GrabResult::Taken;
            case EditRead::Nothing:
                out.clear();
                return GrabResult::Nothing;
            case EditRead::UseCopy:
                break;
            }
        }
    }
    // Keys go to whatever has the foreground: never to another window than the one named, nor
    // to this thread, which does not answer while it waits.
    if (IsTerminal(foreground) || thread == GetCurrentThreadId() ||
        GetForegroundWindow() != foreground)
        return GrabResult::Nothing;
    return GrabByCopy(modifiers, out);
}
