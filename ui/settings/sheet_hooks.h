// What a page of the settings sheet may ask of the search bar that owns the sheet: handed
// down by the bar, so that no page reaches up into it.
#pragma once
#include <cstdint>

struct SheetHooks {
    void* bar = nullptr;
    // Registers a summon key (the hotkey control's value; 0 for none) in place of the one
    // held: the plain one, or (withSelection) the one that brings the selection. False when
    // another program holds it; the key held before then stays in force.
    bool (*setSummonKey)(void* bar, bool withSelection, uint16_t value) = nullptr;
};
