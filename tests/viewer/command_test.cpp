#include "viewer/commands.h"

#include "tests/viewer/viewer_test_support.h"

#include <set>

namespace {
using CommandTest = ViewerTest;

TEST_F(CommandTest, EveryOptionsToggleFlipsOnlyItsOwnCheckMark)
{
    const std::pair<Command, bool> toggles[] = {
        {Command::ShowAxes, true},
        {Command::ShowGrid, true},
        {Command::ShowFootShadow, true},
        {Command::ShowContactPoints, true},
        {Command::ShowNodes, false},
        {Command::ShowNodeNames, false},
        {Command::ForceAngleChannelsZero, false},
        {Command::ForcePositionChannelsZero, false},
        {Command::IgnoreLowerBody, false},
        {Command::LoopedPlayback, true},
        {Command::ReportFrameRate, false},
        {Command::LookForSuitsOnStartup, true},
        {Command::FollowCharacter, false},
    };
    UpdateMenuChecks(state, shell);
    const std::map<Command, bool> defaults = shell.menuChecks;
    for (auto [command, checkedByDefault] : toggles) {
        EXPECT_EQ(defaults.at(command), checkedByDefault) << int(command);
        RunCommand(state, shell, command);
        std::map<Command, bool> flipped = defaults;
        flipped[command] = !checkedByDefault;
        EXPECT_EQ(shell.menuChecks, flipped) << int(command);
        RunCommand(state, shell, command);
        EXPECT_EQ(shell.menuChecks, defaults) << int(command);
    }
    EXPECT_EQ(shell.repaints, 1 + 2 * 13);
}

TEST_F(CommandTest, RenderItemsActAsOneRadioGroup)
{
    const std::pair<Command, int> items[] = {{Command::RenderSolid, 2},
                                             {Command::RenderWireframe, 1},
                                             {Command::RenderNothing, 0},
                                             {Command::DisplayRawChannels, 3}};
    for (auto [chosen, renderType] : items) {
        RunCommand(state, shell, chosen);
        EXPECT_EQ(state.RenderType, renderType);
        for (auto [item, unused] : items)
            EXPECT_EQ(shell.menuChecks[item], item == chosen) << int(chosen) << " " << int(item);
    }
}

TEST_F(CommandTest, EngineChecksFollowTheModesAndStopIsCheckedWhenIdle)
{
    const std::tuple<int, int, int, int> modes[] = {// live, playing, paused, recording
                                                    {1, 0, 0, 0},
                                                    {0, 1, 1, 0},
                                                    {0, 0, 1, 1}};
    for (auto [live, playing, paused, recording] : modes) {
        state.Live = live, state.Playing = playing, state.Paused = paused;
        state.Recording = recording;
        UpdateMenuChecks(state, shell);
        std::map<Command, bool> checks = shell.menuChecks;
        EXPECT_EQ(
            (std::vector<bool>{checks[Command::Live], checks[Command::Play], checks[Command::Pause],
                               checks[Command::Record], checks[Command::Stop]}),
            (std::vector<bool>{live != 0, playing != 0, paused != 0, recording != 0,
                               !playing && !recording}));
    }
}

TEST_F(CommandTest, MenuBarHoldsEveryCommandOnceAndChecksExactlyTheCheckableItems)
{
    UpdateMenuChecks(state, shell);
    std::set<Command> commands;
    std::set<std::string> shortcuts;
    for (int i = 0; i < MenuBarSize; i++) {
        const MenuItem& item = MenuBar[i];
        EXPECT_TRUE(commands.insert(item.command).second) << item.text;
        if (*item.shortcut) {
            EXPECT_TRUE(shortcuts.insert(item.shortcut).second) << item.shortcut;
        }
        EXPECT_EQ(item.checkable, shell.menuChecks.count(item.command) == 1) << item.text;
    }
    EXPECT_EQ(commands.size(), size_t(Command::AdjustFloorGeometry) + 1);
    EXPECT_EQ(shortcuts.size(), 17u);
}

TEST_F(CommandTest, AboutShowsBothVersionsAndExitAsksToClose)
{
    RunCommand(state, shell, Command::About);
    EXPECT_EQ(shell.aboutTexts,
              std::vector<std::string>{"Varnview Version 2.556\nVarnel.dll Version 2.556"});
    RunCommand(state, shell, Command::Exit);
    EXPECT_EQ(shell.closeRequests, 1);
}
} // namespace
