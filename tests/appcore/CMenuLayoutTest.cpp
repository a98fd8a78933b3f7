#include "appcore/CMenuLayout.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// "KEY{child,child}" for pop-ups, "KEY:id" for items, "-" for separators.
std::string Describe(const std::vector<MenuEntry>& entries) {
    std::string text;
    for (const MenuEntry& entry : entries) {
        if (!text.empty())
            text += ",";
        if (entry.kind == MenuEntry::Separator)
            text += "-";
        else if (entry.kind == MenuEntry::Item)
            text += entry.key + ":" + std::to_string(entry.command);
        else
            text += entry.key + "{" + Describe(entry.children) + "}";
    }
    return text;
}

void CollectItems(const std::vector<MenuEntry>& entries, std::vector<const MenuEntry*>& items) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Item)
            items.push_back(&entry);
        CollectItems(entry.children, items);
    }
}

const std::string kModes =
    "MENU_MAINFRAME_MODE{MF_ID_MODE_AVGPEAK:32898,MF_ID_MODE_AVG:32880,MF_ID_MODE_PEAK:32881,"
    "MF_ID_MODE_PULSE:32882,MF_ID_MODE_CCDF:32883,-,MF_ID_MODE_SENSOR_RELATIVE:32886}";
const std::string kDevice =
    "MENU_MEASURE_DEVICE{PU_ID_LOGGING:32885,PU_ID_REMOTE_CONTROL:32899,-,PU_ID_DEVICE_SETTING:32803}";

} // namespace

TEST(MenuLayout, MainFrameMenu) {
    EXPECT_EQ(Describe(CMenuLayout::MainFrameMenu()),
              "MENU_MAINFRAME_FILE{MF_ID_DEVICE_CONNECT:32801,MF_ID_DEVICE_DISCONNECT:32802,MF_ID_FILE_OPEN:"
              "57601,-,"
              "MF_ID_APP_EXIT:57665}," +
                  kModes + "," + kDevice +
                  ",MENU_MAINFRAME_VIEW{MF_ID_VIEW_TOOLBAR:59392,MF_ID_VIEW_STATUS_BAR:59393},"
                  "MENU_MAINFRAME_HELP{MF_ID_HELP:57670,-,MF_ID_APP_ABOUT:57664}");
}

TEST(MenuLayout, MeasurementFrameMenu) {
    EXPECT_EQ(
        Describe(CMenuLayout::MeasurementFrameMenu()),
        "MENU_MEASURE_FILE{MS_ID_DEVICE_CONNECT:32801,MF_ID_DEVICE_DISCONNECT:32802,MS_ID_FILE_OPEN:57601,"
        "MS_ID_FILE_CLOSE:57602,-,MS_ID_FILE_SAVE:57603,"
        "MENU_MEASURE_FILE_EXPORT{MS_ID_EXPORT_CSV:32823,MS_ID_EXPORT_JPG:32824},-,MS_ID_APP_EXIT:57665}," +
            kModes +
            ",MENU_MEASURE_DEVICE{MS_ID_MEASURE_START:32807,MS_ID_MEASURE_STOP:32808,-,"
            "MS_ID_MEASURE_RESET:32809,-,PU_ID_LOGGING:32885,PU_ID_REMOTE_CONTROL:32899,-,MS_ID_DEVICE_"
            "SETTING:32803},"
            "MENU_MEASURE_VIEW{MS_ID_VIEW_FULLSCREEN:32772,MS_ID_VIEW_MULTISCREEN:32775,-,"
            "MS_ID_VIEW_HISTORYGRAPH:32774,-,MS_ID_VIEW_TOOLBAR:59392,MS_ID_VIEW_STATUS_BAR:59393},"
            "MENU_MEASURE_WINDOW{MS_ID_WINDOW_CASCADE:57650,MS_ID_WINDOW_TILE_HORZ:57651,"
            "MS_ID_WINDOW_TILE_VERT:57652},"
            "MENU_MEASURE_HELP{MS_ID_HELP:57670,-,MS_ID_APP_ABOUT:57664}");
}

TEST(MenuLayout, HistoryFrameMenu) {
    EXPECT_EQ(
        Describe(CMenuLayout::HistoryFrameMenu()),
        "MENU_HISTORY_FILE{HT_ID_DEVICE_CONNECT:32801,MF_ID_DEVICE_DISCONNECT:32802,HT_ID_FILE_OPEN:57601,"
        "HT_ID_FILE_CLOSE:57602,-,HT_ID_FILE_SAVE:57603,HT_ID_FILE_SAVE_AS:57604,-,"
        "MENU_HISTORY_FILE_EXPORT{HT_ID_EXPORT_CSV:32823,HT_ID_EXPORT_JPG:32824},HT_ID_FILE_REPORT:32844,-,"
        "HT_ID_FILE_CHANGETITLE:32863,-,HT_ID_APP_EXIT:57665}," +
            kModes + "," + kDevice +
            ",MENU_HISTORY_VIEW{HT_ID_VIEW_AVG:32839,HT_ID_VIEW_REV:32888,HT_ID_VIEW_PEAK:32840,"
            "HT_ID_VIEW_PULSE:32889,MENU_POPUP_HISTORY_VSWR_RL{HT_ID_VIEW_VSWR:32838,HT_ID_VIEW_RL:32837},"
            "HT_ID_VIEW_PAR:32846,-,HT_ID_VIEW_TOOLBAR:59392,HT_ID_VIEW_STATUS_BAR:59393},"
            "MENU_HISTORY_WINDOW{HT_ID_WINDOW_CASCADE:57650,HT_ID_WINDOW_TILE_HORZ:57651,"
            "HT_ID_WINDOW_TILE_VERT:57652},"
            "MENU_HISTORY_HELP{HT_ID_HELP:57670,-,HT_ID_APP_ABOUT:57664}");
}

TEST(MenuLayout, ContextMenus) {
    EXPECT_EQ(Describe(CMenuLayout::ContextMenus()),
              "MENU_POPUP_MEASURE{MENU_POPUP_MEASURE_VIEW{PU_ID_VIEW_FULLSCREEN:32772,PU_ID_VIEW_MULTISCREEN:"
              "32775,-,"
              "PU_ID_VIEW_HISTORYGRAPH:32774},PU_ID_SETASDEFAULT:32780,-,"
              "MENU_POPUP_MEASURE_MEASURE{PU_ID_MEASURE_START:32807,PU_ID_MEASURE_STOP:32808,-,"
              "PU_ID_MEASURE_RESET:32809},-,"
              "MENU_POPUP_MEASURE_MODE{PU_ID_MODE_ABSOLUTE:32790,PU_ID_MODE_RELATIVE:32791},"
              "MENU_POPUP_MEASURE_LIMIT{PU_ID_LIMITCHECK_ENABLE:32834,PU_ID_LIMITCHECK_DISABLE:32835,-,"
              "PU_ID_ALARM_ON:32782,PU_ID_ALARM_OFF:32783},-,"
              "MENU_MEASURE_FILE_EXPORT{MS_ID_EXPORT_CSV:32823,MS_ID_EXPORT_JPG:32824},-,"
              "PU_ID_DEVICE_SETTING:32803},"
              "MENU_POPUP_HISTORY{MENU_POPUP_HISTORY_EXPORT{PU_ID_EXPORT_CSV:32823,PU_ID_EXPORT_JPG:32824},"
              "PU_ID_FILE_REPORT:32844,-,PU_ID_FILE_CHANGETITLE:32863,PU_ID_FILE_CHANGESCALE:32890,-,"
              "PU_ID_VIEW_AVG:32839,PU_ID_VIEW_REV:32888,PU_ID_VIEW_PEAK:32840,PU_ID_VIEW_PULSE:32889,"
              "MENU_POPUP_HISTORY_VSWR_RL{PU_ID_VIEW_VSWR:32838,PU_ID_VIEW_RL:32837},PU_ID_VIEW_PAR:32846}");
}

// The same command must carry the same id in every menu, whatever the key's prefix.
TEST(MenuLayout, EachCommandNameHasOneIdAcrossMenus) {
    std::vector<const MenuEntry*> items;
    const auto menus = {CMenuLayout::MainFrameMenu(), CMenuLayout::MeasurementFrameMenu(),
                        CMenuLayout::HistoryFrameMenu(), CMenuLayout::ContextMenus()};
    for (const auto& menu : menus)
        CollectItems(menu, items);
    std::map<std::string, int> idByName;
    for (const MenuEntry* item : items) {
        std::string name = item->key.substr(item->key.find("_ID_") + 4);
        auto found = idByName.emplace(name, item->command).first;
        EXPECT_EQ(found->second, item->command) << item->key;
    }
}
