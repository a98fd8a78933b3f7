#include "history/CHistoryChannelCommands.h"

#include "history/CHistoryChannels.h"
#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

namespace {
// Whether the files of the model may hold the command's channel.
bool ModelOffers(CHistoryChannelCommands::Command command, int modelNumber) {
    switch (command) {
    case CHistoryChannelCommands::PowerAvg:
        return CModelTable::HasCapability(modelNumber, CapabilityAvg);
    case CHistoryChannelCommands::PowerRev:
        return CModelTable::HasForwardReverse(modelNumber);
    case CHistoryChannelCommands::PowerPeak:
        return CModelTable::HasCapability(modelNumber, CapabilityPeak);
    case CHistoryChannelCommands::PowerPulse:
        return CModelTable::HasPulseAndCcdf(modelNumber);
    case CHistoryChannelCommands::Vswr:
    case CHistoryChannelCommands::ReturnLoss:
        return CModelTable::HasCapability(modelNumber, CapabilityVswr) &&
               !CModelTable::ReportsPar(modelNumber);
    case CHistoryChannelCommands::Par:
        return CModelTable::ReportsPar(modelNumber);
    case CHistoryChannelCommands::CommandCount:
        break;
    }
    return false;
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
