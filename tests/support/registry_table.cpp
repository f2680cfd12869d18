#include "tests/support/registry_table.h"

#include <map>

#include "platform/handles.h"
#include "tests/support/file_text.h"

const char kMenuExtKey[] = "Software\\Microsoft\\Internet Explorer\\MenuExt\\Morvel";
const char kBridgeClsid[] = "{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}";
const char kBridgeClassKey[] = "CLSID\\{6FD94094-3695-4A5D-9804-5A8DB21EE0EF}";
const char kBridgeTypeLibKey[] = "TypeLib\\{9CBD4271-ED34-4478-925C-9D7E8503DB61}";
const char* const kHostKeys[3] = {
    "Software\\Google\\Chrome\\NativeMessagingHosts\\jp.morvel.vantu",
    "Software\\Microsoft\\Edge\\NativeMessagingHosts\\jp.morvel.vantu",
    "Software\\Mozilla\\NativeMessagingHosts\\jp.morvel.vantu",
};
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

RegTable MenuExtensionTable(const std::string& libraryPath) {
    return {{HKEY_CURRENT_USER, kMenuExtKey, nullptr},
            {HKEY_CURRENT_USER, kMenuExtKey, "", REG_SZ, "res://" + libraryPath + "/SETSTRING"},
            {HKEY_CURRENT_USER, kMenuExtKey, "Contexts", REG_DWORD, "16"},
            {HKEY_CURRENT_USER, kMenuExtKey, "Flags", REG_DWORD, "0"}};
}

RegTable BridgeClassTable(const std::string& libraryPath) {
    const HKEY r = HKEY_CLASSES_ROOT;
    const std::string c = kBridgeClassKey;
    return {
        {r, "Pelka.Vantu.1", nullptr},
        {r, "Pelka.Vantu.1", "", REG_SZ, "Vantu Class"},
        {r, "Pelka.Vantu.1\\CLSID", "", REG_SZ, kBridgeClsid},
        {r, "Pelka.Vantu", nullptr},
        {r, "Pelka.Vantu", "", REG_SZ, "Vantu Class"},
        {r, "Pelka.Vantu\\CLSID", "", REG_SZ, kBridgeClsid},
        {r, "Pelka.Vantu\\CurVer", "", REG_SZ, "Pelka.Vantu.1"},
        {r, c, nullptr},
        {r, c, "", REG_SZ, "Vantu Class"},
        {r, c + "\\ProgID", "", REG_SZ, "Pelka.Vantu.1"},
        {r, c + "\\VersionIndependentProgID", "", REG_SZ, "Pelka.Vantu"},
        {r, c + "\\Programmable", nullptr},
        {r, c + "\\InprocServer32", "", REG_SZ, libraryPath},
        {r, c + "\\InprocServer32", "ThreadingModel", REG_SZ, "Apartment"},
        {r, c + "\\TypeLib", "", REG_SZ, "{9CBD4271-ED34-4478-925C-9D7E8503DB61}"},
    };
}

RegTable BrowserHostTable(const std::string& manifestFolder) {
    const char* const manifests[3] = {"jp.morvel.vantu.chromium.json",
                                      "jp.morvel.vantu.chromium.json",
                                      "jp.morvel.vantu.firefox.json"};
    RegTable table;
    for (int i = 0; i < 3; ++i) {
        table.push_back({HKEY_CURRENT_USER, kHostKeys[i], nullptr});
        table.push_back(
            {HKEY_CURRENT_USER, kHostKeys[i], "", REG_SZ, manifestFolder + manifests[i]});
    }
    return table;
}

RegTable RunAtLogonTable(const std::string& programFolder) {
    return {
        {HKEY_CURRENT_USER, kRunKey, "Morvel", REG_SZ, "\"" + programFolder + "vantu.exe\" /tray"}};
}

namespace {

using Tree = std::map<std::string, std::string>;

std::string RootName(HKEY root) {
    return root == HKEY_CLASSES_ROOT ? "HKCR\\" : "HKCU\\";
}

// A value as the tables write it; a text stored without its NUL is told apart.
std::string Shown(DWORD type, const std::string& raw) {
    if (type == REG_DWORD && raw.size() == 4)
        return "dword " + std::to_string(*reinterpret_cast<const DWORD*>(raw.data()));
    if (type == REG_SZ)
        return !raw.empty() && raw.back() == '\0' ? "sz " + raw.substr(0, raw.size() - 1)
                                                  : "sz " + raw + " (stored without its NUL)";
    return "type " + std::to_string(type) + ", " + std::to_string(raw.size()) + " bytes";
}

std::string Expected(const RegEntry& e) {
    return e.type == REG_DWORD ? "dword " + e.data : "sz " + e.data;
}

bool Under(const std::string& key, const std::string& parent) {
    return key.size() > parent.size() && key[parent.size()] == '\\' &&
           !lstrcmpiA(key.substr(0, parent.size()).c_str(), parent.c_str());
}

// The key that holds the entry when it is one of the table's own keys or lies under one.
const RegEntry* OwnerKey(const RegTable& table, const RegEntry& e) {
    for (const RegEntry& k : table)
        if (!k.name && k.root == e.root &&
            (Under(e.key, k.key) || !lstrcmpiA(e.key.c_str(), k.key.c_str())))
            return &k;
    return nullptr;
}
bool TopKey(const RegTable& table, const RegEntry& e) {
    for (const RegEntry& k : table)
        if (!k.name && k.root == e.root && Under(e.key, k.key)) return false;
    return !e.name;
}

// Every key and value under the key: "key|" for the key, "key|name" for a value.
void Collect(HKEY root, const std::string& key, Tree& out) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
    UniqueRegKey k(raw);
    out[RootName(root) + key + "|"] = "key";
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLen = sizeof name, type = 0;
        char data[2048];
        DWORD dataLen = sizeof data;
        if (RegEnumValueA(k.get(), i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &dataLen) != ERROR_SUCCESS)
            break;
        out[RootName(root) + key + "|" + (*name ? name : "(default)")] =
            Shown(type, std::string(data, dataLen));
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLen = sizeof name;
        if (RegEnumKeyExA(k.get(), i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        Collect(root, key + "\\" + name, out);
    }
}

} // namespace

std::string RegistryDifferences(const RegTable& table) {
    Tree want, got;
    for (const RegEntry& e : table) {
        const std::string key = RootName(e.root) + e.key;
        if (const RegEntry* own = OwnerKey(table, e)) // the keys from the own key down exist
            for (std::string k = e.key;; k = k.substr(0, k.rfind('\\'))) {
                want[RootName(e.root) + k + "|"] = "key";
                if (!Under(k, own->key)) break;
            }
        if (e.name) want[key + "|" + (*e.name ? e.name : "(default)")] = Expected(e);
        if (TopKey(table, e)) {
            Collect(e.root, e.key, got);
        } else if (e.name && !OwnerKey(table, e)) {
            DWORD type = 0;
            std::string data;
            if (ReadValue(e.root, e.key.c_str(), e.name, type, data))
                got[key + "|" + (*e.name ? e.name : "(default)")] = Shown(type, data);
        }
    }
    std::string differences;
    for (const auto& w : want) {
        const auto g = got.find(w.first);
        if (g == got.end())
            differences += "missing " + w.first + " (" + w.second + ")\n";
        else if (g->second != w.second)
            differences += w.first + ": " + g->second + ", not " + w.second + "\n";
    }
    for (const auto& g : got)
        if (!want.count(g.first)) differences += "unexpected " + g.first + " (" + g.second + ")\n";
    return differences;
}

std::string RegistryLeftovers(const RegTable& table) {
    std::string left;
    for (const RegEntry& e : table) {
        DWORD type = 0;
        std::string data;
        if (TopKey(table, e) && KeyExists(e.root, e.key.c_str()))
            left += RootName(e.root) + e.key + "\n";
        else if (e.name && !OwnerKey(table, e) &&
                 ReadValue(e.root, e.key.c_str(), e.name, type, data))
            left += RootName(e.root) + e.key + "|" + e.name + "\n";
    }
    return left;
}

void RemoveFromRegistry(const RegTable& table) {
    for (const RegEntry& e : table) {
        if (TopKey(table, e))
            RegDeleteTreeA(e.root, e.key.c_str());
        else if (e.name && !OwnerKey(table, e))
            RegDeleteKeyValueA(e.root, e.key.c_str(), e.name);
    }
}
