#include "platform/settings_file.h"

#include "base/text.h"

namespace {

int ReadInt(const char* iniPath, const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, iniPath));
}

uint8_t ReadFlag(const char* iniPath, const char* section, const char* key, int def) {
    return LowByte8(ReadInt(iniPath, section, key, def));
}

// Keys that only the additions to the sheet use are written while they are on and removed
// while they are off, so a file of someone who never used them stays as it was.
bool WriteOptionalKey(const char* iniPath, const char* section, const char* key, int value) {
    if (value) return WriteIntKey(iniPath, section, key, value);
    // Removing a key that is not there is no failure.
    WritePrivateProfileStringA(section, key, nullptr, iniPath);
    return true;
}

} // namespace

bool WriteIntKey(const char* iniPath, const char* section, const char* key, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    return WritePrivateProfileStringA(section, key, text, iniPath) != FALSE;
}

void LoadSettings(Settings& s, const char* iniPath) {
    GetPrivateProfileStringA("Search", "Browser", "", s.Browser, sizeof s.Browser, iniPath);
    GetPrivateProfileStringA("Search", "DefaultSEF", "", s.DefaultSEF, sizeof s.DefaultSEF,
                             iniPath);
    s.Count = ReadInt(iniPath, "Search", "Count", 0);
    s.ShowMode = ReadFlag(iniPath, "Window", "ShowMode", 0);
    s.Sound = ReadFlag(iniPath, "Search", "Sound", 0);
    s.Max = ReadFlag(iniPath, "History", "Max", 0);
    s.AutoSearch = ReadFlag(iniPath, "Search", "AutoSearch", 0);
    s.NotSaveDS = ReadFlag(iniPath, "Search", "NotSaveDS", 0);
    s.NotSaveIS = ReadFlag(iniPath, "Search", "NotSaveIS", 0);
    s.TaskErase = ReadFlag(iniPath, "Window", "TaskErase", 1);
    s.TipMode = ReadFlag(iniPath, "Window", "TipMode", 0);
    s.TrayMode = ReadFlag(iniPath, "Window", "TrayMode", 0);
    s.NotWinClose = ReadFlag(iniPath, "Window", "NotWinClose", 0);
    s.AutoComplete = ReadFlag(iniPath, "Search", "AutoComplete", 0);
    s.HotKey = HotKeyFromStored(ReadInt(iniPath, "Window", "HotKey", 0));
    ApplyTrayModeRule(s);
}

POINT RestoredPosition(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return {wp.rcNormalPosition.left + work.left, wp.rcNormalPosition.top + work.top};
}

bool SaveSettings(const Settings& s, const char* iniPath, const BarSnapshot& bar) {
    bool ok = WriteIntKey(iniPath, "Window", "ShowMode", s.ShowMode);
    ok &= WriteIntKey(iniPath, "Window", "NotWinClose", s.NotWinClose);
    ok &= WriteIntKey(iniPath, "Search", "Sound", s.Sound);
    ok &= WriteIntKey(iniPath, "Search", "AutoSearch", s.AutoSearch);
    ok &= WriteIntKey(iniPath, "Window", "TaskErase", s.TaskErase);
    ok &= WriteIntKey(iniPath, "Window", "TrayMode", s.TrayMode);
    ok &= WriteIntKey(iniPath, "Window", "TipMode", s.TipMode);
    ok &= WriteIntKey(iniPath, "Window", "PosX", bar.position.x);
    ok &= WriteIntKey(iniPath, "Window", "PosY", bar.position.y);
    ok &= WriteOptionalKey(iniPath, "Window", "HotKey", s.HotKey);
    ok &= WriteOptionalKey(iniPath, "Search", "AutoComplete", s.AutoComplete);
    ok &= WritePrivateProfileStringA("Search", "Browser", s.Browser, iniPath) != FALSE;
    const char* current = bar.currentFile ? bar.currentFile : "";
    if (!s.NotSaveDS)
        ok &= WritePrivateProfileStringA("Search", "DefaultSEF", current, iniPath) != FALSE;
    ok &= WriteIntKey(iniPath, "Search", "Count", s.Count);
    if (!s.NotSaveIS && current[0] != '\0')
        ok &= WriteIntKey(iniPath, "SEFIndex", current, bar.engineSelection);
    // An empty section string ("\0\0") replaces the content with nothing.
    ok &= WritePrivateProfileSectionA("History", "\0", iniPath) != FALSE;
    ok &= WriteIntKey(iniPath, "History", "Max", s.Max);
    return ok;
}
