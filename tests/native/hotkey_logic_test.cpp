// The summon key's stored value and the modifiers it is registered with.
#include "ui/bar/hotkey_logic.h"

#include <gtest/gtest.h>

TEST(HotKeyLogic, StoredValueAndModifiers) {
    struct Case {
        int stored;
        uint16_t value;
        unsigned vk, mods;
    } cases[] = {
        {0, 0, 0, 0},
        {0x64B, 0x64B, 'K', kModControl | kModAlt},             // Ctrl+Alt+K
        {0x170, 0x170, 0x70, kModShift},                        // Shift+F1
        {0xF41, 0xF41, 'A', kModShift | kModControl | kModAlt}, // ext bit dropped
        {0x600, 0, 0, 0},                                       // modifiers without a key: none
        {0x1064B, 0x64B, 'K', kModControl | kModAlt},           // low 16 bits only
        {-1, 0xFFFF, 0xFF, kModShift | kModControl | kModAlt},
    };
    for (const Case& c : cases) {
        const uint16_t v = HotKeyFromStored(c.stored);
        EXPECT_EQ(v, c.value) << c.stored;
        EXPECT_EQ(HotKeyVirtualKey(v), c.vk) << c.stored;
        EXPECT_EQ(HotKeyModifiers(v), c.mods) << c.stored;
    }
}
