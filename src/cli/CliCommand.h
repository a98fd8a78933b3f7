#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// What a sub-command's handler gets: its own arguments (after the command words) and the
// streams to write to. A handler returns the process exit code.
struct CliContext {
    const std::vector<std::string>& arguments;
    std::ostream& out;
    std::ostream& err;
};

// One entry of the command table, e.g. words {"history", "csv"} with arguments "FILE OUT.csv".
struct CliCommand {
    std::vector<std::string> words;
    std::string argumentsUsage;
    std::string summary;
    int minArguments = 0;
    int maxArguments = 0; // -1: no upper bound
    std::function<int(const CliContext&)> run;
};
