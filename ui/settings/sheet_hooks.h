// What a page of the settings sheet may ask of the search bar that owns the sheet: handed
// down by the bar, so that no page reaches up into it.
#pragma once
#include <cstdint>

struct SheetHooks {
    void* bar = nullptr;
    // Registers the summon key (the hotkey control's value; 0 for none) in place of the one
    // held. False when another program holds it; the key held before then stays in force.
    bool (*setSummonKey)(void* bar, uint16_t value) = nullptr;
};
