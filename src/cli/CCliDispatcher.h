#pragma once

#include "cli/CliCommand.h"

#include <iosfwd>
#include <string>
#include <vector>

// Runs the command whose words begin the command line. Exit codes: the handler's, 2 for a
// usage error, 0 for help.
class CCliDispatcher {
public:
    static constexpr int UsageError = 2;

    void Add(const std::vector<CliCommand>& commands);
    int Run(const std::vector<std::string>& commandLine, std::ostream& out, std::ostream& err) const;
    void PrintHelp(std::ostream& out) const;

private:
    const CliCommand* Find(const std::vector<std::string>& commandLine) const;
    static std::string Usage(const CliCommand& command);

    std::vector<CliCommand> m_commands;
};
