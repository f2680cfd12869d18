#include "ui/settings/menu_ext_page.h"

#include "platform/handles.h"
#include "platform/native_host_registration.h"
#include "ui/common/resource.h"
#include "ui/common/window_helpers.h"
#include "ui/settings/settings_logic.h"

namespace {

const char kBridgeFile[] = "Pelka.dll";

void Warn(HWND owner, const char* text) {
    ShowMessage(owner, text, MB_OK | MB_ICONWARNING);
}

// The library beside the program, by its full path: never one that the current directory
// or the search path would give for the bare name.
bool BridgePath(const char* programDir, char* path, size_t size) {
    if (!JoinPath(path, size, programDir, kBridgeFile)) return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Fail(HWND owner, const char* text) {
    ShowMessage(owner, text, MB_OK | MB_ICONERROR);
}

void Init(HWND page, MenuExtPage& state) {
    SetTicked(page, IDC_MEXT_ENABLE, IsMenuExtensionPresent());
    const ProgramPaths& paths = state.sheet->app.paths;
    state.hostRegistered = IsNativeHostRegistered(paths.programDir, paths.dataDir);
    SetTicked(page, IDC_MEXT_BROWSERS, state.hostRegistered);
}

} // namespace

bool IsMenuExtensionPresent() {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY, 0, KEY_ALL_ACCESS, &raw) !=
        ERROR_SUCCESS)
        return false;
    UniqueRegKey key(raw);
    return true;
}

BridgeCall CallBridgeEntry(const char* programDir, bool registerIt) {
    char path[MAX_PATH];
    if (!BridgePath(programDir, path, sizeof path)) return BridgeCall::kMissing;
    // Ended in reverse order of declaration: OLE first, then the library is freed.
    UniqueModule library;
    OleSession ole;
    if (!ole.Ok()) return BridgeCall::kOleFailed;
    library.reset(LoadLibraryA(path));
    if (!library) return BridgeCall::kLoadFailed;
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    const auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(
        GetProcAddress(library.get(), registerIt ? "DllRegisterServer" : "DllUnregisterServer")));
    if (!entry) return BridgeCall::kNoEntry;
    return FAILED(entry()) ? BridgeCall::kFailed : BridgeCall::kOk;
}

bool CallBridgeRegistration(HWND owner, const char* programDir, bool registerIt) {
    switch (CallBridgeEntry(programDir, registerIt)) {
    case BridgeCall::kOk:
        return true;
    case BridgeCall::kMissing:
        Warn(owner, "「Pelka.dll」が見つかりません。");
        return false;
    case BridgeCall::kOleFailed:
        Warn(owner, "OleInitialize()に失敗しました。");
        return false;
    case BridgeCall::kLoadFailed:
        Warn(owner, "「Pelka.dll」のロードに失敗しました。");
        return false;
    case BridgeCall::kNoEntry:
        Warn(owner, "「Pelka.dll」のエントリーポイントが見つかりません。");
        return false;
    case BridgeCall::kFailed:
    default:
        Warn(owner, registerIt ? "「Pelka.dll」の登録に失敗しました。"
                               : "「Pelka.dll」の登録解除に失敗しました。");
        return false;
    }
}

bool IsBridgeRegisteredFrom(const char* programDir) {
    char path[MAX_PATH];
    if (!BridgePath(programDir, path, sizeof path)) return false;
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, MORVEL_BRIDGE_SERVER_KEY, 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return false;
    UniqueRegKey key(raw);
    char server[MAX_PATH + 1] = {};
    DWORD type = 0, size = sizeof server - 1;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(server),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    server[size] = '\0';
    return lstrcmpiA(server, path) == 0;
}

bool WriteMenuExtensionKey(const char* programDir) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueRegKey key(raw);
    char address[MAX_PATH + 32];
    MenuExtensionAddress(address, sizeof address, programDir); // always fits
    RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(address),
                   static_cast<DWORD>(lstrlenA(address) + 1));
    const DWORD contexts = 0x10, flags = 0;
    RegSetValueExA(key.get(), "Contexts", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&contexts),
                   sizeof contexts);
    RegSetValueExA(key.get(), "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags),
                   sizeof flags);
    return true;
}

void DeleteMenuExtensionKey() {
    if (IsMenuExtensionPresent()) RegDeleteKeyA(HKEY_CURRENT_USER, MORVEL_MENU_EXT_KEY);
}

void SetMenuExtension(HWND owner, const char* programDir, bool on) {
    if (on) {
        if (!CallBridgeRegistration(owner, programDir, true)) return; // nothing is written
        if (!WriteMenuExtensionKey(programDir)) Warn(owner, "レジストリのオープンに失敗しました。");
        return;
    }
    CallBridgeRegistration(owner, programDir, false); // a failure does not keep the key
    DeleteMenuExtensionKey();
}

bool SetBrowserHost(HWND owner, const ProgramPaths& paths, bool on) {
    switch (on ? RegisterNativeHost(paths.programDir, paths.dataDir)
               : UnregisterNativeHost(paths.dataDir)) {
    case NativeHostResult::kOk:
        return true;
    case NativeHostResult::kHostMissing:
        Warn(owner, "「morvel-host.exe」が見つかりません。");
        return false;
    case NativeHostResult::kManifestFailed:
        Fail(owner, on ? "ブラウザー連携のマニフェストファイルの書き込みに失敗しました。"
                       : "ブラウザー連携のマニフェストファイルの削除に失敗しました。");
        return false;
    case NativeHostResult::kRegistryFailed:
        Fail(owner, on ? "ブラウザー連携のレジストリへの書き込みに失敗しました。"
                       : "ブラウザー連携のレジストリからの削除に失敗しました。");
        return false;
    }
    return false;
}

INT_PTR CALLBACK MenuExtPageProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    MenuExtPage* state = PageState<MenuExtPage>(page, msg, lParam);
    if (!state) return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        Init(page, *state);
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_APPLY: {
            const ProgramPaths& paths = state->sheet->app.paths;
            SetMenuExtension(page, paths.programDir, IsTicked(page, IDC_MEXT_ENABLE));
            // Unlike the box above, this one acts only when the user changed it.
            const bool host = IsTicked(page, IDC_MEXT_BROWSERS);
            if (host != state->hostRegistered && SetBrowserHost(page, paths, host))
                state->hostRegistered = host;
            state->sheet->applied = true;
            return PageResult(page, PSNRET_NOERROR);
        }
        case PSN_HELP:
            ShowPageHelp(page, *state->sheet, HELP_CTX_MENU_EXT);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
