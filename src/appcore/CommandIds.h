#pragma once

// Command identifiers shared by menus, toolbars, accelerators, context menus and the
// windows' command handlers; the values are those of the program's resource menus.

// Device and connection
constexpr int ID_DEVICE_CONNECT = 32801;
constexpr int ID_DEVICE_DISCONNECT = 32802;
constexpr int ID_DEVICE_SETTING = 32803;
constexpr int ID_LOGGING = 32885;        // download logged data
constexpr int ID_VIEWER = 32884;         // present in the resource menus only; never handled
constexpr int ID_REMOTE_CONTROL = 32899; // serve the sensor to SCPI clients over TCP

// Files
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_APP_EXIT = 57665;

// Measurement modes
constexpr int ID_MODE_AVGPEAK = 32898;
constexpr int ID_MODE_AVG = 32880;
constexpr int ID_MODE_PEAK = 32881;
constexpr int ID_MODE_PULSE = 32882;
constexpr int ID_MODE_CCDF = 32883;
constexpr int ID_MODE_SENSOR_RELATIVE = 32886; // B - A between two connected sensors

// Measurement screens
constexpr int ID_MEASURE_START = 32807;
constexpr int ID_MEASURE_STOP = 32808;
constexpr int ID_MEASURE_RESET = 32809;
constexpr int ID_VIEW_FULLSCREEN = 32772;
constexpr int ID_VIEW_HISTORYGRAPH = 32774;
constexpr int ID_VIEW_MULTISCREEN = 32775;
constexpr int ID_SETASDEFAULT = 32780;
constexpr int ID_MODE_ABSOLUTE = 32790;
constexpr int ID_MODE_RELATIVE = 32791;

// Limits and alarms
constexpr int ID_LIMITCHECK_ENABLE = 32834;
constexpr int ID_LIMITCHECK_DISABLE = 32835;
constexpr int ID_ALARM_ON = 32782;
constexpr int ID_ALARM_OFF = 32783;

// History viewer
constexpr int ID_EXPORT_CSV = 32823;
constexpr int ID_EXPORT_JPG = 32824; // writes a bitmap despite the name
constexpr int ID_FILE_REPORT = 32844;
constexpr int ID_FILE_CHANGETITLE = 32863;
constexpr int ID_FILE_CHANGESCALE = 32890;
constexpr int ID_VIEW_RL = 32837;
constexpr int ID_VIEW_VSWR = 32838;
constexpr int ID_VIEW_AVG = 32839;
constexpr int ID_VIEW_PEAK = 32840;
constexpr int ID_VIEW_PAR = 32846;
constexpr int ID_VIEW_REV = 32888;
constexpr int ID_VIEW_PULSE = 32889;

// Frame and application
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE_HORZ = 57651;
constexpr int ID_WINDOW_TILE_VERT = 57652;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_HELP = 57670;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_TOOLBAR_CHOICE = 101; // internal: child frames ask the main frame to match the toolbar
