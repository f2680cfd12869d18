// Page IE連携 of the settings sheet: the browser's context-menu item "Morvel", which
// needs Pelka.dll registered and the browser's menu extension key of the current user,
// and the same item in Chrome, Edge and Firefox through the browser host's registration.
#pragma once
#include <windows.h>

#include "ui/settings/page_helpers.h"

struct MenuExtPage {
    SettingsSheetShared* sheet = nullptr;
    bool hostRegistered = false; // what the registry held when the page opened
};

INT_PTR CALLBACK MenuExtPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

// The key under HKEY_CURRENT_USER whose presence means the menu item is on.
#define MORVEL_MENU_EXT_KEY "Software\\Microsoft\\Internet Explorer\\MenuExt\\Morvel"

// Whether the menu extension key exists.
bool IsMenuExtensionPresent();
// On: registers Pelka.dll, then writes the key with its three values. Off: unregisters
// Pelka.dll (a failure is reported but does not stop) and deletes the key. Messages are
// owned by `owner`.
void SetMenuExtension(HWND owner, const char* programDir, bool on);
// Loads Pelka.dll from the program directory (programDir, with its trailing backslash) and calls
// its DllRegisterServer (register) or DllUnregisterServer; a failure shows its message and gives
// false.
bool CallBridgeRegistration(HWND owner, const char* programDir, bool registerIt);
// The same without a word.
enum class BridgeCall { kOk, kMissing, kOleFailed, kLoadFailed, kNoEntry, kFailed };
BridgeCall CallBridgeEntry(const char* programDir, bool registerIt);
// Whether the bridge's class is registered to the Pelka.dll beside this program.
bool IsBridgeRegisteredFrom(const char* programDir);
// The key whose default value names the library that serves the bridge's class.
#define MORVEL_BRIDGE_SERVER_KEY "CLSID\\{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}\\InprocServer32"
// The key's part without the bridge: written with the address of the script in the
// library beside the program (false when the key cannot be opened), or deleted.
bool WriteMenuExtensionKey(const char* programDir);
void DeleteMenuExtensionKey();
// Registers (on) or unregisters the browser host for the current user; a failure shows
// its message, owned by `owner`, and gives false.
bool SetBrowserHost(HWND owner, const ProgramPaths& paths, bool on);
