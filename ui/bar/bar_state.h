// The search bar's own state: its controls, icons and registrations, kept in one object with
// its window (DWLP_USER), and the operations on it that the bar's files share.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/app_state.h"
#include "platform/handles.h"
#include "platform/suggest_fetch.h"
#include "ui/bar/history_complete.h"
#include "ui/common/window_helpers.h"

// The suggestions drop-down's rows: matching history, then a header, then the suggestions.
constexpr int kSuggestRowLimit = 8 + 1 + 8;
struct SuggestRow {
    enum class Kind : uint8_t { History, Header, Suggestion };
    Kind kind = Kind::History;
    WideKeyword text; // what goes into the box when the row is chosen
};
struct SuggestRows {
    int count = 0;
    SuggestRow rows[kSuggestRowLimit];
};
// The bar's timer that sends the request once typing has stopped, and the message by which
// the fetcher says that an answer has come (wParam: its generation).
constexpr UINT_PTR kSuggestTimer = 2;
constexpr UINT kSuggestionsArrived = WM_APP + 401;

struct SearchBar {
    SearchBar(AppState& state, bool startHidden) : app(state), stayHidden(startHidden) {}
    SearchBar(const SearchBar&) = delete;
    SearchBar& operator=(const SearchBar&) = delete;

    AppState& app;
    HWND wnd = nullptr;
    HWND keyword = nullptr;
    HWND mode = nullptr;
    HWND engine = nullptr;
    HWND cue = nullptr;     // the keyword cue's tip, owned by the bar (keyword_cue.h)
    bool cueRouted = false; // the box's text began with an engine keyword when last read
    UINT taskbarCreated = 0;
    UniqueIcon smallIcon; // also the tray icon
    UniqueIcon bigIcon;
    bool hideOnClose = false;
    // Set when the starting process asked for a hidden start (the browser bridge does): the
    // dialog manager's own first show is then refused until something restores the bar.
    bool stayHidden = false;
    // Set when the start asked for a minimised bar: its first show is made a minimise.
    bool startMinimized = false;
    bool shown = false;         // the bar has been shown once
    bool endingSession = false; // Windows ends the session: nothing may wait for the user
    uint16_t summonValue = 0;   // the summon key as registered now (0: none)
    HotKeyRegistration summonKey;
    uint16_t selectValue = 0; // the summon key that brings the selection, as registered now
    HotKeyRegistration selectKey;
    HistoryCompletion completion; // the past keywords offered while typing
    WindowSubclass pageKeys;      // the keyword box's page keys
    // Suggestions while typing (bar_suggest.h): the request in flight, the number of the
    // newest, the drop-down (a list owned by the bar) and its rows.
    SuggestFetcher suggestFetcher;
    uint32_t suggestGeneration = 0;
    HWND suggestList = nullptr;
    SuggestRows suggestRows;
    WindowSubclass suggestMouse;
    bool fillingBox = false; // the drop-down is putting a row's text into the box
};

// The selected engine, -1 for none.
int EngineSelection(const SearchBar& bar);
void SelectEngine(SearchBar& bar, int index);
// Enables the mode combo exactly when entry `index` offers the any-word URL.
void ApplyModeRule(SearchBar& bar, int index);
// Fills the engine combo with the active set and selects index (0 when out of range).
void FillEngineCombo(SearchBar& bar, int index);
// The current engine file's name ("" when the slot is out of range).
const char* CurrentFileName(const AppState& app);
// The engine last selected in an engine file (the SEFIndex section).
int StoredEngineIndex(const AppState& app, const char* fileName);
// Makes catalogue slot n the current engine file (message box when it does not load).
void SwitchEngineFile(SearchBar& bar, int n);
// Restores the search bar (SW_RESTORE); also ends a hidden start.
void RestoreSearchBar(SearchBar& bar);
// Restores the front dialog, else the bar, and returns it (nullptr before set-up).
HWND RestoreFront(SearchBar& bar);
// Restores the front dialog, else the bar, and makes it the foreground window.
void ActivateFront(SearchBar& bar);
// Registers the summon key (the hotkey control's value; 0 for none), replacing the one held:
// the plain one, or (withSelection) the one that brings the selection. False when another
// program holds it; the key held before then stays in force.
bool SetSummonHotKey(SearchBar& bar, uint16_t value, bool withSelection = false);
// Turns the history drop-down of the keyword box on or off as the settings say.
void UpdateHistoryCompletion(SearchBar& bar);
