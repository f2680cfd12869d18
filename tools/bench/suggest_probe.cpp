// Suggestion latency probe: starts vantu.exe in a program folder whose first engine asks a
// server of the probe's own on 127.0.0.1, then, run after run, empties the keyword box, types
// one letter with SendInput and measures the time until the drop-down shows the server's
// suggestions (the 100 ms the bar waits after the last keystroke included).
// Usage: suggest_probe PROGRAM_DIR RUNS    Prints each run in ms, then "median X".
#include <winsock2.h> // before windows.h, as the server's header needs

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/http_server.h"

namespace {

double Ms(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(f.QuadPart);
}

struct Found {
    DWORD pid;
    HWND bar;
    HWND list;
};

BOOL CALLBACK FindBar(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    char cls[16] = {}, title[16] = {};
    GetWindowThreadProcessId(w, &pid);
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    if (pid == f->pid && IsWindowVisible(w) && !strcmp(cls, "#32770") && !strcmp(title, "Morvel"))
        f->bar = w;
    return f->bar == nullptr;
}

// The drop-down while it shows at least `rows` rows.
BOOL CALLBACK FindList(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (GetWindow(w, GW_OWNER) == f->bar && IsWindowVisible(w) && !_stricmp(cls, "ListBox"))
        f->list = w;
    return f->list == nullptr;
}

void Type(WORD vk) {
    INPUT in[2] = {};
    for (int i = 0; i < 2; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = vk;
        in[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, in, sizeof(INPUT));
}

bool WriteFile(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string dir = std::string(argv[1]) + "\\";
    const int runs = std::atoi(argv[2]);
    HttpServer server;
    if (!server.Listening()) return 3;
    server.Answer("[\"a\",[\"ab\",\"abc\",\"abcd\"]]");
    const std::wstring url = server.Url(L"/s?q={searchTerms}");
    // The bundled file's first engine asks the probe's server (ASCII: a plain narrowing).
    if (!WriteFile(dir + "\x95\x57\x8F\x80.sef.txt", // 標準.sef.txt in code page 932
                   "[1]\r\nname=Google\r\nsuggest=" + std::string(url.begin(), url.end()) +
                       "\r\n") ||
        !WriteFile(dir + "vantu.ini", "[Search]\r\nSuggest=1\r\nSuggestTold=1\r\n"
                                      "[Window]\r\nTrayMode=1\r\n"))
        return 4;
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi;
    std::string exe = dir + "vantu.exe";
    if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &pi))
        return 5;
    Found f = {pi.dwProcessId, nullptr, nullptr};
    for (int i = 0; i < 5000 && !f.bar; ++i) {
        EnumWindows(FindBar, reinterpret_cast<LPARAM>(&f));
        if (!f.bar) Sleep(2);
    }
    if (!f.bar) return 6;
    HWND box = GetDlgItem(f.bar, 1001);
    std::vector<double> times;
    for (int run = 0; run < runs + 1; ++run) { // the first run warms up
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        for (int i = 0; i < 100 && GetForegroundWindow() != f.bar; ++i) {
            SetForegroundWindow(f.bar);
            Sleep(20);
        }
        Sleep(300); // the empty box's drop-down has gone, no request in flight
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        Type('A');
        double ms = -1;
        for (;;) {
            QueryPerformanceCounter(&now);
            if (Ms(start, now) > 3000) break;
            f.list = nullptr;
            EnumWindows(FindList, reinterpret_cast<LPARAM>(&f));
            if (f.list && SendMessageA(f.list, LB_GETCOUNT, 0, 0) >= 4) {
                ms = Ms(start, now);
                break;
            }
            Sleep(1);
        }
        if (run > 0) times.push_back(ms);
        std::printf("%s%.1f", run == 0 ? "warm-up " : (run == 1 ? "\nruns (ms): " : " "), ms);
    }
    PostMessageA(f.bar, WM_COMMAND, 40001, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("\nmedian %.1f ms of %zu (%zu requests reached the server)\n", median, n,
                server.RequestLines().size());
    return 0;
}
