// A stand-in for vantu.exe in the bridge's tests: a hidden top-level window of the dialog
// class titled "Morvel" that writes every message the bridge sends to "standin.log" beside
// this program, and shows itself only on WM_APP_ACTIVATE. The first line records how it
// was started (STARTUPINFO flags and show state). WM_CLOSE ends it; so does a minute and a
// half without one.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/handles.h"
#include "protocol/bar_protocol.h"

namespace {

char g_log[MAX_PATH];
WNDPROC g_dialogProc = nullptr;

void Log(const std::string& line) {
    UniqueFile file(CreateFileA(g_log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Hex(const void* data, size_t size) {
    std::string out;
    const auto* p = static_cast<const unsigned char*>(data);
    char b[4];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(b, sizeof b, "%02X", p[i]);
        out += b;
    }
    return out;
}

LRESULT CALLBACK StandInProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    char line[128];
    switch (msg) {
    case WM_COPYDATA: {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        std::snprintf(line, sizeof line, "copydata wparam=%llu data=%llu cb=%lu hex=",
                      static_cast<unsigned long long>(wParam),
                      static_cast<unsigned long long>(cds->dwData), cds->cbData);
        Log(line + Hex(cds->lpData, cds->cbData));
        return FALSE;
    }
    case WM_COMMAND:
        std::snprintf(line, sizeof line, "command %llu %lld",
                      static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
        Log(line);
        return TRUE;
    case WM_APP_SETOPTION:
        std::snprintf(line, sizeof line, "setoption %llu %lld",
                      static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
        Log(line);
        return FALSE;
    case WM_APP_ACTIVATE:
        std::snprintf(line, sizeof line, "activate visible=%d", IsWindowVisible(wnd) ? 1 : 0);
        Log(line);
        ShowWindow(wnd, SW_RESTORE);
        SetForegroundWindow(wnd);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(wnd);
        return 0;
    case WM_TIMER:
        DestroyWindow(wnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return CallWindowProcA(g_dialogProc, wnd, msg, wParam, lParam);
    }
}

} // namespace

int main() {
    const DWORD len = GetModuleFileNameA(nullptr, g_log, sizeof g_log);
    if (len == 0 || len >= sizeof g_log) return 1;
    char* name = g_log + len;
    while (name > g_log && name[-1] != '\\')
        --name;
    // A byte-wise search is enough here: the tests' directories end in an ASCII name.
    const char logName[] = "standin.log";
    if (static_cast<size_t>(name - g_log) + sizeof logName > sizeof g_log) return 1;
    std::memcpy(name, logName, sizeof logName);

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    char line[96];
    std::snprintf(line, sizeof line, "start flags=%lu show=%u", si.dwFlags, si.wShowWindow);
    Log(line);

    HWND wnd =
        CreateWindowExA(0, MORVEL_BAR_CLASS, MORVEL_TITLE, WS_POPUP | WS_CAPTION | WS_SYSMENU, 100,
                        100, 240, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!wnd) return 1;
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandInProc)));
    SetTimer(wnd, 1, 90000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
