// The parts of the browser bridge that need no Windows: the program path beside the
// library and the messages each call sends to the search bar.
#pragma once
#include <string_view>
#include <cstddef>
#include <cstdint>

#include "protocol/bar_protocol.h"

namespace pelka {

// The bar's own messages and codes are those of protocol/bar_protocol.h.
constexpr unsigned kMsgCommand = 0x0111; // WM_COMMAND

// The started program gets this long to become idle before the bar is looked for anyway.
constexpr unsigned kStartWaitMilliseconds = 30000;

struct BridgeMessage {
    unsigned message;
    std::uintptr_t wParam; // lParam is always 0
    bool operator==(const BridgeMessage& o) const {
        return message == o.message && wParam == o.wParam;
    }
};

// What SetSearchOpt sends, in order: a negative argument leaves its step out.
struct BridgeMessages {
    BridgeMessage items[3] = {};
    int count = 0;
    const BridgeMessage* begin() const { return items; }
    const BridgeMessage* end() const { return items + count; }
};
BridgeMessages SearchOptionMessages(long sefIndex, long engineIndex, long mode);

// Writes the directory of modulePath (up to and including its last backslash; a path without
// one is kept whole) followed by fileName into dest (capacity destSize units). False, with
// dest empty, when the result does not fit.
bool SiblingPath(wchar_t* dest, std::size_t destSize, std::wstring_view modulePath,
                 std::wstring_view fileName);

} // namespace pelka
