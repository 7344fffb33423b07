#include "viewer/command.h"

const MenuItem MenuBar[] = {
    {"&File", Command::Open, "&Open...", "Ctrl+O", false, false},
    {"&File", Command::SaveAs, "Save &As...", "Ctrl+A", false, false},
    {"&File", Command::LoadActorFile, "&Load Actor File...", "Ctrl+L", false, false},
    {"&File", Command::StoreActorFile, "Store Actor &File...", "", false, false},
    {"&File", Command::About, "A&bout Varnview...", "", false, true},
    {"&File", Command::Exit, "E&xit", "Alt+X", false, false},

    {"&Options", Command::ShowAxes, "Show &Axes", "A", true, false},
    {"&Options", Command::ShowGrid, "Show &Grid", "G", true, false},
    {"&Options", Command::ShowFootShadow, "Show Foot Sha&dow", "", true, false},
    {"&Options", Command::ShowContactPoints, "Show &Contact Points", "", true, false},
    {"&Options", Command::ShowNodes, "&Show Nodes", "", true, false},
    {"&Options", Command::ShowNodeNames, "Show &Node Names", "", true, false},
    {"&Options", Command::ForceAngleChannelsZero, "Force AngleChannels to &Zero", "", true, false},
    {"&Options", Command::ForcePositionChannelsZero, "&Force Position Channels to Zero", "", true,
     false},
    {"&Options", Command::IgnoreLowerBody, "Ignore Lower Bod&y", "", true, false},
    {"&Options", Command::LoopedPlayback, "Looped &Playback", "", true, false},
    {"&Options", Command::ReportFrameRate, "&Report Frame Rate", "", true, false},
    {"&Options", Command::LookForSuitsOnStartup, "&Look For Suits On Startup", "", true, false},
    {"&Options", Command::FollowCharacter, "Follow C&haracter", "F", true, false},
    {"&Options", Command::RenderSolid, "Render S&olid", "", true, true},
    {"&Options", Command::RenderWireframe, "Render &Wireframe", "", true, false},
    {"&Options", Command::RenderNothing, "Render No&thing", "", true, false},
    {"&Options", Command::DisplayRawChannels, "Display Raw Channels", "", true, false},
    {"&Options", Command::InputOptions, "&Input Options...", "", false, true},
    {"&Options", Command::BvhFileOptions, "&BVH File Options...", "", false, false},

    {"&Actions", Command::Stop, "&Stop", "Esc", true, false},
    {"&Actions", Command::Play, "&Play", "P", true, false},
    {"&Actions", Command::Pause, "Pause", "Space", true, false},
    {"&Actions", Command::Record, "&Record", "Alt+R", true, false},
    {"&Actions", Command::Live, "&Live", "L", true, true},
    {"&Actions", Command::ZeroView, "&Zero View", "Z", false, true},
    {"&Actions", Command::CenterView, "Center &View", "C", false, false},
    {"&Actions", Command::CenterSequence, "Center Se&quence", "S", false, false},
    {"&Actions", Command::DefaultModel, "&Default Model", "D", false, false},
    {"&Actions", Command::AdjustFloorGeometry, "Adjust &Floor Geometry...", "Ctrl+F", false, false},
};

const int MenuBarSize = int(sizeof MenuBar / sizeof MenuBar[0]);
