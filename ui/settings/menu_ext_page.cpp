#include "ui/settings/menu_ext_page.h"

#include "platform/native_host_registration.h"
#include "ui/common/resource.h"
#include "ui/common/window_helpers.h"

namespace {

void Warn(HWND owner, const wchar_t* text) {
    ShowMessage(owner, text, MB_OK | MB_ICONWARNING);
}

void Fail(HWND owner, const wchar_t* text) {
    ShowMessage(owner, text, MB_OK | MB_ICONERROR);
}

void Init(HWND page, MenuExtPage& state) {
    SetTicked(page, IDC_MEXT_ENABLE, IsMenuExtensionPresent());
    const ProgramPaths& paths = state.sheet->app.paths;
    state.hostRegistered = IsNativeHostRegistered(paths.programDir, paths.dataDir);
    SetTicked(page, IDC_MEXT_BROWSERS, state.hostRegistered);
}

} // namespace

bool CallBridgeRegistration(HWND owner, const wchar_t* programDir, bool registerIt) {
    switch (CallBridgeEntry(programDir, registerIt)) {
    case BridgeCall::kOk:
        return true;
    case BridgeCall::kMissing:
        Warn(owner, L"「Pelka.dll」が見つかりません。");
        return false;
    case BridgeCall::kLoadFailed:
        Warn(owner, L"「Pelka.dll」のロードに失敗しました。");
        return false;
    case BridgeCall::kNoEntry:
        Warn(owner, L"「Pelka.dll」のエントリーポイントが見つかりません。");
        return false;
    case BridgeCall::kFailed:
    default:
        Warn(owner, registerIt ? L"「Pelka.dll」の登録に失敗しました。"
                               : L"「Pelka.dll」の登録解除に失敗しました。");
        return false;
    }
}

void SetMenuExtension(HWND owner, const wchar_t* programDir, bool on) {
    if (on) {
        if (!CallBridgeRegistration(owner, programDir, true)) return; // nothing is written
        if (!WriteMenuExtensionKey(programDir))
            Warn(owner, L"レジストリのオープンに失敗しました。");
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
        Warn(owner, L"「morvel-host.exe」が見つかりません。");
        return false;
    case NativeHostResult::kManifestFailed:
        Fail(owner, on ? L"ブラウザー連携のマニフェストファイルの書き込みに失敗しました。"
                       : L"ブラウザー連携のマニフェストファイルの削除に失敗しました。");
        return false;
    case NativeHostResult::kRegistryFailed:
        Fail(owner, on ? L"ブラウザー連携のレジストリへの書き込みに失敗しました。"
                       : L"ブラウザー連携のレジストリからの削除に失敗しました。");
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
