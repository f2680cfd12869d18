/* Baseline for the start-up benchmark: the smallest modal dialog program, built the same
   way as vantu (MinGW, static, stripped), with a dialog of the search bar's size. */
#include <windows.h>

static INT_PTR CALLBACK BaselineProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndDialog(wnd, 0);
        return TRUE;
    case WM_CLOSE:
        EndDialog(wnd, 0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show) {
    (void)prev;
    (void)cmd;
    (void)show;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(100), NULL, BaselineProc, 0);
    return 0;
}
