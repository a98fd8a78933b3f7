#pragma once

#include "cli/CliCommand.h"

#include <vector>

// The sensor's stand-alone logging: "logging start" sets it up with the logging page's checks
// and commands, "logging clear" switches it off, "logging status" reports what is logged,
// "logging download" fetches it into a history file and "logging erase" erases it in the sensor.
class CCliLoggingCommands {
public:
    static std::vector<CliCommand> Commands();

private:
    static int Start(const CliContext& context);
    static int Clear(const CliContext& context);
    static int Status(const CliContext& context);
    static int Download(const CliContext& context);
    static int Erase(const CliContext& context);
};
