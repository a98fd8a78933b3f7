#pragma once

#include "cli/CliCommand.h"

#include <string>
#include <vector>

// "record --port N|usb --count K --out FILE.psh": measures with the connected sensor as the
// AVG & PEAK screen does, until every saved channel holds K values, and saves the history as
// the screen's Save would.
class CCliRecordCommand {
public:
    static std::vector<CliCommand> Commands();

private:
    class CSession;
    struct SOptions {
        int port = 0;
        int count = 0;
        std::string out;
    };

    static int Record(const CliContext& context);
    static bool ParseOptions(const CliContext& context, SOptions& options);
};
