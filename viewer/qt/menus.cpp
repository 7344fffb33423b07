#include "viewer/qt/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <cstring>

CommandActions BuildMenus(QMenuBar& bar, const std::function<void(Command)>& run)
{
    CommandActions actions;
    QMenu* menu = nullptr;
    const char* menuTitle = nullptr;
    for (int i = 0; i < MenuBarSize; i++) {
        const MenuItem& item = MenuBar[i];
        if (!menuTitle || std::strcmp(menuTitle, item.menu) != 0) {
            menuTitle = item.menu;
            menu = bar.addMenu(item.menu);
        }
        if (item.separatorBefore)
            menu->addSeparator();
        QAction* action = menu->addAction(item.text);
        action->setCheckable(item.checkable);
        action->setShortcut(QKeySequence(item.shortcut, QKeySequence::PortableText));
        Command command = item.command;
        QObject::connect(action, &QAction::triggered, action, [action, command, run](bool checked) {
            // Qt has just flipped the mark; the command sets it as it should be.
            if (action->isCheckable())
                action->setChecked(!checked);
            run(command);
        });
        actions[command] = action;
    }
    return actions;
}
