#include "platform/run_at_logon.h"

#include "platform/handles.h"
#include "protocol/command_line.h"

namespace {

UniqueRegKey OpenKey(const wchar_t* key, REGSAM access) {
    UniqueRegKey k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, access, k.put()) != ERROR_SUCCESS) return {};
    return k;
}

bool DeleteValue(const wchar_t* key, const wchar_t* value) {
    UniqueRegKey k = OpenKey(key, KEY_SET_VALUE);
    if (!k) return true; // no key, no value
    const LONG r = RegDeleteValueW(k.get(), value);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

// Explorer keeps a 12-byte record per entry whose first byte is even while it is on.
bool TurnedOffInWindows() {
    UniqueRegKey k = OpenKey(kStartupApprovedKey, KEY_QUERY_VALUE);
    BYTE record[16] = {};
    DWORD type = 0, size = sizeof record;
    if (!k || RegQueryValueExW(k.get(), kRunValue, nullptr, &type, record, &size) != ERROR_SUCCESS)
        return false;
    return type == REG_BINARY && size >= 1 && (record[0] & 1) != 0;
}

} // namespace

bool CurrentProgramPath(wchar_t (&path)[MAX_PATH * 2]) {
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2;
}

bool RunAtLogonCommand(const wchar_t* program, wchar_t (&command)[kRunCommandChars]) {
    const int n = lstrlenW(program), s = lstrlenW(start_switch::kTray);
    if (n + s + 4 > kRunCommandChars) return false;
    command[0] = L'"';
    lstrcpyW(command + 1, program);
    command[n + 1] = L'"';
    command[n + 2] = L' ';
    lstrcpyW(command + n + 3, start_switch::kTray);
    return true;
}

bool IsRunAtLogonOn(const wchar_t* program) {
    wchar_t expected[kRunCommandChars];
    if (!RunAtLogonCommand(program, expected)) return false;
    UniqueRegKey k = OpenKey(kRunKey, KEY_QUERY_VALUE);
    wchar_t value[kRunCommandChars + 1] = {};
    DWORD type = 0, size = sizeof value - sizeof(wchar_t); // room for a terminator
    if (!k ||
        RegQueryValueExW(k.get(), kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value[size / sizeof(wchar_t)] = L'\0';
    return lstrcmpiW(value, expected) == 0 && !TurnedOffInWindows();
}

bool SetRunAtLogon(const wchar_t* program, bool on) {
    if (!on) {
        const bool gone = DeleteValue(kRunKey, kRunValue);
        return DeleteValue(kStartupApprovedKey, kRunValue) && gone;
    }
    wchar_t command[kRunCommandChars];
    if (!RunAtLogonCommand(program, command)) return false;
    UniqueRegKey k;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, k.put(), nullptr) != ERROR_SUCCESS)
        return false;
    if (RegSetValueExW(k.get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                       static_cast<DWORD>((lstrlenW(command) + 1) * sizeof(wchar_t))) !=
        ERROR_SUCCESS)
        return false;
    return DeleteValue(kStartupApprovedKey, kRunValue);
}
