// The commands of the menu bar and the accelerators, and the menu bar as
// data: the window builds its menus from this table, so texts, shortcuts
// and check marks live in one place.
#pragma once

enum class Command {
    Open,
    SaveAs,
    LoadActorFile,
    StoreActorFile,
    About,
    Exit,
    ShowAxes,
    ShowGrid,
    ShowFootShadow,
    ShowContactPoints,
    ShowNodes,
    ShowNodeNames,
    ForceAngleChannelsZero,
    ForcePositionChannelsZero,
    IgnoreLowerBody,
    LoopedPlayback,
    ReportFrameRate,
    LookForSuitsOnStartup,
    FollowCharacter,
    RenderSolid,
    RenderWireframe,
    RenderNothing,
    DisplayRawChannels,
    InputOptions,
    BvhFileOptions,
    Stop,
    Play,
    Pause,
    Record,
    Live,
    ZeroView,
    CenterView,
    CenterSequence,
    DefaultModel,
    AdjustFloorGeometry,
};

struct MenuItem {
    const char* menu; // "&File", "&Options", "&Actions"
    Command command;
    const char* text; // with its "&" mnemonic
    // In the toolkit-neutral form "Ctrl+O", "A", "Esc"; "" for none. A plain
    // letter acts without a modifier key.
    const char* shortcut;
    bool checkable;
    bool separatorBefore;
};

// The menu bar, menu by menu, items in order.
extern const MenuItem MenuBar[];
extern const int MenuBarSize;
