#pragma once

#include "cli/CliCommand.h"

#include <vector>

// "journal list" and "journal recover [--out DIR] [--journals DIR]": the measurements whose
// recording ended without a save, and their recovery as history files, as the window offers
// it at start-up.
class CCliJournalCommands {
public:
    static std::vector<CliCommand> Commands();

private:
    static int List(const CliContext& context);
    static int Recover(const CliContext& context);
};
