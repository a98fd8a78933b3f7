#include "cli/CCliDispatcher.h"

#include <algorithm>
#include <ostream>

void CCliDispatcher::Add(const std::vector<CliCommand>& commands) {
    m_commands.insert(m_commands.end(), commands.begin(), commands.end());
}

int CCliDispatcher::Run(const std::vector<std::string>& commandLine, std::ostream& out,
                        std::ostream& err) const {
    if (commandLine.empty() || commandLine[0] == "--help" || commandLine[0] == "-h" ||
        commandLine[0] == "help") {
        PrintHelp(commandLine.empty() ? err : out);
        return commandLine.empty() ? UsageError : 0;
    }
    const CliCommand* command = Find(commandLine);
    if (!command) {
        err << "pelmora-cli: unknown command '" << commandLine[0] << "' (see pelmora-cli --help)\n";
        return UsageError;
    }
    const std::vector<std::string> arguments(
        commandLine.begin() + static_cast<std::ptrdiff_t>(command->words.size()), commandLine.end());
    const int count = static_cast<int>(arguments.size());
    if (count < command->minArguments || (command->maxArguments >= 0 && count > command->maxArguments)) {
        err << "pelmora-cli: usage: " << Usage(*command) << "\n";
        return UsageError;
    }
    return command->run(CliContext{arguments, out, err});
}

void CCliDispatcher::PrintHelp(std::ostream& out) const {
    out << "Usage: pelmora-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const CliCommand& command : m_commands)
        out << "  " << Usage(command) << "\n      " << command.summary << "\n";
    out << "  --help\n      Show this help.\n";
}

// The longest run of command words that matches, so that "logging start" wins over "logging".
const CliCommand* CCliDispatcher::Find(const std::vector<std::string>& commandLine) const {
    const CliCommand* best = nullptr;
    for (const CliCommand& command : m_commands) {
        const bool matches = command.words.size() <= commandLine.size() &&
                             std::equal(command.words.begin(), command.words.end(), commandLine.begin());
        if (matches && (!best || command.words.size() > best->words.size()))
            best = &command;
    }
    return best;
}

std::string CCliDispatcher::Usage(const CliCommand& command) {
    std::string usage = "pelmora-cli";
    for (const std::string& word : command.words)
        usage += " " + word;
    if (!command.argumentsUsage.empty())
        usage += " " + command.argumentsUsage;
    return usage;
}
