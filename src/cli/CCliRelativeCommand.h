#pragma once

#include "cli/CliCommand.h"

#include <vector>

// "relative --port A --port B --count K [--channel avg|peak|pulse] [--freq MHZ]": measures the
// channel of both sensors at once, K pairs, and prints A and B in dBm and B - A in dB, one line
// each. A sensor that fails is named in the error and the exit status is non-zero.
class CCliRelativeCommand {
public:
    static std::vector<CliCommand> Commands();

private:
    static int Relative(const CliContext& context);
};
