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
void WriteOptionalKey(const char* iniPath, const char* section, const char* key, int value) {
    if (value)
        WriteIntKey(iniPath, section, key, value);
    else
        WritePrivateProfileStringA(section, key, nullptr, iniPath);
}

} // namespace

void WriteIntKey(const char* iniPath, const char* section, const char* key, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    WritePrivateProfileStringA(section, key, text, iniPath);
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

void SaveSettings(const Settings& s, const char* iniPath, const BarSnapshot& bar) {
    WriteIntKey(iniPath, "Window", "ShowMode", s.ShowMode);
    WriteIntKey(iniPath, "Window", "NotWinClose", s.NotWinClose);
    WriteIntKey(iniPath, "Search", "Sound", s.Sound);
    WriteIntKey(iniPath, "Search", "AutoSearch", s.AutoSearch);
    WriteIntKey(iniPath, "Window", "TaskErase", s.TaskErase);
    WriteIntKey(iniPath, "Window", "TrayMode", s.TrayMode);
    WriteIntKey(iniPath, "Window", "TipMode", s.TipMode);
    WriteIntKey(iniPath, "Window", "PosX", bar.position.x);
    WriteIntKey(iniPath, "Window", "PosY", bar.position.y);
    WriteOptionalKey(iniPath, "Window", "HotKey", s.HotKey);
    WriteOptionalKey(iniPath, "Search", "AutoComplete", s.AutoComplete);
    WritePrivateProfileStringA("Search", "Browser", s.Browser, iniPath);
    const char* current = bar.currentFile ? bar.currentFile : "";
    if (!s.NotSaveDS) WritePrivateProfileStringA("Search", "DefaultSEF", current, iniPath);
    WriteIntKey(iniPath, "Search", "Count", s.Count);
    if (!s.NotSaveIS && current[0] != '\0')
        WriteIntKey(iniPath, "SEFIndex", current, bar.engineSelection);
    // An empty section string ("\0\0") replaces the content with nothing.
    WritePrivateProfileSectionA("History", "\0", iniPath);
    WriteIntKey(iniPath, "History", "Max", s.Max);
}
