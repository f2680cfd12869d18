#include "platform/menu_ext_registration.h"

#include "base/text.h"
#include "platform/handles.h"

namespace {

// The library beside the program, by its full path: never one that the current directory
// or the search path would give for the bare name.
bool BridgePath(const char* programDir, char* path, size_t size) {
    if (!JoinPath(path, size, programDir, PELKA_FILE)) return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool IsMenuExtensionPresent() {
    UniqueRegKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY, 0, KEY_ALL_ACCESS, key.put()) ==
           ERROR_SUCCESS;
}

bool WriteMenuExtensionKey(const char* programDir) {
    UniqueRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    char address[MAX_PATH + 32];
    MenuExtensionAddress(address, sizeof address, programDir); // always fits
    RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(address),
                   static_cast<DWORD>(lstrlenA(address) + 1));
    const DWORD contexts = kMenuExtContexts, flags = kMenuExtFlags;
    RegSetValueExA(key.get(), "Contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&contexts),
                   sizeof contexts);
    RegSetValueExA(key.get(), "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags),
                   sizeof flags);
    return true;
}

void DeleteMenuExtensionKey() {
    if (IsMenuExtensionPresent()) RegDeleteKeyA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY);
}

BridgeCall CallBridgeEntry(const char* programDir, bool registerIt) {
    char path[MAX_PATH];
    if (!BridgePath(programDir, path, sizeof path)) return BridgeCall::kMissing;
    UniqueModule library(LoadLibraryA(path));
    if (!library) return BridgeCall::kLoadFailed;
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    const auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(
        GetProcAddress(library.get(), registerIt ? "DllRegisterServer" : "DllUnregisterServer")));
    if (!entry) return BridgeCall::kNoEntry;
    return FAILED(entry()) ? BridgeCall::kFailed : BridgeCall::kOk;
}

bool IsBridgeRegisteredFrom(const char* programDir) {
    char path[MAX_PATH];
    if (!BridgePath(programDir, path, sizeof path)) return false;
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, PELKA_SERVER_KEY, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return false;
    char server[MAX_PATH + 1] = {};
    DWORD type = 0, size = sizeof server - 1;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(server),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    server[size] = '\0';
    return lstrcmpiA(server, path) == 0;
}
