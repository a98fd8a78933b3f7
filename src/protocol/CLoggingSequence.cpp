#include "protocol/CLoggingSequence.h"

#include "protocol/CMeterCommand.h"

static constexpr uint32_t kSetupTimeoutMs = 500;
static constexpr uint32_t kSlowTimeoutMs = 10000; // the sensor works on its memory first

std::vector<CLoggingSequence::Step> CLoggingSequence::Start(const StartValues& values) {
    return {
        {"AE", values.offsetHundredths, kSetupTimeoutMs},
        {"AF", values.frequencyHundredths, kSetupTimeoutMs},
        {"AM", values.channelMask, kSetupTimeoutMs},
        {"AI", values.intervalSeconds, kSetupTimeoutMs},
        {"AN", values.recordCount, kSetupTimeoutMs},
        {"AT", 8, kSetupTimeoutMs},
        {"SN", 2000, kSetupTimeoutMs},
        {"AU", CMeterCommand::PeriodCode(values.periodIndex), kSetupTimeoutMs},
        {"SR", CMeterCommand::ReferenceArgument(values.reference), kSetupTimeoutMs},
        {"AR", 1, kSetupTimeoutMs},
        {"SO", CMeterCommand::TechnologyCode(values.technologyIndex), kSetupTimeoutMs},
    };
}

CLoggingSequence::Step CLoggingSequence::Stop() {
    return {"AR", 0, kSlowTimeoutMs};
}

CLoggingSequence::Step CLoggingSequence::Erase() {
    return {"AO", 1, kSlowTimeoutMs};
}
