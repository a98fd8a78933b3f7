#pragma once

#include "cli/CliCommand.h"

#include <vector>

class CHistoryData;

// "history info FILE" and "history csv FILE OUT.csv".
class CCliHistoryCommands {
public:
    static std::vector<CliCommand> Commands();

private:
    static int Info(const CliContext& context);
    static int Csv(const CliContext& context);
    static bool Load(const CliContext& context, CHistoryData& data, bool& legacy);
    static void PrintChannels(const CliContext& context, const CHistoryData& data);
};
