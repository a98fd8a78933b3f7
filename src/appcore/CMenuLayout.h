#pragma once

#include <string>
#include <vector>

// One entry of a menu: an item (language key from section "MENU" and command id), a
// separator, or a pop-up (caption key and its entries).
struct MenuEntry {
    enum Kind { Item, Separator, Popup };
    Kind kind = Item;
    std::string key;
    int command = 0;
    std::vector<MenuEntry> children;
};

// The contents of the program's menus. Each function returns the top-level pop-ups in order;
// the user interface turns them into real menus with the texts of the keys.
class CMenuLayout {
public:
    // Used while no child window is open.
    static std::vector<MenuEntry> MainFrameMenu();
    static std::vector<MenuEntry> MeasurementFrameMenu();
    static std::vector<MenuEntry> HistoryFrameMenu();
    // Pop-up 0 for the measurement screens, pop-up 1 for the history viewer.
    static std::vector<MenuEntry> ContextMenus();
};
