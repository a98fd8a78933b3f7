#pragma once

#include "cli/CliCommand.h"

#include <map>
#include <string>
#include <vector>

// The commands that talk to a sensor: "ports", "identify", "measure", "histogram",
// "logging status" and "logging download". They drive the acquisition engine exactly as the
// screens and the download dialog do, and print what a screen would be handed.
class CCliDeviceCommands {
public:
    static std::vector<CliCommand> Commands();

private:
    class CSession;
    using Options = std::map<std::string, std::string>;

    static int Ports(const CliContext& context);
    static int Identify(const CliContext& context);
    static int Measure(const CliContext& context);
    static int Histogram(const CliContext& context);
    static int LoggingStatus(const CliContext& context);
    static int LoggingDownload(const CliContext& context);

    // "--name value" pairs; false (with a reason) for a stray word or an unknown name.
    static bool ParseOptions(const CliContext& context, const std::vector<std::string>& known, Options& options);
    // "usb" gives 0, a COM number 1..255 itself; false otherwise.
    static bool ParsePort(const std::string& text, int& port);
    static bool ParseFrequency(const std::string& text, int& hundredths);
    static int Fail(const CliContext& context, const std::string& reason);
    // Connects the session to the "--port" option's port (default usb); false after reporting why.
    static bool Connect(const CliContext& context, const Options& options, CSession& session);
};
