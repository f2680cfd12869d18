#include "ui/bar/bar_logic.h"

#include <cstring>

#include "ui/common/resource.h"

BarCommandTarget ClassifyBarCommand(int id, int notification, int engines) {
    if (id >= IDM_ENGINE_FILE_FIRST && id <= IDM_ENGINE_FILE_LAST)
        return {BarCommand::EngineFile, id - IDM_ENGINE_FILE_FIRST};
    if (id >= IDM_HISTORY_FIRST && id <= IDM_HISTORY_LAST)
        return {BarCommand::History, id - IDM_HISTORY_FIRST};
    if (id >= IDM_ENGINE_FIRST && id < IDM_ENGINE_FIRST + engines)
        return {BarCommand::Engine, id - IDM_ENGINE_FIRST};
    switch (id) {
    case IDC_SEARCH:
        return {BarCommand::Search, 0};
    case IDC_ENGINE:
        if (notification == 1 /* CBN_SELCHANGE */) return {BarCommand::EngineCombo, 0};
        return {BarCommand::None, 0};
    case IDM_EXIT:
        return {BarCommand::Exit, 0};
    case IDM_HELP:
        return {BarCommand::Help, 0};
    case IDM_ABOUT:
        return {BarCommand::About, 0};
    case IDM_SETTINGS:
        return {BarCommand::Settings, 0};
    case IDM_EDITOR:
        return {BarCommand::Editor, 0};
    default:
        return {BarCommand::None, 0};
    }
}

int PageStepTarget(int selection, int step, int count) {
    const int j = selection + step;
    if (step > 0 && j < count) return j;
    if (step < 0 && j >= 0) return j;
    return -1;
}

int ClampStartCoordinate(int value, int screenSize, int lowest) {
    if (value >= screenSize || value < lowest) return 0;
    return value;
}
