#pragma once

#include "cli/CCliOptions.h"
#include "cli/CliCommand.h"

#include <string>
#include <vector>

// The commands that talk to a sensor: "ports", "identify", "measure" and "histogram". They
// drive the acquisition engine exactly as the screens do, and print what a screen would be
// handed.
class CCliDeviceCommands {
public:
    static std::vector<CliCommand> Commands();

private:
    class CSession;
    using Options = CCliOptions::Values;

    static int Ports(const CliContext& context);
    static int Identify(const CliContext& context);
    static int Measure(const CliContext& context);
    static int Histogram(const CliContext& context);

    static bool ParseFrequency(const std::string& text, int& hundredths);
    // Connects the session to the "--port" option's port (default usb); false after reporting why.
    static bool Connect(const CliContext& context, const Options& options, CSession& session);
    // Connects to the port given as text; false after reporting why, naming the port when `named`.
    static bool ConnectTo(const CliContext& context, const std::string& portText, CSession& session,
                          bool named);
    // K readings of one connected sensor, each line after `prefix`; the exit code.
    static int MeasureOne(const CliContext& context, CSession& session, int32_t mode, int frequency,
                          const std::string& prefix);
};
