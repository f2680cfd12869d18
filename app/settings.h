// The settings file "vantu.ini" and its in-memory copy.
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
    uint16_t HotKey = 0;      // summon key, the hotkey control's value; 0: none (Window/HotKey)
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

extern Settings g_settings;

#ifdef _WIN32
#include <windows.h>
void LoadSettings();
void SaveSettings(HWND bar);
void WriteIntKey(const char* section, const char* key, int value);
#endif
