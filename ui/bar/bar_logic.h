// Decisions of the search bar that need no Windows: command ranges, page-key steps,
// the start position and menu labels.
#pragma once
#include "base/text.h"
#include "engines/catalogue.h"

// What a WM_COMMAND id asks of the search bar. Ranges are told apart first, then single ids.
enum class BarCommand {
    None,       // ignored: the result is FALSE
    EngineFile, // switch to engine file `index`
    History,    // take history item `index`
    Engine,     // select engine `index` and search
    Search,     // the search button or Enter
    EngineCombo,
    Exit,
    Help,
    About,
    Settings,
    Editor,
};

struct BarCommandTarget {
    BarCommand command;
    int index;
};

// id and notification are the low and high words of wParam; engines is the number of
// entries of the active engine set.
BarCommandTarget ClassifyBarCommand(int id, int notification, int engines);

// The engine a page key moves to: selection + step when that stays within 0..count-1,
// else -1 (no wrap-around).
int PageStepTarget(int selection, int step, int count);

// Start position: a coordinate not below the screen size or below the lower limit
// (-280 across, -19 down) becomes 0.
int ClampStartCoordinate(int value, int screenSize, int lowest);
constexpr int kLowestPosX = -280;
constexpr int kLowestPosY = -19;
