#pragma once

#include "cli/CliCommand.h"

#include <map>
#include <string>
#include <vector>

// The "--name value" options of the sub-commands and the parsers of their values.
class CCliOptions {
public:
    using Values = std::map<std::string, std::string>;

    // Upper end of a frequency option (MHz); the sensor judges the frequency itself.
    static constexpr double kMaxFrequencyMHz = 1e6;

    // "--name value" pairs; false (after reporting why) for a stray word, a name without a value
    // or a name not in `known`.
    static bool Parse(const CliContext& context, const std::vector<std::string>& known, Values& values);
    // Every value of an option that may be given more than once (Parse keeps the last), in order.
    static std::vector<std::string> Repeated(const CliContext& context, const std::string& name);
    // "usb" gives 0, a COM number 1..255 itself; false otherwise.
    static bool ParsePort(const std::string& text, int& port);
    // A whole decimal number within minimum..maximum; false otherwise.
    static bool ParseNumber(const std::string& text, int minimum, int maximum, int& number);
    // A finite decimal number within minimum..maximum; false otherwise.
    static bool ParseReal(const std::string& text, double minimum, double maximum, double& number);
    // Reports the reason on the error stream; the exit code 1.
    static int Fail(const CliContext& context, const std::string& reason);
    // A language text, or its key where the language file lacks it.
    static std::string Text(const char* key);
};
