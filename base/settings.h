// The in-memory copy of the settings file "vantu.ini" and its rules. No Windows needed.
#pragma once
#include <cstdint>

struct Settings {
    int32_t Count = 0;
    uint8_t ShowMode = 0;
    uint8_t Sound = 0;
    uint8_t TaskErase = 1;
    uint8_t TipMode = 0;
    uint8_t TrayMode = 0;
    uint8_t AutoSearch = 0;
    uint8_t Max = 0;
    uint8_t NotSaveDS = 0;
    uint8_t NotSaveIS = 0;
    uint8_t NotWinClose = 0;
    uint8_t AutoComplete = 0; // offer past keywords while typing (Search/AutoComplete)
    uint8_t Suggest = 0;      // ask the engine for suggestions while typing (Search/Suggest)
    uint8_t SuggestTold = 0;  // the user has been told where the typed text goes (Search/SuggestTold)
    uint16_t HotKey = 0;      // summon key, the hotkey control's value; 0: none (Window/HotKey)
    uint16_t SelectHotKey = 0; // summon key that brings the selection (Window/SelectHotKey)
    char Browser[260] = {};
    char DefaultSEF[260] = {};
};

// Without a tray icon the bar must never hide itself: no hide on minimise or close.
inline void ApplyTrayModeRule(Settings& s) {
    if (s.TrayMode) {
        s.TaskErase = 0;
        s.NotWinClose = 0;
    }
}

// The stored summon key as the program uses it: its low 16 bits (the hotkey control's value,
// low byte the virtual key); a value without a key is no summon key at all.
constexpr uint16_t HotKeyFromStored(int stored) {
    return (stored & 0xFF) == 0 ? 0 : static_cast<uint16_t>(stored & 0xFFFF);
}
