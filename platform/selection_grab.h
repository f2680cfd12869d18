// Taking the selection of another program as the keyword: the focused edit control is asked
// directly; any other window gets the copy command, and the clipboard is put back as it was.
#pragma once
#include <windows.h>

#include "query/keyword.h"

enum class GrabResult { Taken, Nothing };

// The selection of the program whose window `foreground` is, as text (only read, never run
// or opened), made into a keyword as a browser's selection is (KeywordFromSelectedText, at
// most kMessageKeywordLimit). modifiers: the hot key's MOD_* flags (they are still held when
// the key fires).
//
// An edit control (or rich edit 2.0 or later) with the focus is read with messages, each
// answered within 200 ms or given up; a password box gives nothing, and so does an empty
// selection there. Any other window gets Ctrl+C, sent as input, once the held modifiers are
// released, and only while `foreground` is still the foreground window and belongs to
// another thread; consoles and terminals, where Ctrl+C interrupts, get nothing. The clipboard
// is kept (every format it can keep) and restored after the copy; the whole takes at most
// 500 ms, and when nothing was copied by then, or the clipboard could not be opened, it is
// left untouched.
GrabResult GrabSelection(HWND foreground, unsigned modifiers, WideKeyword& out);
