#pragma once

#include "cli/CliCommand.h"

#include <iosfwd>

struct CCcdfResult;

// "ccdf --port N|usb --count K [--rate 0..3] [--tech NAME] [--freq MHZ] [--offset DB]": runs K
// histogram exchanges as the CCDF screen does and prints the window's statistics and curve.
class CCliCcdfCommand {
public:
    static std::vector<CliCommand> Commands();

    // The report lines for a result; averagePower is the value the screen shows.
    static void Print(std::ostream& out, const CCcdfResult& result, double averagePower);

private:
    class CSession;
    struct SOptions;

    static int Measure(const CliContext& context);
    static bool ParseOptions(const CliContext& context, SOptions& options);
};
