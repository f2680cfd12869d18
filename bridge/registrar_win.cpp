#include "bridge/registrar_win.h"

#include <string>
#include <string_view>

#include "app/handles.h"
#include "bridge/registrar_script.h"

namespace pelka {
namespace {

HKEY RootKey(const std::string& name) {
    static const struct {
        const char* shortName;
        const char* longName;
        HKEY key;
    } roots[] = {
        {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKU", "HKEY_USERS", HKEY_USERS},
    };
    for (const auto& r : roots)
        if (lstrcmpiA(name.c_str(), r.shortName) == 0 || lstrcmpiA(name.c_str(), r.longName) == 0)
            return r.key;
    return nullptr;
}

LONG SetValue(HKEY key, const ScriptValue& v) {
    const char* name = v.name.empty() ? nullptr : v.name.c_str();
    if (v.kind == ScriptValue::Kind::Number) {
        const DWORD n = v.number;
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n);
    }
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.text.c_str()),
                          static_cast<DWORD>(v.text.size() + 1));
}

bool Missing(LONG err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

LONG DeleteTree(HKEY parent, const std::string& name) {
    const LONG err = RegDeleteTreeA(parent, name.c_str());
    if (err != ERROR_SUCCESS && !Missing(err)) return err;
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    const LONG del = RegDeleteKeyA(parent, name.c_str());
    return Missing(del) ? ERROR_SUCCESS : del;
}

LONG RegisterKey(HKEY parent, const ScriptKey& k) {
    if (k.forceRemove) {
        const LONG err = DeleteTree(parent, k.name);
        if (err != ERROR_SUCCESS) return err;
    }
    HKEY raw = nullptr;
    LONG err = RegCreateKeyExA(parent, k.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, &raw, nullptr);
    if (err != ERROR_SUCCESS) return err;
    UniqueRegKey key(raw);
    if (k.hasDefault && (err = SetValue(key.get(), k.defaultValue)) != ERROR_SUCCESS) return err;
    for (const ScriptValue& v : k.values)
        if ((err = SetValue(key.get(), v)) != ERROR_SUCCESS) return err;
    for (const ScriptKey& child : k.children)
        if ((err = RegisterKey(key.get(), child)) != ERROR_SUCCESS) return err;
    return ERROR_SUCCESS;
}

LONG UnregisterKey(HKEY parent, const ScriptKey& k) {
    if (k.forceRemove && !k.noRemove) return DeleteTree(parent, k.name);
    HKEY raw = nullptr;
    LONG err = RegOpenKeyExA(parent, k.name.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
    if (Missing(err)) return ERROR_SUCCESS;
    if (err != ERROR_SUCCESS) return err;
    UniqueRegKey key(raw);
    for (const ScriptKey& child : k.children)
        if ((err = UnregisterKey(key.get(), child)) != ERROR_SUCCESS) return err;
    if (k.noRemove) return ERROR_SUCCESS;
    for (const ScriptValue& v : k.values) {
        err = RegDeleteValueA(key.get(), v.name.c_str());
        if (err != ERROR_SUCCESS && !Missing(err)) return err;
    }
    // A key that still holds keys of others stays.
    DWORD subkeys = 0;
    err = RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr);
    if (err != ERROR_SUCCESS) return err;
    key.reset();
    if (subkeys != 0) return ERROR_SUCCESS;
    err = RegDeleteKeyA(parent, k.name.c_str());
    return Missing(err) ? ERROR_SUCCESS : err;
}

} // namespace

HRESULT RunRegistrarResource(HMODULE module, UINT resourceId, bool doRegister) {
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "REGISTRY");
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!bytes) return DISP_E_EXCEPTION;
    const std::string_view text(bytes, SizeofResource(module, res));

    char path[MAX_PATH] = {};
    const DWORD len = GetModuleFileNameA(module, path, sizeof path);
    if (len == 0 || len >= sizeof path) return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);

    try {
        const ScriptParse script = ParseRegistrarScript(text, {{"MODULE", path}});
        if (!script.ok) return DISP_E_EXCEPTION;
        for (const ScriptRoot& root : script.roots) {
            const HKEY base = RootKey(root.name);
            if (!base) return DISP_E_EXCEPTION;
            for (const ScriptKey& k : root.keys) {
                const LONG err = doRegister ? RegisterKey(base, k) : UnregisterKey(base, k);
                if (err != ERROR_SUCCESS) return HRESULT_FROM_WIN32(err);
            }
        }
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

} // namespace pelka
