#include "platform/menu_ext_registration.h"

#include "platform/handles.h"
#include "platform/win_text.h"

namespace {

constexpr wchar_t kMenuExtKey[] = L"" MORVEL_MENU_EXT_KEY;

// The library beside the program, by its full path: never one that the current directory
// or the search path would give for the bare name.
bool BridgePath(const wchar_t* programDir, PathText& path) {
    if (!JoinWidePath(path, View(programDir), L"" PELKA_FILE)) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool IsMenuExtensionPresent() {
    UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kMenuExtKey, 0, KEY_ALL_ACCESS, key.put()) ==
           ERROR_SUCCESS;
}

bool WriteMenuExtensionKey(const wchar_t* programDir) {
    UniqueRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kMenuExtKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    wchar_t address[MAX_PATH + 32];
    MenuExtensionAddress(address, MAX_PATH + 32, View(programDir)); // always fits
    RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(address),
                   static_cast<DWORD>((lstrlenW(address) + 1) * sizeof(wchar_t)));
    const DWORD contexts = kMenuExtContexts, flags = kMenuExtFlags;
    RegSetValueExW(key.get(), L"Contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&contexts),
                   sizeof contexts);
    RegSetValueExW(key.get(), L"Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags),
                   sizeof flags);
    return true;
}

void DeleteMenuExtensionKey() {
    if (IsMenuExtensionPresent()) RegDeleteKeyW(HKEY_CURRENT_USER, kMenuExtKey);
}

BridgeCall CallBridgeEntry(const wchar_t* programDir, bool registerIt) {
    PathText path;
    if (!BridgePath(programDir, path)) return BridgeCall::kMissing;
    UniqueModule library(LoadLibraryW(path.c_str()));
    if (!library) return BridgeCall::kLoadFailed;
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    const auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(
        GetProcAddress(library.get(), registerIt ? "DllRegisterServer" : "DllUnregisterServer")));
    if (!entry) return BridgeCall::kNoEntry;
    return FAILED(entry()) ? BridgeCall::kFailed : BridgeCall::kOk;
}

bool IsBridgeRegisteredFrom(const wchar_t* programDir) {
    PathText path;
    if (!BridgePath(programDir, path)) return false;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"" PELKA_SERVER_KEY, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return false;
    wchar_t server[MAX_PATH + 1] = {};
    DWORD type = 0, size = sizeof server - sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(server),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    server[size / sizeof(wchar_t)] = L'\0';
    return lstrcmpiW(server, path.c_str()) == 0;
}
