#include "app/unregister.h"

#include "platform/data_folder.h"
#include "platform/menu_ext_registration.h"
#include "platform/native_host_registration.h"
#include "platform/run_at_logon.h"

int RunUnregister(const ProgramPaths& paths) {
    bool ok = SetRunAtLogon(nullptr, false);
    // The manifests are beside the program or in the user's folder, whichever was the data
    // folder when they were written: both are cleared (a missing file is no error).
    ok = UnregisterNativeHost(paths.programDir) == NativeHostResult::kOk && ok;
    wchar_t userFolder[MAX_PATH];
    if (UserDataFolder(userFolder))
        ok = UnregisterNativeHost(userFolder) == NativeHostResult::kOk && ok;
    DeleteMenuExtensionKey();
    ok = !IsMenuExtensionPresent() && ok;
    if (IsBridgeRegisteredFrom(paths.programDir))
        ok = CallBridgeEntry(paths.programDir, false) == BridgeCall::kOk && ok;
    return ok ? 0 : 1;
}
