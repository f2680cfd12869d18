// The keyword cue: while the keyword box's text begins with an engine keyword, a small tip
// at the box names the engine (or the engines) that the search will use.
#pragma once
#include "ui/bar/bar_state.h"

// Shows, moves or hides the cue for the box's text as it is now; hidden while the bar is not
// the active window. The cue's tip window is made when first needed, owned by the bar.
void UpdateKeywordCue(SearchBar& bar);
void HideKeywordCue(SearchBar& bar);
