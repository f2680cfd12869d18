#include "platform/settings_file.h"

#include "base/text.h"
#include "history/history_store.h"
#include "platform/profile_file.h"

namespace {

uint8_t ReadFlag(const ProfileDocument& doc, const char* section, const char* key, int def) {
    return LowByte8(doc.GetInt(section, key, def));
}

bool SetInt(ProfileDocument& doc, const char* section, const char* key, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    return doc.Set(section, key, text);
}

// Keys that only the additions to the sheet use are written while they are on and removed
// while they are off, so a file of someone who never used them stays as it was.
bool SetOptionalInt(ProfileDocument& doc, const char* section, const char* key, int value) {
    if (value) return SetInt(doc, section, key, value);
    doc.Remove(section, key); // removing a key that is not there is no failure
    return true;
}

} // namespace

void LoadSettings(Settings& s, const wchar_t* iniPath) {
    ProfileDocument doc;
    LoadProfileFile(iniPath, doc);
    doc.Get("Search", "Browser", s.Browser, sizeof s.Browser);
    doc.Get("Search", "DefaultSEF", s.DefaultSEF, sizeof s.DefaultSEF);
    s.Count = doc.GetInt("Search", "Count", 0);
    s.ShowMode = ReadFlag(doc, "Window", "ShowMode", 0);
    s.Sound = ReadFlag(doc, "Search", "Sound", 0);
    s.Max = ReadFlag(doc, "History", "Max", 0);
    s.AutoSearch = ReadFlag(doc, "Search", "AutoSearch", 0);
    s.NotSaveDS = ReadFlag(doc, "Search", "NotSaveDS", 0);
    s.NotSaveIS = ReadFlag(doc, "Search", "NotSaveIS", 0);
    s.TaskErase = ReadFlag(doc, "Window", "TaskErase", 1);
    s.TipMode = ReadFlag(doc, "Window", "TipMode", 0);
    s.TrayMode = ReadFlag(doc, "Window", "TrayMode", 0);
    s.NotWinClose = ReadFlag(doc, "Window", "NotWinClose", 0);
    s.AutoComplete = ReadFlag(doc, "Search", "AutoComplete", 0);
    s.Suggest = ReadFlag(doc, "Search", "Suggest", 0);
    s.SuggestTold = ReadFlag(doc, "Search", "SuggestTold", 0);
    s.HotKey = HotKeyFromStored(doc.GetInt("Window", "HotKey", 0));
    s.SelectHotKey = HotKeyFromStored(doc.GetInt("Window", "SelectHotKey", 0));
    ApplyTrayModeRule(s);
}

POINT RestoredPosition(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {wp.rcNormalPosition.left + work.left, wp.rcNormalPosition.top + work.top};
}

void LoadHistoryFile(SearchHistory& history, uint8_t& max, const wchar_t* iniPath) {
    ProfileDocument doc;
    LoadProfileFile(iniPath, doc);
    LoadHistory(history, max, doc);
}

bool SaveSettings(const Settings& s, const wchar_t* iniPath, const BarSnapshot& bar,
                  const SearchHistory& history) {
    // A file that is there but cannot be read (or is not Shift-JIS text) is left as it is:
    // writing only what the program knows would lose the rest.
    ProfileDocument doc;
    if (!LoadProfileFile(iniPath, doc)) return false;
    bool ok = SetInt(doc, "Window", "ShowMode", s.ShowMode);
    ok &= SetInt(doc, "Window", "NotWinClose", s.NotWinClose);
    ok &= SetInt(doc, "Search", "Sound", s.Sound);
    ok &= SetInt(doc, "Search", "AutoSearch", s.AutoSearch);
    ok &= SetInt(doc, "Window", "TaskErase", s.TaskErase);
    ok &= SetInt(doc, "Window", "TrayMode", s.TrayMode);
    ok &= SetInt(doc, "Window", "TipMode", s.TipMode);
    ok &= SetInt(doc, "Window", "PosX", bar.position.x);
    ok &= SetInt(doc, "Window", "PosY", bar.position.y);
    ok &= SetOptionalInt(doc, "Window", "HotKey", s.HotKey);
    ok &= SetOptionalInt(doc, "Window", "SelectHotKey", s.SelectHotKey);
    ok &= SetOptionalInt(doc, "Search", "AutoComplete", s.AutoComplete);
    ok &= SetOptionalInt(doc, "Search", "Suggest", s.Suggest);
    ok &= SetOptionalInt(doc, "Search", "SuggestTold", s.SuggestTold);
    ok &= doc.Set("Search", "Browser", std::string_view(s.Browser, FieldLength(s.Browser, 260)));
    const char* current = bar.currentFile ? bar.currentFile : "";
    if (!s.NotSaveDS) ok &= doc.Set("Search", "DefaultSEF", current);
    ok &= SetInt(doc, "Search", "Count", s.Count);
    if (!s.NotSaveIS && current[0] != '\0')
        ok &= SetInt(doc, "SEFIndex", current, bar.engineSelection);
    // The history section holds its size and the entries of now only.
    doc.ClearSection("History");
    ok &= SetInt(doc, "History", "Max", s.Max);
    ok &= SaveHistory(history, s.Max, doc);
    return SaveProfileFile(iniPath, doc) && ok;
}
