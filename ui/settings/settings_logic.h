// Decisions of the settings sheet that need no Windows: what the pages' ticks and texts
// make of the settings, the browser label and the history editor's button states.
#pragma once
#include <cstddef>

#include "base/settings.h"

// The ticks of the 全般 page.
struct GeneralChoices {
    bool topmost;     // 1033
    bool tray;        // 1011 (ticked when there is a tray icon)
    bool hideOnMin;   // 1009
    bool hideOnClose; // 1017
    bool noTips;      // 1016
};
// Confirming the 全般 page: without a tray icon the bar never hides itself.
void ApplyGeneralChoices(Settings& s, const GeneralChoices& c);

// The history size the 検索 page confirms: 0 when the box is unticked; otherwise the low
// 8 bits of the typed number, with 0 (also an empty box) giving 10 and above 50 giving 50.
unsigned char HistorySizeFromInput(bool ticked, int typed);

// The part of a path after its last backslash; a trail byte 0x5C of a double-byte
// character is not a backslash. A path without a backslash is returned whole.
const char* FileNamePart(const char* path);

// Which buttons of the history editor are disabled for a list of `count` items. The page
// only ever disables: a state once off stays off while the page is open.
struct HistoryButtons {
    bool deleteOff; // 1027 and 1028
    bool moveOff;   // 1031 and 1032
};
HistoryButtons HistoryButtonsFor(int count);
// The item selected after item n of a list that now has `count` items was deleted:
// n, or n - 1 when n was the last item; -1 when the list is empty.
int SelectionAfterDelete(int n, int count);
// The item a move from n goes to (step -1 up, +1 down), or -1 when it cannot move.
int MoveTarget(int n, int step, int count);
