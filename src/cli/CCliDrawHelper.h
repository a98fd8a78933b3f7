#pragma once

#include "cli/CliCommand.h"

#include <string>
#include <vector>

// "history bmp" and "history report" draw with Qt. They run in a helper program beside
// pelmora-cli, so that every other command starts as a process without the Qt libraries. Both
// programs list the commands from the one table here.
class CCliDrawHelper {
public:
    using Handler = std::function<int(const CliContext&)>;

    static constexpr const char* kProgramName = "pelmora-cli-draw";

    // The drawing commands with the handlers that draw (the helper's own table).
    static std::vector<CliCommand> Commands(Handler bitmap, Handler report);
    // The same commands as pelmora-cli lists them: each runs the helper with its command line
    // and returns the helper's exit code.
    static std::vector<CliCommand> Delegated();

private:
    static int RunHelper(const std::vector<std::string>& words, const CliContext& context);
    // Runs the program with the arguments, sharing this process's standard streams, and waits
    // for it: its exit code, or -1 when it could not be started (then `error` says why).
    static int RunProgram(const std::string& path, const std::vector<std::string>& arguments,
                          std::string& error);
};
