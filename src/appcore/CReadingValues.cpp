#include "appcore/CReadingValues.h"

#include "model/CPowerMath.h"
#include "model/CPulseMath.h"
#include "model/CSettingProfile.h"

CReadingValues::SSettings CReadingValues::Of(const CSettingProfile& profile) {
    return {profile.GetTechnology(), profile.GetFrequency(), profile.GetExtOffset(), profile.GetPulseDuty()};
}

float CReadingValues::Power(int32_t raw, const SSettings& settings) {
    return CPowerMath::ReadingToDbm(raw, settings.extOffset);
}

float CReadingValues::ForwardReversePower(int32_t raw, const SSettings& settings) {
    return CPowerMath::CorrectedReading(raw, settings.technology, settings.frequencyMHz, settings.extOffset);
}

CReadingValues::SPulse CReadingValues::Pulse(int32_t pulsePower, int32_t value1, int32_t value2,
                                             int32_t value3, int32_t value4, const SSettings& settings) {
    const float corrected =
        CPulseMath::CorrectedPower(pulsePower, settings.technology, settings.frequencyMHz);
    return {corrected + settings.extOffset, CPulseMath::DutyCyclePercent(settings.pulseDuty, value1, value2),
            CPulseMath::BurstWidthUs(value1, value3, value4)};
}
