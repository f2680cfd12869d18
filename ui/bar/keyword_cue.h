// The keyword cue: while the keyword box's text begins with an engine keyword, a small tip
// at the box names the engine (or the engines) that the search will use.
#pragma once
#include "ui/bar/bar_state.h"

// Shows, moves or hides the cue for the box's text as it is now; hidden while the bar is not
// the active window. The cue's tip window is made when first needed, owned by the bar.
void UpdateKeywordCue(SearchBar& bar);
// The same for the bar's activation and moves, which change neither the text nor the engines:
// the text is read again only when it began with a keyword the last time (every change of
// the text or of the engine file calls UpdateKeywordCue), else the cue only goes.
void FollowKeywordCue(SearchBar& bar);
void HideKeywordCue(SearchBar& bar);
