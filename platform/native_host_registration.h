// Per-user registration of the browser host: the two host manifests in the data folder
// (beside the program unless its folder cannot be written) and the keys under HKEY_CURRENT_USER
// through which Chrome, Edge and Firefox find them. No administrator rights are needed; nothing
// else is written.
#pragma once
#include <windows.h>

enum class NativeHostResult {
    kOk,
    kHostMissing,    // morvel-host.exe is not in the program directory (nothing written)
    kManifestFailed, // a manifest file could not be written or removed
    kRegistryFailed, // a key could not be written or removed
};

// The keys (under HKEY_CURRENT_USER) whose default values name the manifests.
constexpr const wchar_t* kNativeHostKeys[] = {
    L"Software\\Google\\Chrome\\NativeMessagingHosts\\jp.morvel.vantu",
    L"Software\\Microsoft\\Edge\\NativeMessagingHosts\\jp.morvel.vantu",
    L"Software\\Mozilla\\NativeMessagingHosts\\jp.morvel.vantu",
};

// programDir (where morvel-host.exe is) and manifestDir (where the manifests are written) end
// with their backslashes.

// True when all three keys name this program's manifests and both manifests exist.
bool IsNativeHostRegistered(const wchar_t* programDir, const wchar_t* manifestDir);
// Writes both manifests and the three keys. On a failure what was written is removed again.
NativeHostResult RegisterNativeHost(const wchar_t* programDir, const wchar_t* manifestDir);
// Removes the three keys and both manifests; ones that are already gone are no error.
NativeHostResult UnregisterNativeHost(const wchar_t* manifestDir);
