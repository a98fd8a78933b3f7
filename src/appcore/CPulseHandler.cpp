#include "appcore/CPulseHandler.h"

#include "appcore/CMeasurementDisplay.h"
#include "appcore/CReadingValues.h"
#include "appcore/CScreenNotices.h"
#include "appcore/CStringTable.h"
#include "model/CModelTable.h"
#include "model/CPowerMath.h"
#include "model/CSettingProfile.h"
#include "platform/CTextFormat.h"
#include "protocol/CMeterEngine.h"

#include <limits>

CPulseHandler::CPulseHandler(CSettingProfile& profile, CMeasurementLink& link, CMeasurementDisplay& display,
                             CScreenNotices& notices)
    : m_profile(profile), m_display(display), m_notices(notices),
      m_controller(profile, link, *this, notices) {
    m_controller.SetRequestCycle({CMeterEngine::ModePulse});
}

int CPulseHandler::MainChannel() const {
    return ChannelPulse;
}

void CPulseHandler::ResetData() {
    m_display.RedrawAll();
}

void CPulseHandler::ShowNoValue() {
    const float none = std::numeric_limits<float>::quiet_NaN();
    m_controller.Recording().Records().SetPulseTiming(none, none);
    m_display.ShowAlarm(ChannelPulse, false);
    m_display.ShowNewValue();
}

CMeasurementLink::SetupJob CPulseHandler::StartSetup() {
    auto check = std::make_shared<DirectionCheck>();
    m_directionCheck = check;
    const int32_t period = m_profile.GetPulseRate();
    const int32_t reference = m_profile.GetPulseReference();
    const bool checksDirection = CModelTable::HasForwardReverse(m_profile.GetModelNumber());
    const int32_t frequency = CPowerMath::Hundredths(m_profile.GetFrequency());
    return [=](CMeterEngine& engine) {
        if (!engine.SetPulsePeriodAndReference(period, reference))
            return false;
        if (checksDirection) {
            const CMeterEngine::SReverseCheck direction = engine.CheckReversePower(frequency);
            check->done = direction.verdict != CMeterEngine::ReverseCheckFailed;
            check->reverseAbove = direction.verdict == CMeterEngine::ReverseAboveForward;
            check->forward = direction.forward;
            check->reverse = direction.reverse;
        }
        return true;
    };
}

void CPulseHandler::OnSetupDone(bool acknowledged) {
    if (!acknowledged || !m_directionCheck || !m_directionCheck->done)
        return;
    const DirectionCheck& check = *m_directionCheck;
    m_notices.ShowWarning(check.reverseAbove ? DirectionWarning(check.forward, check.reverse)
                                             : std::string());
}

std::string CPulseHandler::DirectionWarning(int32_t forward, int32_t reverse) {
    return CTextFormat::Printf("%s (Avg:%d, Rev:%d)",
                               CStringTable::GetGeneralText("S_SETTING_WARNING_POWER").c_str(), forward,
                               reverse);
}

void CPulseHandler::OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2,
                                   int32_t value3, int32_t value4) {
    if (!m_controller.TakeResult(state))
        return;
    const CReadingValues::SPulse values =
        CReadingValues::Pulse(pulsePower, value1, value2, value3, value4, CReadingValues::Of(m_profile));
    const float pulse = values.powerDbm;
    m_controller.StoreValue(ChannelPulse, pulse);
    m_controller.Recording().Records().SetPulseTiming(values.dutyPercent, values.widthUs);
    m_profile.SoundAlarm(ChannelPulse, pulse);
    m_display.ShowAlarm(ChannelPulse, m_profile.CheckLimit(ChannelPulse, pulse));
    m_display.ShowNewValue();
    m_controller.StopIfSweepComplete();
    m_controller.FinishResult();
}
