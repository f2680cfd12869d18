// The search bar as other programs see it: how to find its window and the messages it takes.
// vantu.exe, Pelka.dll, morvel-host.exe, the test programs and the resource scripts all take
// these from here. Header only, no Windows needed.
#pragma once

// The bar is a dialog (the system's dialog class) with this title; the program's message
// boxes carry the same caption.
#define MORVEL_BAR_CLASS "#32770"
#define MORVEL_TITLE "Morvel"

// Messages the bar accepts (WM_APP + 100, + 200, + 300).
#define WM_APP_TRAYNOTIFY (0x8000 + 100) // the tray icon's callback
#define WM_APP_ACTIVATE (0x8000 + 200)   // bring the bar (or the dialog in front of it) forward
#define WM_APP_SETOPTION (0x8000 + 300)  // LOWORD(wParam): an option code, HIWORD: its value

// WM_COMMAND identifiers that other programs may send: engine file n, history item n,
// engine entry n (which searches).
#define IDM_ENGINE_FILE_FIRST 40100 // + engine file n (0..31)
#define IDM_ENGINE_FILE_LAST 40131
#define IDM_HISTORY_FIRST 40200 // + history item n (0..49)
#define IDM_HISTORY_LAST 40249
#define IDM_ENGINE_FIRST 40300 // + engine entry n

#ifndef RC_INVOKED
namespace bar_protocol {

// The option codes of WM_APP_SETOPTION.
constexpr unsigned kOptionMode = 0;   // value: the mode's list item (0 all words, 1 any word)
constexpr unsigned kOptionEngine = 1; // value: the engine's index in the active set
constexpr unsigned kOptionSearch = 2; // runs the search as the bar shows it

// dwData of WM_COPYDATA: the kind of text that lpData holds, never read beyond its cbData
// bytes; the text ends at its first NUL or with the data. The bar takes the first 119 bytes of
// it as Shift-JIS counts them (characters that Shift-JIS cannot say count two bytes for each
// UTF-16 unit), never half a character, selects it in the keyword box and runs no search.
constexpr unsigned long kCopyDataShiftJis = 0;       // Shift-JIS (also every value not listed here)
constexpr unsigned long kCopyDataUtf16 = 0x4D565731; // UTF-16LE ("MVW1"): an odd last byte is
                                                     // left out, a lone surrogate becomes U+FFFD

} // namespace bar_protocol
#endif
