#pragma once

#include <cstdint>
#include <optional>

// The history viewer's seven channel commands: which channel each shows, when it is enabled
// and when it carries a check mark.
class CHistoryChannelCommands {
public:
    enum Command { PowerAvg, PowerRev, PowerPeak, PowerPulse, Vswr, ReturnLoss, Par, CommandCount };

    struct Target {
        int channel;
        bool returnLoss;
    };

    static Target TargetOf(Command command);
    // Enabled for the models that record the channel, and only when the file carries it: a
    // file with an unknown model name (model 0) must not offer a column it lacks.
    static bool IsEnabled(Command command, int modelNumber, uint8_t mask);
    // The check mark, or nothing when the command shows none.
    static std::optional<bool> CheckMark(Command command, int modelNumber, int channel, bool returnLoss);
};
