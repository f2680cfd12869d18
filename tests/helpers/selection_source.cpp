// A program with a selection, for the tests of taking another program's selection. It shows
// one window titled "Selection Source" until it is closed or ended:
//
//   selection_source.exe MODE [TEXT [START END]]
//
//   edit      a multi-line edit control holding TEXT, the UTF-16 units [START, END) selected
//             (all of it when not given), with the focus
//   richedit  the same in a rich edit control (RICHEDIT50W, else RichEdit20W), START and END
//             as the control counts (a line break is one position)
//   password  a single-line password box holding TEXT, all of it selected, with the focus
//   copy      a window without an edit control: Ctrl+C (with neither Shift, Alt nor Win down)
//             puts TEXT on the clipboard as CF_UNICODETEXT, and nothing else
//   none      a window without an edit control that has nothing selected: Ctrl+C copies nothing
//
//   TEXT      the text itself, as the wide command line gives it, or @PATH: a file of UTF-8
//             text (UTF-16LE when it begins with FF FE)
//
// Every window answers WM_APP (sent) with the number of Ctrl+C presses it has seen.
#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <string>

#include "platform/handles.h"

namespace {

constexpr wchar_t kTitle[] = L"Selection Source";
constexpr UINT kCopyCountMessage = WM_APP;

struct Source {
    std::wstring mode, text;
    int start = 0, end = -1;
    HWND edit = nullptr;
    LRESULT copies = 0;
} g_source;

bool ReadText(const std::wstring& argument, std::wstring& text) {
    if (argument.empty() || argument[0] != L'@') {
        text = argument;
        return true;
    }
    UniqueFile file(CreateFileW(argument.c_str() + 1, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr))
        return false;
    bytes.resize(read);
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        text.assign((bytes.size() - 2) / 2, L'\0');
        if (!text.empty()) std::memcpy(&text[0], bytes.data() + 2, text.size() * 2);
        return true;
    }
    text.assign(bytes.size(), L'\0');
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                            text.empty() ? nullptr : &text[0], static_cast<int>(text.size()));
    text.resize(n > 0 ? n : 0);
    return true;
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
    ClipboardSession clipboard;
    if (!clipboard.Open(owner) || !EmptyClipboard()) return;
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    {
        const GlobalLockScope lock(memory.get());
        if (!lock.data()) return;
        std::memcpy(lock.data(), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFOCUS:
        if (g_source.edit) SetFocus(g_source.edit);
        return 0;
    case WM_KEYDOWN:
        if (wParam == 'C' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 &&
            GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_LWIN) >= 0 && GetKeyState(VK_RWIN) >= 0) {
            ++g_source.copies;
            if (g_source.mode == L"copy") PutOnClipboard(wnd, g_source.text);
        }
        return 0;
    case kCopyCountMessage:
        return g_source.copies;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

HWND MakeEdit(HWND parent, const wchar_t* cls, DWORD style) {
    RECT r = {};
    GetClientRect(parent, &r);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, cls, nullptr, WS_CHILD | WS_VISIBLE | style, 0, 0,
                                r.right, r.bottom, parent, nullptr, nullptr, nullptr);
    if (!edit) return nullptr;
    SetWindowTextW(edit, g_source.text.c_str());
    SendMessageW(edit, EM_SETSEL, g_source.start, g_source.end);
    SetFocus(edit);
    return edit;
}

} // namespace

int main() {
    int argc = 0;
    struct ArgvTraits {
        using Handle = wchar_t**;
        static Handle Invalid() { return nullptr; }
        static void Close(Handle h) { LocalFree(h); }
    };
    UniqueHandle<ArgvTraits> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    if (!argv || argc < 2) return 2;
    g_source.mode = argv.get()[1];
    if (argc > 2 && !ReadText(argv.get()[2], g_source.text)) return 3;
    if (argc > 4) {
        g_source.start = _wtoi(argv.get()[3]);
        g_source.end = _wtoi(argv.get()[4]);
    }

    UniqueModule richLibrary;
    const wchar_t* richClass = L"RICHEDIT50W";
    if (g_source.mode == L"richedit") {
        richLibrary.reset(LoadLibraryW(L"msftedit.dll"));
        if (!richLibrary) {
            richLibrary.reset(LoadLibraryW(L"riched20.dll"));
            richClass = L"RichEdit20W";
        }
    }

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"MorvelSelectionSource";
    if (!RegisterClassW(&wc)) return 4;
    UniqueWindow wnd(CreateWindowExW(0, wc.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     100, 100, 480, 240, nullptr, nullptr, wc.hInstance, nullptr));
    if (!wnd) return 4;
    const DWORD multiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_VSCROLL;
    if (g_source.mode == L"edit")
        g_source.edit = MakeEdit(wnd.get(), L"Edit", multiLine);
    else if (g_source.mode == L"richedit")
        g_source.edit = MakeEdit(wnd.get(), richClass, multiLine);
    else if (g_source.mode == L"password")
        g_source.edit = MakeEdit(wnd.get(), L"Edit", ES_PASSWORD | ES_AUTOHSCROLL);
    else if (g_source.mode != L"copy" && g_source.mode != L"none")
        return 2;
    if (g_source.edit == nullptr && g_source.mode != L"copy" && g_source.mode != L"none") return 5;
    SetForegroundWindow(wnd.get());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    wnd.release(); // destroyed already: WM_DESTROY ended the loop
    return 0;
}
