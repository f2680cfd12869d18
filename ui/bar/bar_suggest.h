// Suggestions while typing: the engine's own suggestions for the typed text, fetched off the
// bar's thread and shown in a drop-down below the keyword box with the matching history rows
// above them. Only while the settings say so; nothing is sent for an empty box, text longer
// than 100 characters, text being composed by the input method, or an engine without a
// suggestion URL.
#pragma once
#include "ui/bar/bar_state.h"

// The keyword box's text changed: the drop-down shows the history rows that match at once,
// and the request for suggestions goes out once typing has stopped for 100 ms.
void KeywordChangedForSuggestions(SearchBar& bar);
// The 100 ms have passed: the request goes out (kSuggestTimer).
void RequestSuggestions(SearchBar& bar);
// The fetcher answered (kSuggestionsArrived): the newest answer only is shown.
void ShowArrivedSuggestions(SearchBar& bar, uint32_t generation);
// Cancels what is in flight and closes the drop-down (a search, another engine file, the
// editor, the settings, the bar going inactive, the exit).
void StopSuggestions(SearchBar& bar);
// The keyword box's keys while the drop-down is open: Up and Down choose a row and put its
// text into the box, Escape closes it. True when the key was taken.
bool SuggestionKey(SearchBar& bar, UINT vk);
// Whether the drop-down is shown.
bool SuggestionsOpen(const SearchBar& bar);
