#include "bridge/registrar_win.h"

#include <string_view>

#include <new>

#include "bridge/registrar_script.h"
#include "platform/handles.h"
#include "protocol/bridge_identity.h"

namespace pelka {
namespace {

// The script's texts are UTF-8 (ASCII but for the library's own path, put in as UTF-8): the
// registry gets them as UTF-16, whatever the system's code page is.
class Utf16 {
  public:
    explicit Utf16(const char* utf8) {
        if (!utf8 || MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text_, kUnits) <= 0) text_[0] = 0;
    }
    const wchar_t* get() const { return text_; }
    DWORD bytes() const { return static_cast<DWORD>((lstrlenW(text_) + 1) * sizeof(wchar_t)); }

  private:
    static constexpr int kUnits = 2 * MAX_PATH;
    wchar_t text_[kUnits];
};

// A value's name: none for the default value.
const wchar_t* NameOrDefault(const Utf16& name) {
    return name.get()[0] ? name.get() : nullptr;
}

HKEY RootKey(const char* name) {
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
        if (lstrcmpiA(name, r.shortName) == 0 || lstrcmpiA(name, r.longName) == 0) return r.key;
    return nullptr;
}

LONG SetValue(HKEY key, const ScriptValue& v) {
    const Utf16 name(v.name);
    if (v.kind == ScriptValue::Kind::Number) {
        const DWORD n = v.number;
        return RegSetValueExW(key, NameOrDefault(name), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&n), sizeof n);
    }
    const Utf16 text(v.text);
    return RegSetValueExW(key, NameOrDefault(name), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.get()), text.bytes());
}

bool Missing(LONG err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

LONG DeleteTree(HKEY parent, const char* utf8Name) {
    const Utf16 name(utf8Name);
    const LONG err = RegDeleteTreeW(parent, name.get());
    if (err != ERROR_SUCCESS && !Missing(err)) return err;
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    const LONG del = RegDeleteKeyW(parent, name.get());
    return Missing(del) ? ERROR_SUCCESS : del;
}

LONG RegisterKey(const ScriptParse& script, HKEY parent, const ScriptKey& k) {
    if (k.forceRemove) {
        const LONG err = DeleteTree(parent, k.name);
        if (err != ERROR_SUCCESS) return err;
    }
    UniqueRegKey key;
    LONG err = RegCreateKeyExW(parent, Utf16(k.name).get(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
    if (err != ERROR_SUCCESS) return err;
    if (k.hasDefault && (err = SetValue(key.get(), k.defaultValue)) != ERROR_SUCCESS) return err;
    for (int v = k.firstValue; v != kNoItem; v = script.values[v].next)
        if ((err = SetValue(key.get(), script.values[v])) != ERROR_SUCCESS) return err;
    for (int c = k.firstChild; c != kNoItem; c = script.keys[c].next)
        if ((err = RegisterKey(script, key.get(), script.keys[c])) != ERROR_SUCCESS) return err;
    return ERROR_SUCCESS;
}

LONG UnregisterKey(const ScriptParse& script, HKEY parent, const ScriptKey& k) {
    if (k.forceRemove && !k.noRemove) return DeleteTree(parent, k.name);
    UniqueRegKey key;
    LONG err = RegOpenKeyExW(parent, Utf16(k.name).get(), 0, KEY_READ | KEY_WRITE, key.put());
    if (Missing(err)) return ERROR_SUCCESS;
    if (err != ERROR_SUCCESS) return err;
    for (int c = k.firstChild; c != kNoItem; c = script.keys[c].next)
        if ((err = UnregisterKey(script, key.get(), script.keys[c])) != ERROR_SUCCESS) return err;
    if (k.noRemove) return ERROR_SUCCESS;
    for (int v = k.firstValue; v != kNoItem; v = script.values[v].next) {
        err = RegDeleteValueW(key.get(), Utf16(script.values[v].name).get());
        if (err != ERROR_SUCCESS && !Missing(err)) return err;
    }
    // A key that still holds keys of others stays.
    DWORD subkeys = 0;
    err = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr);
    if (err != ERROR_SUCCESS) return err;
    key.reset();
    if (subkeys != 0) return ERROR_SUCCESS;
    err = RegDeleteKeyW(parent, Utf16(k.name).get());
    return Missing(err) ? ERROR_SUCCESS : err;
}

} // namespace

HRESULT RunRegistrarResource(HMODULE module, UINT resourceId, bool doRegister) {
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"REGISTRY");
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!bytes) return DISP_E_EXCEPTION;
    const std::string_view text(bytes, SizeofResource(module, res));

    wchar_t wide[MAX_PATH] = {};
    const DWORD len = GetModuleFileNameW(module, wide, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
    // The library's path goes into the script as UTF-8 (any path Windows allows).
    char path[3 * MAX_PATH] = {};
    if (!WideCharToMultiByte(CP_UTF8, 0, wide, -1, path, sizeof path, nullptr, nullptr))
        return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);

    // The parse is large for a stack of a host's thread: it lives on the heap.
    UniqueHeapBlock block = AllocateHeapBlock(sizeof(ScriptParse));
    if (!block) return E_OUTOFMEMORY;
    ScriptParse& script = *new (block.get()) ScriptParse;
    ParseRegistrarScript(text, {{"MODULE", path}, {"CLSID", PELKA_CLSID}, {"LIBID", PELKA_LIBID}},
                         script);
    if (!script.ok) return DISP_E_EXCEPTION;
    for (int r = 0; r < script.rootCount; ++r) {
        const HKEY base = RootKey(script.roots[r].name);
        if (!base) return DISP_E_EXCEPTION;
        for (int k = script.roots[r].firstKey; k != kNoItem; k = script.keys[k].next) {
            const ScriptKey& key = script.keys[k];
            const LONG err =
                doRegister ? RegisterKey(script, base, key) : UnregisterKey(script, base, key);
            if (err != ERROR_SUCCESS) return HRESULT_FROM_WIN32(err);
        }
    }
    return S_OK;
}

} // namespace pelka
