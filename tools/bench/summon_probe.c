/* Summon probe: starts a dialog program, then COUNT times minimises its dialog (class
   "#32770" with the given title), waits until it is iconic and the probe's own small window
   is the foreground window, presses the summon key with SendInput and measures the time
   until the dialog is the foreground window, not iconic, with the box of the given id
   focused and its whole text selected. The box is given the same text first whichever the
   program. Closes the program at the end.
   Usage: summon_probe EXE TITLE BOX_ID KEY COUNT CLOSE_COMMAND [ARGUMENT]
   KEY is the hotkey control's value (low byte: virtual key, high byte: HOTKEYF_*);
   CLOSE_COMMAND 0 sends WM_CLOSE; ARGUMENT goes on the program's command line.
   Prints the COUNT times in ms on one line, -1 for a time-out. */
#include <windows.h>
#include <commctrl.h>
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

static double Ms(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)freq.QuadPart;
}

/* Handles the probe's own messages, then waits for more for at most a millisecond. */
static void Pump(void) {
    MSG m;
    while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
}

static void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) Pump();
}

static void PressKey(UINT value) {
    const UINT hot = value >> 8;
    UINT keys[4];
    int n = 0;
    if (hot & HOTKEYF_CONTROL) keys[n++] = VK_CONTROL;
    if (hot & HOTKEYF_ALT) keys[n++] = VK_MENU;
    if (hot & HOTKEYF_SHIFT) keys[n++] = VK_SHIFT;
    keys[n++] = value & 0xFF;
    INPUT in[8];
    ZeroMemory(in, sizeof in);
    for (int i = 0; i < n; ++i) {
        INPUT* down = &in[i];
        INPUT* up = &in[2 * n - 1 - i];
        down->type = up->type = INPUT_KEYBOARD;
        down->ki.wVk = up->ki.wVk = (WORD)keys[i];
        down->ki.wScan = up->ki.wScan = (WORD)MapVirtualKeyA(keys[i], 0);
        up->ki.dwFlags = KEYEVENTF_KEYUP;
        if (i == n - 1 && (hot & HOTKEYF_EXT)) {
            down->ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            up->ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        }
    }
    SendInput(2 * n, in, sizeof(INPUT));
}

static int Summoned(HWND dlg, HWND box, DWORD thread) {
    if (GetForegroundWindow() != dlg || IsIconic(dlg)) return 0;
    GUITHREADINFO gui;
    ZeroMemory(&gui, sizeof gui);
    gui.cbSize = sizeof gui;
    if (!GetGUIThreadInfo(thread, &gui) || gui.hwndFocus != box) return 0;
    DWORD_PTR sel = 0, length = 0;
    if (!SendMessageTimeoutA(box, EM_GETSEL, 0, 0, SMTO_NORMAL, 1000, &sel)) return 0;
    if (!SendMessageTimeoutA(box, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length)) return 0;
    return LOWORD(sel) == 0 && HIWORD(sel) == length;
}

/* Minimised, with the probe's window in front: 1 when reached within five seconds. */
static int Minimise(HWND dlg, HWND own) {
    PostMessageA(dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    const DWORD start = GetTickCount();
    DWORD asked = 0;
    while (GetTickCount() - start < 5000) {
        if (IsIconic(dlg)) {
            if (GetForegroundWindow() == own) {
                SetFocus(own);
                SendMessageA(own, EM_SETSEL, 0, -1);
                return 1;
            }
            if (GetTickCount() - asked > 50) {
                SetForegroundWindow(own);
                asked = GetTickCount();
            }
        }
        Pump();
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 7) return 2;
    const int boxId = atoi(argv[3]);
    const UINT key = (UINT)strtoul(argv[4], NULL, 0);
    const int count = atoi(argv[5]);
    const int closeCommand = atoi(argv[6]);
    /* An edit with its text selected: the key that brings the selection finds one to take. */
    HWND own = CreateWindowExA(0, "EDIT", "probe", WS_POPUP | WS_VISIBLE | WS_BORDER, 1000, 700,
                               160, 40, NULL, NULL, NULL, NULL);
    char line[1024];
    wsprintfA(line, "\"%s\" %s", argv[1], argc > 7 ? argv[7] : "");
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(argv[1], line, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return 3;
    Query q = {pi.dwProcessId, argv[2], NULL};
    for (int i = 0; i < 5000 && !q.found; ++i) {
        EnumWindows(Find, (LPARAM)&q);
        if (!q.found) Pump();
    }
    DWORD_PTR r;
    int failed = !q.found || !SendMessageTimeoutA(q.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r);
    HWND dlg = q.found, box = failed ? NULL : GetDlgItem(dlg, boxId);
    const DWORD thread = failed ? 0 : GetWindowThreadProcessId(dlg, NULL);
    /* The same text in either box, so that selecting it costs the same. */
    if (box) SendMessageTimeoutA(box, WM_SETTEXT, 0, (LPARAM) "morvel summon", SMTO_NORMAL, 5000, &r);
    PumpFor(500); /* the program's start settles */
    for (int i = 0; i < count && !failed; ++i) {
        double ms = -1;
        if (Minimise(dlg, own)) {
            PumpFor(200); /* the minimise and the activation settle */
            LARGE_INTEGER start, now;
            QueryPerformanceCounter(&start);
            PressKey(key);
            for (;;) {
                QueryPerformanceCounter(&now);
                if (Summoned(dlg, box, thread)) {
                    ms = Ms(start, now); /* when the look that found it done began */
                    break;
                }
                if (Ms(start, now) > 5000) break;
                Pump();
            }
        }
        printf(i ? " %.1f" : "%.1f", ms);
        if (ms < 0) failed = 1;
    }
    printf("\n");
    if (dlg) {
        if (closeCommand)
            PostMessageA(dlg, WM_COMMAND, closeCommand, 0);
        else
            PostMessageA(dlg, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DestroyWindow(own);
    return failed;
}
