// Hands a composed search URL to the configured browser or to the system's association.
#pragma once
#include <windows.h>

// Starts g_settings.Browser with the URL as its one argument, or opens the URL with the
// verb "open" when no browser is set. On failure shows "URLのオープンに失敗しました"
// (caption "Morvel", error icon) owned by owner. Returns whether the start succeeded.
bool OpenUrl(const char* url, HWND owner);
