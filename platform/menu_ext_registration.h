// The browser's context-menu item "Morvel": Pelka.dll's class registered through the
// library's own entry points, and the menu extension key of the current user that names the
// script inside it. The settings sheet's IE連携 page and the /unregister switch both use these;
// none of them shows anything. Directories end with their backslash.
#pragma once
#include <windows.h>

#include "protocol/bridge_identity.h"

// Whether the menu extension key exists.
bool IsMenuExtensionPresent();
// Writes the key with its three values, the address naming the library beside the program;
// false when the key cannot be opened.
bool WriteMenuExtensionKey(const wchar_t* programDir);
void DeleteMenuExtensionKey();

// Loads Pelka.dll from the program directory by its full path and calls its DllRegisterServer
// or DllUnregisterServer. The thread must be in a COM apartment (the program enters one at
// its start).
enum class BridgeCall { kOk, kMissing, kLoadFailed, kNoEntry, kFailed };
BridgeCall CallBridgeEntry(const wchar_t* programDir, bool registerIt);
// Whether the bridge's class is registered to the Pelka.dll beside this program.
bool IsBridgeRegisteredFrom(const wchar_t* programDir);
