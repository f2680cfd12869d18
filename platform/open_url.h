// Hands a composed search URL to the configured browser or to the system's association.
#pragma once
#include <windows.h>

// Starts the browser (a program path, at most MAX_PATH bytes; empty for none) with the URL as
// its one argument, or opens the URL with the verb "open" when no browser is set. On failure shows
// "URLのオープンに失敗しました" (caption "Morvel", error icon) owned by owner. Returns whether the
// start succeeded.
bool OpenUrl(const char* url, const char* browser, HWND owner);
// The same for a URL in UTF-16 (a keyword that Shift-JIS cannot say, on an engine without
// encoding): the URL reaches the browser as it is.
bool OpenWideUrl(const char16_t* url, const char* browser, HWND owner);
