#include "ui/bar/hotkey_logic.h"

unsigned HotKeyModifiers(uint16_t value) {
    const unsigned control = value >> 8;
    // No MOD_NOREPEAT: a system that counts it as part of the combination would then let a
    // second program take a key that another one holds. A held key only summons again.
    unsigned mods = 0;
    if (control & kHotKeyShift) mods |= kModShift;
    if (control & kHotKeyControl) mods |= kModControl;
    if (control & kHotKeyAlt) mods |= kModAlt;
    return mods; // kHotKeyExt only tells the extended keys apart: not a modifier
}
