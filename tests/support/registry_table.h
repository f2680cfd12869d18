// What the registry holds when everything is registered: the context-menu extension key, the
// bridge's class, the browser host's keys and the value that starts the program with Windows.
// The in-process tests of each registration and the end-to-end tests through the settings
// sheet, the uninstall switch and the installer check against these same tables.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct RegEntry {
    HKEY root;
    std::string key;
    const char* name;      // nullptr: the key itself, ours with all under it; "": its default
    DWORD type = REG_SZ;   // REG_SZ or REG_DWORD
    std::string data = {}; // the text, or the REG_DWORD's decimal number
};
using RegTable = std::vector<RegEntry>;

extern const char kMenuExtKey[];
extern const char kBridgeClsid[];
extern const char kBridgeClassKey[];
extern const char kBridgeTypeLibKey[]; // its version key "1.0" is there while registered
extern const char* const kHostKeys[3]; // Chrome, Edge, Firefox
extern const char kRunKey[];
extern const char kApprovedKey[]; // Explorer's on/off marks of the start-up list

// The key for the browser's context menu: the library's script resource, for text selections.
RegTable MenuExtensionTable(const std::string& libraryPath);
// The bridge's class and program ids with the library as its server.
RegTable BridgeClassTable(const std::string& libraryPath);
// The three host keys naming the two manifests in the folder (with its trailing backslash).
RegTable BrowserHostTable(const std::string& manifestFolder);
// The value "Morvel" of the Run key: the program in the folder started with /tray.
RegTable RunAtLogonTable(const std::string& programFolder);

// "" when the registry holds each entry as listed, and nothing else under the table's own
// keys; else one line for each difference.
std::string RegistryDifferences(const RegTable& table);
// "" when nothing of the table is left (its own keys, its values in other keys); else what is.
std::string RegistryLeftovers(const RegTable& table);
// Deletes the table's own keys with everything under them and its values in other keys.
void RemoveFromRegistry(const RegTable& table);
