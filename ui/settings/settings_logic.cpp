#include "ui/settings/settings_logic.h"

#include "base/text.h"

void ApplyGeneralChoices(Settings& s, const GeneralChoices& c) {
    s.TrayMode = c.tray ? 0 : 1;
    s.TaskErase = c.hideOnMin ? 1 : 0;
    s.NotWinClose = c.hideOnClose ? 1 : 0;
    ApplyTrayModeRule(s);
    s.TipMode = c.noTips ? 1 : 0;
    s.ShowMode = c.topmost ? 1 : 0;
}

unsigned char HistorySizeFromInput(bool ticked, int typed) {
    if (!ticked) return 0;
    const unsigned char v = LowByte8(typed);
    if (v == 0) return 10;
    if (v > 50) return 50;
    return v;
}

const char* FileNamePart(const char* path) {
    const char* part = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsLeadByte(static_cast<unsigned char>(*p))) {
            if (p[1] == '\0') break; // a lone lead byte at the end is no character
            ++p;
        } else if (*p == '\\') {
            part = p + 1;
        }
    }
    return part;
}

HistoryButtons HistoryButtonsFor(int count) {
    return {count <= 0, count <= 1};
}

int SelectionAfterDelete(int n, int count) {
    if (count <= 0) return -1;
    return n < count ? n : count - 1;
}

int MoveTarget(int n, int step, int count) {
    if (n < 0 || n >= count) return -1;
    const int target = n + step;
    return target >= 0 && target < count ? target : -1;
}
