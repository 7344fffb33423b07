#include "viewer/commands.h"

#include "render/camera.h"
#include "render/scene.h"
#include "viewer/actor_commands.h"
#include "viewer/bvh_file_options.h"
#include "viewer/displayed_frame.h"
#include "viewer/engine_commands.h"
#include "viewer/file_commands.h"
#include "viewer/floor_options.h"
#include "viewer/input_options.h"
#include "viewer/text_format.h"

namespace {
using Flag = std::atomic<int> ViewerState::*;

struct CheckedFlag {
    Command command;
    Flag flag;
};

// The Options toggles: each command flips its flag.
constexpr CheckedFlag Toggles[] = {
    {Command::ShowAxes, &ViewerState::ShowAxes},
    {Command::ShowGrid, &ViewerState::ShowGrid},
    {Command::ShowFootShadow, &ViewerState::ShowFootShadow},
    {Command::ShowContactPoints, &ViewerState::ShowContactPoints},
    {Command::ShowNodes, &ViewerState::ShowNodes},
    {Command::ShowNodeNames, &ViewerState::ShowNodeNames},
    {Command::ForceAngleChannelsZero, &ViewerState::ForceAngleChannelsZero},
    {Command::ForcePositionChannelsZero, &ViewerState::ForcePositionChannelsZero},
    {Command::IgnoreLowerBody, &ViewerState::IgnoreLowerBody},
    {Command::LoopedPlayback, &ViewerState::Loop},
    {Command::ReportFrameRate, &ViewerState::ReportFrameRate},
    {Command::LookForSuitsOnStartup, &ViewerState::LookForSuitOnStartup},
    {Command::FollowCharacter, &ViewerState::FollowCharacter},
};

// The engine's modes, checked while they run; their commands are the engine's.
constexpr CheckedFlag EngineModes[] = {
    {Command::Live, &ViewerState::Live},
    {Command::Pause, &ViewerState::Paused},
    {Command::Play, &ViewerState::Playing},
    {Command::Record, &ViewerState::Recording},
};

struct RenderItem {
    Command command;
    int renderType;
};

constexpr RenderItem RenderItems[] = {
    {Command::RenderSolid, RenderSolid},
    {Command::RenderWireframe, RenderWireframe},
    {Command::RenderNothing, RenderNothing},
    {Command::DisplayRawChannels, RenderRawChannels},
};

void SetOption(ViewerState& state, Shell& shell, Command command)
{
    for (const CheckedFlag& toggle : Toggles)
        if (toggle.command == command)
            state.*toggle.flag = state.*toggle.flag == 0 ? 1 : 0;
    for (const RenderItem& item : RenderItems)
        if (item.command == command)
            state.RenderType = item.renderType;
    UpdateMenuChecks(state, shell);
}

void ShowAbout(Shell& shell)
{
    uint32_t version = VarnelVersion();
    shell.ShowAbout(FormatText("Varnview Version 2.556\nVarnel.dll Version %d.%d",
                               int(version & 0xffff), int(version >> 16)));
}
} // namespace

void UpdateMenuChecks(ViewerState& state, Shell& shell)
{
    for (const CheckedFlag& toggle : Toggles)
        shell.SetMenuCheck(toggle.command, state.*toggle.flag != 0);
    for (const RenderItem& item : RenderItems)
        shell.SetMenuCheck(item.command, state.RenderType == item.renderType);
    for (const CheckedFlag& mode : EngineModes)
        shell.SetMenuCheck(mode.command, state.*mode.flag != 0);
    shell.SetMenuCheck(Command::Stop, !state.Playing && !state.Recording);
    shell.Repaint();
}

void RunCommand(ViewerState& state, Shell& shell, Command command)
{
    switch (command) {
    case Command::Exit: shell.PostClose(); break;
    case Command::About: ShowAbout(shell); break;
    case Command::ZeroView:
        ZeroView(state.camera);
        shell.Repaint();
        break;
    case Command::CenterView: CenterView(state, shell); break;
    case Command::CenterSequence: CenterSequence(state, shell); break;
    case Command::Stop: StopCommand(state, shell); break;
    case Command::Play: PlayCommand(state, shell); break;
    case Command::Pause: PauseCommand(state, shell); break;
    case Command::Record: RecordCommand(state, shell); break;
    case Command::Live: LiveCommand(state, shell); break;

    case Command::Open: OpenMotionFile(state, shell); break;
    case Command::SaveAs: SaveTakeAs(state, shell); break;
    case Command::LoadActorFile: LoadActorFile(state, shell); break;
    case Command::StoreActorFile: StoreActorFile(state, shell); break;
    case Command::DefaultModel: DefaultModel(state, shell); break;

    case Command::InputOptions: RunInputOptions(state, shell); break;
    case Command::BvhFileOptions: RunBvhFileOptions(state, shell); break;
    case Command::AdjustFloorGeometry: RunFloorGeometry(state, shell); break;

    default: SetOption(state, shell, command); break; // the Options toggles and render items
    }
}
