#pragma once

#include "appcore/CMenuLayout.h"

#include <vector>

class CCommandActions;
class QMenu;

// Turns the menu layouts into Qt menus with the texts of the language file. Each builder
// either refills the menu it is given (removing every item first) or, given nothing, creates
// a new menu that the caller owns. The top-level pop-ups are the actions of the returned menu.
// With command actions given, the items trigger and mirror the shared commands and every
// pop-up asks for fresh command states before it opens; without, each item only carries its
// command id as data.
class CMenuBuilder {
public:
    static QMenu* BuildMainFrameMenu(QMenu* menu, CCommandActions* actions);
    static QMenu* BuildMeasurementFrameMenu(QMenu* menu, CCommandActions* actions);
    static QMenu* BuildHistoryFrameMenu(QMenu* menu, CCommandActions* actions);
    static QMenu* BuildContextMenus(QMenu* menu, CCommandActions* actions);

    // The command id an item carries, or 0 for separators and pop-ups.
    static int CommandOf(const class QAction* item);

private:
    static QMenu* Build(QMenu* menu, const std::vector<MenuEntry>& layout, CCommandActions* actions);
    static void Clear(QMenu& menu);
    static void Fill(QMenu& menu, const std::vector<MenuEntry>& entries, CCommandActions* actions);
};
