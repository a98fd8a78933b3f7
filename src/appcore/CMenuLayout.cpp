#include "appcore/CMenuLayout.h"

#include "appcore/CommandIds.h"

namespace {

MenuEntry Item(const char* key, int command) {
    return {MenuEntry::Item, key, command, {}};
}

MenuEntry Separator() {
    return {MenuEntry::Separator, "", 0, {}};
}

MenuEntry Popup(const char* key, std::vector<MenuEntry> children) {
    return {MenuEntry::Popup, key, 0, std::move(children)};
}

MenuEntry ModePopup() {
    return Popup("MENU_MAINFRAME_MODE",
                 {Item("MF_ID_MODE_AVGPEAK", ID_MODE_AVGPEAK), Item("MF_ID_MODE_AVG", ID_MODE_AVG),
                  Item("MF_ID_MODE_PEAK", ID_MODE_PEAK), Item("MF_ID_MODE_PULSE", ID_MODE_PULSE),
                  Item("MF_ID_MODE_CCDF", ID_MODE_CCDF), Separator(),
                  Item("MF_ID_MODE_SENSOR_RELATIVE", ID_MODE_SENSOR_RELATIVE)});
}

// The device pop-up of the frames that have no running measurement.
MenuEntry DevicePopupWithoutMeasure() {
    return Popup("MENU_MEASURE_DEVICE",
                 {Item("PU_ID_LOGGING", ID_LOGGING), Item("PU_ID_REMOTE_CONTROL", ID_REMOTE_CONTROL),
                  Separator(), Item("PU_ID_DEVICE_SETTING", ID_DEVICE_SETTING)});
}

// Only the CCDF screen has a result to keep this way; the others leave the items disabled.
MenuEntry MeasurementExportPopup() {
    return Popup("MENU_MEASURE_FILE_EXPORT",
                 {Item("MS_ID_EXPORT_CSV", ID_EXPORT_CSV), Item("MS_ID_EXPORT_JPG", ID_EXPORT_JPG)});
}

MenuEntry MeasurementContextPopup() {
    return Popup(
        "MENU_POPUP_MEASURE",
        {Popup("MENU_POPUP_MEASURE_VIEW", {Item("PU_ID_VIEW_FULLSCREEN", ID_VIEW_FULLSCREEN),
                                           Item("PU_ID_VIEW_MULTISCREEN", ID_VIEW_MULTISCREEN), Separator(),
                                           Item("PU_ID_VIEW_HISTORYGRAPH", ID_VIEW_HISTORYGRAPH)}),
         Item("PU_ID_SETASDEFAULT", ID_SETASDEFAULT), Separator(),
         Popup("MENU_POPUP_MEASURE_MEASURE",
               {Item("PU_ID_MEASURE_START", ID_MEASURE_START), Item("PU_ID_MEASURE_STOP", ID_MEASURE_STOP),
                Separator(), Item("PU_ID_MEASURE_RESET", ID_MEASURE_RESET)}),
         Separator(),
         Popup("MENU_POPUP_MEASURE_MODE", {Item("PU_ID_MODE_ABSOLUTE", ID_MODE_ABSOLUTE),
                                           Item("PU_ID_MODE_RELATIVE", ID_MODE_RELATIVE)}),
         Popup("MENU_POPUP_MEASURE_LIMIT",
               {Item("PU_ID_LIMITCHECK_ENABLE", ID_LIMITCHECK_ENABLE),
                Item("PU_ID_LIMITCHECK_DISABLE", ID_LIMITCHECK_DISABLE), Separator(),
                Item("PU_ID_ALARM_ON", ID_ALARM_ON), Item("PU_ID_ALARM_OFF", ID_ALARM_OFF)}),
         Separator(), MeasurementExportPopup(), Separator(),
         Item("PU_ID_DEVICE_SETTING", ID_DEVICE_SETTING)});
}

MenuEntry HistoryContextPopup() {
    return Popup("MENU_POPUP_HISTORY",
                 {Popup("MENU_POPUP_HISTORY_EXPORT",
                        {Item("PU_ID_EXPORT_CSV", ID_EXPORT_CSV), Item("PU_ID_EXPORT_JPG", ID_EXPORT_JPG)}),
                  Item("PU_ID_FILE_REPORT", ID_FILE_REPORT), Separator(),
                  Item("PU_ID_FILE_CHANGETITLE", ID_FILE_CHANGETITLE),
                  Item("PU_ID_FILE_CHANGESCALE", ID_FILE_CHANGESCALE), Separator(),
                  Item("PU_ID_VIEW_AVG", ID_VIEW_AVG), Item("PU_ID_VIEW_REV", ID_VIEW_REV),
                  Item("PU_ID_VIEW_PEAK", ID_VIEW_PEAK), Item("PU_ID_VIEW_PULSE", ID_VIEW_PULSE),
                  Popup("MENU_POPUP_HISTORY_VSWR_RL",
                        {Item("PU_ID_VIEW_VSWR", ID_VIEW_VSWR), Item("PU_ID_VIEW_RL", ID_VIEW_RL)}),
                  Item("PU_ID_VIEW_PAR", ID_VIEW_PAR)});
}

} // namespace

std::vector<MenuEntry> CMenuLayout::MainFrameMenu() {
    return {Popup("MENU_MAINFRAME_FILE",
                  {Item("MF_ID_DEVICE_CONNECT", ID_DEVICE_CONNECT),
                   Item("MF_ID_DEVICE_DISCONNECT", ID_DEVICE_DISCONNECT),
                   Item("MF_ID_FILE_OPEN", ID_FILE_OPEN), Separator(), Item("MF_ID_APP_EXIT", ID_APP_EXIT)}),
            ModePopup(), DevicePopupWithoutMeasure(),
            Popup("MENU_MAINFRAME_VIEW", {Item("MF_ID_VIEW_TOOLBAR", ID_VIEW_TOOLBAR),
                                          Item("MF_ID_VIEW_STATUS_BAR", ID_VIEW_STATUS_BAR)}),
            Popup("MENU_MAINFRAME_HELP",
                  {Item("MF_ID_HELP", ID_HELP), Separator(), Item("MF_ID_APP_ABOUT", ID_APP_ABOUT)})};
}

std::vector<MenuEntry> CMenuLayout::MeasurementFrameMenu() {
    return {
        Popup("MENU_MEASURE_FILE",
              {Item("MS_ID_DEVICE_CONNECT", ID_DEVICE_CONNECT),
               Item("MF_ID_DEVICE_DISCONNECT", ID_DEVICE_DISCONNECT), Item("MS_ID_FILE_OPEN", ID_FILE_OPEN),
               Item("MS_ID_FILE_CLOSE", ID_FILE_CLOSE), Separator(), Item("MS_ID_FILE_SAVE", ID_FILE_SAVE),
               MeasurementExportPopup(), Separator(), Item("MS_ID_APP_EXIT", ID_APP_EXIT)}),
        ModePopup(),
        Popup("MENU_MEASURE_DEVICE",
              {Item("MS_ID_MEASURE_START", ID_MEASURE_START), Item("MS_ID_MEASURE_STOP", ID_MEASURE_STOP),
               Separator(), Item("MS_ID_MEASURE_RESET", ID_MEASURE_RESET), Separator(),
               Item("PU_ID_LOGGING", ID_LOGGING), Item("PU_ID_REMOTE_CONTROL", ID_REMOTE_CONTROL),
               Separator(), Item("MS_ID_DEVICE_SETTING", ID_DEVICE_SETTING)}),
        Popup("MENU_MEASURE_VIEW", {Item("MS_ID_VIEW_FULLSCREEN", ID_VIEW_FULLSCREEN),
                                    Item("MS_ID_VIEW_MULTISCREEN", ID_VIEW_MULTISCREEN), Separator(),
                                    Item("MS_ID_VIEW_HISTORYGRAPH", ID_VIEW_HISTORYGRAPH), Separator(),
                                    Item("MS_ID_VIEW_TOOLBAR", ID_VIEW_TOOLBAR),
                                    Item("MS_ID_VIEW_STATUS_BAR", ID_VIEW_STATUS_BAR)}),
        Popup("MENU_MEASURE_WINDOW", {Item("MS_ID_WINDOW_CASCADE", ID_WINDOW_CASCADE),
                                      Item("MS_ID_WINDOW_TILE_HORZ", ID_WINDOW_TILE_HORZ),
                                      Item("MS_ID_WINDOW_TILE_VERT", ID_WINDOW_TILE_VERT)}),
        Popup("MENU_MEASURE_HELP",
              {Item("MS_ID_HELP", ID_HELP), Separator(), Item("MS_ID_APP_ABOUT", ID_APP_ABOUT)})};
}

std::vector<MenuEntry> CMenuLayout::HistoryFrameMenu() {
    return {
        Popup("MENU_HISTORY_FILE",
              {Item("HT_ID_DEVICE_CONNECT", ID_DEVICE_CONNECT),
               Item("MF_ID_DEVICE_DISCONNECT", ID_DEVICE_DISCONNECT), Item("HT_ID_FILE_OPEN", ID_FILE_OPEN),
               Item("HT_ID_FILE_CLOSE", ID_FILE_CLOSE), Separator(), Item("HT_ID_FILE_SAVE", ID_FILE_SAVE),
               Item("HT_ID_FILE_SAVE_AS", ID_FILE_SAVE_AS), Separator(),
               Popup("MENU_HISTORY_FILE_EXPORT",
                     {Item("HT_ID_EXPORT_CSV", ID_EXPORT_CSV), Item("HT_ID_EXPORT_JPG", ID_EXPORT_JPG)}),
               Item("HT_ID_FILE_REPORT", ID_FILE_REPORT), Separator(),
               Item("HT_ID_FILE_CHANGETITLE", ID_FILE_CHANGETITLE), Separator(),
               Item("HT_ID_APP_EXIT", ID_APP_EXIT)}),
        ModePopup(),
        DevicePopupWithoutMeasure(),
        Popup("MENU_HISTORY_VIEW",
              {Item("HT_ID_VIEW_AVG", ID_VIEW_AVG), Item("HT_ID_VIEW_REV", ID_VIEW_REV),
               Item("HT_ID_VIEW_PEAK", ID_VIEW_PEAK), Item("HT_ID_VIEW_PULSE", ID_VIEW_PULSE),
               Popup("MENU_POPUP_HISTORY_VSWR_RL",
                     {Item("HT_ID_VIEW_VSWR", ID_VIEW_VSWR), Item("HT_ID_VIEW_RL", ID_VIEW_RL)}),
               Item("HT_ID_VIEW_PAR", ID_VIEW_PAR), Separator(), Item("HT_ID_VIEW_TOOLBAR", ID_VIEW_TOOLBAR),
               Item("HT_ID_VIEW_STATUS_BAR", ID_VIEW_STATUS_BAR)}),
        Popup("MENU_HISTORY_WINDOW", {Item("HT_ID_WINDOW_CASCADE", ID_WINDOW_CASCADE),
                                      Item("HT_ID_WINDOW_TILE_HORZ", ID_WINDOW_TILE_HORZ),
                                      Item("HT_ID_WINDOW_TILE_VERT", ID_WINDOW_TILE_VERT)}),
        Popup("MENU_HISTORY_HELP",
              {Item("HT_ID_HELP", ID_HELP), Separator(), Item("HT_ID_APP_ABOUT", ID_APP_ABOUT)})};
}

std::vector<MenuEntry> CMenuLayout::ContextMenus() {
    return {MeasurementContextPopup(), HistoryContextPopup()};
}
