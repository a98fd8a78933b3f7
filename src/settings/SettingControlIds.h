#pragma once

// Identifiers of the setting dialogs' controls; each control's object name is its number, so
// that code and tests find a control the same way on every page.
enum SettingControlId : int {
    IdcModelName = 1003,
    IdcSerialNumber = 1004,
    IdcRangeTabs = 1005,
    IdcFrequency = 1010,
    IdcExtOffset = 1011,
    IdcAbsolute = 1012,
    IdcRelative = 1013,
    IdcContinuous = 1015,
    IdcDisplayMax = 1016,
    IdcSingle = 1017,
    IdcDisplayMin = 1018,
    IdcDutyAuto = 1019,
    IdcDutyManual = 1020,
    IdcLimitEnable = 1021,
    IdcAlarm = 1022,
    IdcReferenceAuto = 1023,
    IdcReferenceManual = 1024,
    IdcFirmware = 1026,
    IdcLimitLow = 1028,
    IdcLimitHigh = 1029,
    IdcBeep = 1033,
    IdcDecimal = 1076,
    IdcPeriod = 1077,
    IdcDutyValue = 1078,
    IdcReferenceValue = 1079,
    IdcAveraging = 1109,
    IdcTechnology = 1111,
};
