#include "bridge/bridge_logic.h"

#include <cstring>

namespace pelka {

BridgeMessages SearchOptionMessages(long sefIndex, long engineIndex, long mode) {
    BridgeMessages out;
    // Only the low 16 bits of a value fit in the high word of wParam.
    const auto high = [](long v) { return static_cast<std::uintptr_t>(v & 0xFFFF) << 16; };
    if (sefIndex >= 0)
        out.items[out.count++] = {kMsgCommand,
                                  IDM_ENGINE_FILE_FIRST + static_cast<std::uintptr_t>(sefIndex)};
    if (engineIndex >= 0)
        out.items[out.count++] = {WM_APP_SETOPTION,
                                  high(engineIndex) | bar_protocol::kOptionEngine};
    if (mode >= 0)
        out.items[out.count++] = {WM_APP_SETOPTION, high(mode) | bar_protocol::kOptionMode};
    return out;
}

std::size_t DirectoryPartLength(const char* path, LeadBytePredicate isLead) {
    std::size_t cut = std::strlen(path);
    bool found = false;
    for (std::size_t i = 0; path[i] != '\0'; ++i) {
        if (isLead(static_cast<unsigned char>(path[i]))) {
            if (path[i + 1] == '\0') break; // a lone lead byte at the end
            ++i;                            // the trail byte is never a separator
            continue;
        }
        if (path[i] == '\\') {
            cut = i + 1;
            found = true;
        }
    }
    return found ? cut : std::strlen(path);
}

bool SiblingPath(char* dest, std::size_t destSize, const char* modulePath, const char* fileName,
                 LeadBytePredicate isLead) {
    if (destSize == 0) return false;
    dest[0] = '\0';
    const std::size_t dir = DirectoryPartLength(modulePath, isLead);
    const std::size_t name = std::strlen(fileName);
    if (dir + name + 1 > destSize) return false;
    std::memcpy(dest, modulePath, dir);
    std::memcpy(dest + dir, fileName, name + 1);
    return true;
}

} // namespace pelka
