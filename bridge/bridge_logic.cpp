#include "bridge/bridge_logic.h"

#include <cwchar>

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

bool SiblingPath(wchar_t* dest, std::size_t destSize, std::wstring_view modulePath,
                 std::wstring_view fileName) {
    if (destSize == 0) return false;
    dest[0] = L'\0';
    const std::size_t slash = modulePath.rfind(L'\\');
    const std::size_t dir = slash == std::wstring_view::npos ? modulePath.size() : slash + 1;
    if (dir + fileName.size() + 1 > destSize) return false;
    std::wmemcpy(dest, modulePath.data(), dir);
    std::wmemcpy(dest + dir, fileName.data(), fileName.size());
    dest[dir + fileName.size()] = L'\0';
    return true;
}

} // namespace pelka
