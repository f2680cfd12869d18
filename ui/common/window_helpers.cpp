#include "ui/common/window_helpers.h"

#include "protocol/bar_protocol.h"

int ShowMessage(HWND owner, const char* text, UINT flags) {
    return MessageBoxA(owner, text, MORVEL_TITLE, flags);
}

void ShowHelp(HWND owner, const char* helpPath, UINT command, DWORD data) {
    WinHelpA(owner, helpPath, command, data);
}
