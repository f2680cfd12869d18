#include "ui/common/window_helpers.h"

#include "platform/win_text.h"
#include "protocol/bar_protocol.h"

int ShowMessage(HWND owner, const wchar_t* text, UINT flags) {
    return MessageBoxW(owner, text, L"" MORVEL_TITLE, flags);
}

void ShowHelp(HWND owner, const wchar_t* helpPath, UINT command, DWORD data) {
    WinHelpW(owner, helpPath, command, data);
}

void SetSjisText(HWND wnd, std::string_view sjis) {
    SetWindowTextW(wnd, FromSjis<1024>(sjis).c_str());
}

void SetItemSjis(HWND dlg, int id, std::string_view sjis) {
    SetSjisText(GetDlgItem(dlg, id), sjis);
}

bool ItemSjis(HWND dlg, int id, char* out, size_t size) {
    if (size == 0) return false;
    wchar_t text[1024] = {};
    GetDlgItemTextW(dlg, id, text, 1024);
    FixedText<1024> sjis;
    const bool said = WideToSjis(View(text), sjis);
    CopyBounded(out, size, sjis.c_str(), sjis.size());
    return said;
}
