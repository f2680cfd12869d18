#include "app/settings.h"

#include "app/globals.h"
#include "app/text.h"
#include "engines/engine_files.h"
#include "ui/hotkey_logic.h"
#include "ui/resource.h"

Settings g_settings;

namespace {

int ReadInt(const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, g_iniPath));
}

uint8_t ReadFlag(const char* section, const char* key, int def) {
    return LowByte8(ReadInt(section, key, def));
}

// Keys that only the additions to the sheet use are written while they are on and removed
// while they are off, so a file of someone who never used them stays as it was.
void WriteOptionalKey(const char* section, const char* key, int value) {
    if (value)
        WriteIntKey(section, key, value);
    else
        WritePrivateProfileStringA(section, key, nullptr, g_iniPath);
}

} // namespace

void WriteIntKey(const char* section, const char* key, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    WritePrivateProfileStringA(section, key, text, g_iniPath);
}

void LoadSettings() {
    Settings& s = g_settings;
    GetPrivateProfileStringA("Search", "Browser", "", s.Browser, sizeof s.Browser, g_iniPath);
    GetPrivateProfileStringA("Search", "DefaultSEF", "", s.DefaultSEF, sizeof s.DefaultSEF,
                             g_iniPath);
    s.Count = ReadInt("Search", "Count", 0);
    s.ShowMode = ReadFlag("Window", "ShowMode", 0);
    s.Sound = ReadFlag("Search", "Sound", 0);
    s.Max = ReadFlag("History", "Max", 0);
    s.AutoSearch = ReadFlag("Search", "AutoSearch", 0);
    s.NotSaveDS = ReadFlag("Search", "NotSaveDS", 0);
    s.NotSaveIS = ReadFlag("Search", "NotSaveIS", 0);
    s.TaskErase = ReadFlag("Window", "TaskErase", 1);
    s.TipMode = ReadFlag("Window", "TipMode", 0);
    s.TrayMode = ReadFlag("Window", "TrayMode", 0);
    s.NotWinClose = ReadFlag("Window", "NotWinClose", 0);
    s.AutoComplete = ReadFlag("Search", "AutoComplete", 0);
    s.HotKey = HotKeyFromStored(ReadInt("Window", "HotKey", 0));
    ApplyTrayModeRule(s);
}

void SaveSettings(HWND bar) {
    const Settings& s = g_settings;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(bar, &wp);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    WriteIntKey("Window", "ShowMode", s.ShowMode);
    WriteIntKey("Window", "NotWinClose", s.NotWinClose);
    WriteIntKey("Search", "Sound", s.Sound);
    WriteIntKey("Search", "AutoSearch", s.AutoSearch);
    WriteIntKey("Window", "TaskErase", s.TaskErase);
    WriteIntKey("Window", "TrayMode", s.TrayMode);
    WriteIntKey("Window", "TipMode", s.TipMode);
    WriteIntKey("Window", "PosX", wp.rcNormalPosition.left + work.left);
    WriteIntKey("Window", "PosY", wp.rcNormalPosition.top + work.top);
    WriteOptionalKey("Window", "HotKey", s.HotKey);
    WriteOptionalKey("Search", "AutoComplete", s.AutoComplete);
    WritePrivateProfileStringA("Search", "Browser", s.Browser, g_iniPath);
    const char* current = "";
    if (g_catalogue.current >= 0 && g_catalogue.current < kMaxEngineFiles)
        current = g_catalogue.names[g_catalogue.current];
    if (!s.NotSaveDS) WritePrivateProfileStringA("Search", "DefaultSEF", current, g_iniPath);
    WriteIntKey("Search", "Count", s.Count);
    if (!s.NotSaveIS && current[0] != '\0') {
        const int sel = static_cast<int>(SendDlgItemMessageA(bar, IDC_ENGINE, CB_GETCURSEL, 0, 0));
        WriteIntKey("SEFIndex", current, sel);
    }
    // An empty section string ("\0\0") replaces the content with nothing.
    WritePrivateProfileSectionA("History", "\0", g_iniPath);
    WriteIntKey("History", "Max", s.Max);
}
