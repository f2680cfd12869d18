/* Start-up probe: starts a dialog program, measures the time until its window (class
   "#32770" with the given title) is visible and answers a sent message, then closes it and
   measures the time from the close request to the end of the process.
   Usage: startup_probe EXE TITLE CLOSE_COMMAND  (CLOSE_COMMAND 0 sends WM_CLOSE)
   Prints "START_MS EXIT_MS", or -1 for a time-out. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

typedef struct {
    DWORD pid;
    const char* title;
    HWND found;
} Query;

static BOOL CALLBACK Find(HWND wnd, LPARAM lp) {
    Query* q = (Query*)lp;
    DWORD pid = 0;
    char text[64] = {0}, cls[16] = {0};
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != q->pid || !IsWindowVisible(wnd)) return TRUE;
    GetClassNameA(wnd, cls, sizeof cls);
    GetWindowTextA(wnd, text, sizeof text);
    if (strcmp(cls, "#32770") || strcmp(text, q->title)) return TRUE;
    q->found = wnd;
    return FALSE;
}

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi;
    LARGE_INTEGER freq, start, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(argv[1], NULL, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return 3;
    Query q = {pi.dwProcessId, argv[2], NULL};
    double ms = -1, exitMs = -1;
    for (int i = 0; i < 2000 && !q.found; ++i) {
        EnumWindows(Find, (LPARAM)&q);
        if (!q.found) Sleep(1);
    }
    DWORD_PTR r;
    if (q.found && SendMessageTimeoutA(q.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r)) {
        QueryPerformanceCounter(&now);
        ms = (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)freq.QuadPart;
        const int cmd = atoi(argv[3]);
        QueryPerformanceCounter(&start);
        if (cmd)
            PostMessageA(q.found, WM_COMMAND, cmd, 0);
        else
            PostMessageA(q.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
    } else if (ms >= 0) {
        QueryPerformanceCounter(&now);
        exitMs = (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)freq.QuadPart;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    printf("%.1f %.1f\n", ms, exitMs);
    return ms < 0;
}
