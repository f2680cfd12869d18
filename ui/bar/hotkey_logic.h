// The summon key's value as the hotkey control gives it (low byte: virtual key, high byte:
// HOTKEYF_* modifiers) and what RegisterHotKey needs of it. No Windows needed.
#pragma once
#include <cstdint>

#include "base/settings.h" // HotKeyFromStored

// HOTKEYF_* bits of the control's high byte.
constexpr unsigned kHotKeyShift = 0x01, kHotKeyControl = 0x02, kHotKeyAlt = 0x04, kHotKeyExt = 0x08;
// MOD_* flags of RegisterHotKey.
constexpr unsigned kModAlt = 0x0001, kModControl = 0x0002, kModShift = 0x0004;

// The virtual key of a value.
constexpr unsigned HotKeyVirtualKey(uint16_t value) {
    return value & 0xFFu;
}
// RegisterHotKey's modifiers for a value.
unsigned HotKeyModifiers(uint16_t value);
