// The search bar's decisions: command ranges, page-key steps, start clamps, menu labels.
#include <gtest/gtest.h>

#include "ui/bar/bar_logic.h"

TEST(BarLogic, CommandRangesComeBeforeSingleIds) {
    const struct {
        int id, notification, engines;
        BarCommand command;
        int index;
    } cases[] = {
        {40100, 0, 5, BarCommand::EngineFile, 0}, {40131, 0, 5, BarCommand::EngineFile, 31},
        {40132, 0, 5, BarCommand::None, 0},       {40199, 0, 5, BarCommand::None, 0},
        {40200, 0, 5, BarCommand::History, 0},    {40249, 0, 5, BarCommand::History, 49},
        {40250, 0, 5, BarCommand::None, 0},       {40299, 0, 5, BarCommand::None, 0},
        {40300, 0, 5, BarCommand::Engine, 0},     {40304, 0, 5, BarCommand::Engine, 4},
        {40305, 0, 5, BarCommand::None, 0},       {40363, 0, 64, BarCommand::Engine, 63},
        {40364, 0, 64, BarCommand::None, 0},      {1000, 0, 5, BarCommand::Search, 0},
        {1005, 1, 5, BarCommand::EngineCombo, 0}, {1005, 0, 5, BarCommand::None, 0},
        {1005, 7, 5, BarCommand::None, 0},        {40001, 0, 5, BarCommand::Exit, 0},
        {40002, 0, 5, BarCommand::Help, 0},       {40003, 0, 5, BarCommand::About, 0},
        {40004, 0, 5, BarCommand::Settings, 0},   {40005, 0, 5, BarCommand::Editor, 0},
        {40000, 0, 5, BarCommand::None, 0},       {40006, 0, 5, BarCommand::None, 0},
        {2, 0, 5, BarCommand::None, 0},           {1, 0, 5, BarCommand::None, 0},
        {1001, 0x300, 5, BarCommand::None, 0},    {1000, 5, 5, BarCommand::Search, 0},
    };
    for (const auto& c : cases) {
        const BarCommandTarget t = ClassifyBarCommand(c.id, c.notification, c.engines);
        EXPECT_EQ(t.command, c.command) << c.id;
        EXPECT_EQ(t.index, c.index) << c.id;
    }
}

TEST(BarLogic, PageStepsNeverWrap) {
    const struct {
        int selection, step, count, target;
    } cases[] = {
        {0, -1, 5, -1}, {0, 1, 5, 1},   {3, 1, 5, 4},  {4, 1, 5, -1},   {4, -1, 5, 3},
        {0, 1, 1, -1},  {0, -1, 1, -1}, {-1, 1, 5, 0}, {-1, -1, 5, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageStepTarget(c.selection, c.step, c.count), c.target)
            << c.selection << " " << c.step << " " << c.count;
}

TEST(BarLogic, StartCoordinatesAreClamped) {
    const struct {
        int value, screen, lowest, expected;
    } cases[] = {
        {-280, 1280, kLowestPosX, -280}, {-281, 1280, kLowestPosX, 0},
        {1279, 1280, kLowestPosX, 1279}, {1280, 1280, kLowestPosX, 0},
        {-19, 800, kLowestPosY, -19},    {-20, 800, kLowestPosY, 0},
        {799, 800, kLowestPosY, 799},    {800, 800, kLowestPosY, 0},
        {0, 800, kLowestPosY, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampStartCoordinate(c.value, c.screen, c.lowest), c.expected) << c.value;
}

TEST(BarLogic, EngineFileLabelDropsTheExtension) {
    EXPECT_EQ(EngineFileLabel("標準.sef"), "標準");
    EXPECT_EQ(EngineFileLabel("a.sef"), "a");
    EXPECT_EQ(EngineFileLabel(".sef"), "");
    EXPECT_EQ(EngineFileLabel("ab"), "");
}
