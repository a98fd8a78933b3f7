#include "appcore/CLoggingSetup.h"

#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"

#include <bit>
#include <cmath>

int CLoggingSetup::ChannelCount(int32_t mask) {
    return std::popcount(static_cast<uint32_t>(mask & kChannelBits));
}

int32_t CLoggingSetup::MinimumInterval(int32_t mask) {
    const int channels = ChannelCount(mask);
    return 10 * (channels > 0 ? channels : 1);
}

std::string CLoggingSetup::IntervalUnitText(int32_t mask) {
    return "Sec (Min " + std::to_string(MinimumInterval(mask)) + " Sec)";
}

std::string CLoggingSetup::RunTimeUnitText() {
    return "Min (Max 96 hrs)";
}

int64_t CLoggingSetup::Combine(int32_t larger, int32_t smaller) {
    return static_cast<int64_t>(larger) * 60 + smaller;
}

bool CLoggingSetup::IsTimeInRange(int32_t larger, int32_t smaller) {
    return larger >= 0 && smaller >= 0 && smaller < 60;
}

CLoggingSetup::Refusal CLoggingSetup::Check(int32_t mask, int64_t intervalSeconds, int64_t runTimeMinutes,
                                            bool connected) {
    if (intervalSeconds > kMaxIntervalSeconds || intervalSeconds < MinimumInterval(mask))
        return Refusal::Interval;
    if (intervalSeconds * kMinRecordCount > runTimeMinutes * 60)
        return Refusal::RecordCount;
    if (runTimeMinutes > kMaxRunTimeMinutes)
        return Refusal::RunTime;
    if (!connected)
        return Refusal::NotConnected;
    return Refusal::None;
}

std::string CLoggingSetup::RefusalText(Refusal refusal, int32_t mask) {
    switch (refusal) {
    case Refusal::Interval:
        return "Invalid Interval Range ( " + std::to_string(MinimumInterval(mask)) + " <= sec <= 3600 )";
    case Refusal::RecordCount:
        return "Invalid Logging Count Range ( 10 times <= RunTime/Interval)";
    case Refusal::RunTime:
        return "Invalid Runtime Range ( Max : 96 hrs )";
    default:
        return {};
    }
}

int32_t CLoggingSetup::RecordCount(int64_t intervalSeconds, int64_t runTimeMinutes) {
    return intervalSeconds > 0 ? static_cast<int32_t>(runTimeMinutes * 60 / intervalSeconds) : 0;
}

CLoggingSequence::StartValues CLoggingSetup::StartValues(const CSettingProfile& profile) {
    CLoggingSequence::StartValues values;
    values.offsetHundredths = CMeterCommand::Hundredths(profile.GetExtOffset());
    values.frequencyHundredths = CMeterCommand::Hundredths(std::trunc(profile.GetFrequency()));
    values.channelMask = profile.GetLoggingItems() & kChannelBits;
    values.intervalSeconds = profile.GetLoggingInterval();
    values.recordCount = RecordCount(profile.GetLoggingInterval(), profile.GetLoggingRunTime());
    values.technologyIndex = profile.GetTechnology();
    values.periodIndex = profile.GetPulseRate();
    values.reference = profile.GetPulseReference();
    return values;
}
