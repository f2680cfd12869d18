// Page IE連携 of the settings sheet: the browser's context-menu item "Morvel", which
// needs Pelka.dll registered and the browser's menu extension key of the current user,
// and the same item in Chrome, Edge and Firefox through the browser host's registration.
#pragma once
#include <windows.h>

#include "platform/menu_ext_registration.h"
#include "ui/settings/page_helpers.h"

struct MenuExtPage {
    SettingsSheetShared* sheet = nullptr;
    bool hostRegistered = false; // what the registry held when the page opened
};

INT_PTR CALLBACK MenuExtPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

// Registration with its messages, owned by `owner` (the registration itself is in
// platform/menu_ext_registration.h and platform/native_host_registration.h).
//
// Loads Pelka.dll from the program directory and calls its DllRegisterServer (register) or
// DllUnregisterServer; a failure shows its message and gives false.
bool CallBridgeRegistration(HWND owner, const wchar_t* programDir, bool registerIt);
// On: registers Pelka.dll, then writes the menu key with its three values. Off: unregisters
// Pelka.dll (a failure is reported but does not stop) and deletes the key.
void SetMenuExtension(HWND owner, const wchar_t* programDir, bool on);
// Registers (on) or unregisters the browser host for the current user; a failure shows
// its message and gives false.
bool SetBrowserHost(HWND owner, const ProgramPaths& paths, bool on);
