#pragma once

#include "cli/CliCommand.h"

#include <vector>

// "record --port N|usb --count K --out FILE.psh [--screen avgpeak|pulse] [--freq MHZ]
// [--offset DB] [--tech NAME]": measures with the connected sensor as the chosen screen does,
// until every saved channel holds K values, and saves the history as the screen's Save would.
// Frequency, offset and technology override the sensor's profile for this run only.
class CCliRecordCommand {
public:
    static std::vector<CliCommand> Commands();

private:
    static int Record(const CliContext& context);
};
