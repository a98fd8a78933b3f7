#include "history/CHistoryChannelCommands.h"

#include "history/CHistoryChannels.h"
#include "model/HistoryChannel.h"

#include <initializer_list>

namespace {
constexpr unsigned Models(std::initializer_list<int> numbers) {
    unsigned set = 0;
    for (const int number : numbers)
        set |= 1u << number;
    return set;
}

// The models whose files may hold the command's channel.
unsigned ModelsOf(CHistoryChannelCommands::Command command) {
    switch (command) {
    case CHistoryChannelCommands::PowerAvg:
        return Models({0, 1, 2, 4, 5, 6, 9});
    case CHistoryChannelCommands::PowerRev:
        return Models({5});
    case CHistoryChannelCommands::PowerPeak:
        return Models({0, 2, 3, 4, 5, 8, 9});
    case CHistoryChannelCommands::PowerPulse:
        return Models({5, 9});
    case CHistoryChannelCommands::Vswr:
    case CHistoryChannelCommands::ReturnLoss:
        return Models({0, 2, 5});
    case CHistoryChannelCommands::Par:
        return Models({4, 9});
    case CHistoryChannelCommands::CommandCount:
        break;
    }
    return 0;
}

bool ModelOffers(CHistoryChannelCommands::Command command, int modelNumber) {
    return modelNumber >= 0 && modelNumber < 32 && (ModelsOf(command) & (1u << modelNumber)) != 0;
}
} // namespace

CHistoryChannelCommands::Target CHistoryChannelCommands::TargetOf(Command command) {
    switch (command) {
    case PowerRev:
        return {ChannelRev, false};
    case PowerPeak:
        return {ChannelPeak, false};
    case PowerPulse:
        return {ChannelPulse, false};
    case Vswr:
    case Par:
        return {ChannelVswr, false};
    case ReturnLoss:
        return {ChannelVswr, true};
    case PowerAvg:
    case CommandCount:
        break;
    }
    return {ChannelAvg, false};
}

bool CHistoryChannelCommands::IsEnabled(Command command, int modelNumber, uint8_t mask) {
    return ModelOffers(command, modelNumber) &&
           (mask & CHistoryChannels::MaskBit(TargetOf(command).channel)) != 0;
}

std::optional<bool> CHistoryChannelCommands::CheckMark(Command command, int modelNumber, int channel,
                                                       bool returnLoss) {
    const bool keepsMark = command == PowerAvg || command == PowerPeak || ModelOffers(command, modelNumber);
    if (!keepsMark)
        return std::nullopt;
    const Target target = TargetOf(command);
    if (command == Vswr || command == ReturnLoss)
        return channel == target.channel && returnLoss == target.returnLoss;
    return channel == target.channel;
}
