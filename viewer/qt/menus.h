// The menu bar built from the table in viewer/command.h.
#pragma once

#include "viewer/command.h"

#include <functional>
#include <map>

class QAction;
class QMenuBar;

using CommandActions = std::map<Command, QAction*>;

// Adds the menus and their items to the bar; each triggered item calls run.
// Check marks are never changed by a click: they show the viewer's state,
// which run then sets through the returned actions.
CommandActions BuildMenus(QMenuBar& bar, const std::function<void(Command)>& run);
