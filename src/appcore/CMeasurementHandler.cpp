#include "appcore/CMeasurementHandler.h"

#include "appcore/CMeasurementDisplay.h"
#include "appcore/CReadingValues.h"
#include "appcore/CScreenNotices.h"
#include "appcore/CStringTable.h"
#include "history/CHistoryChannels.h"
#include "model/CModelTable.h"
#include "model/CPowerMath.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterEngine.h"

CMeasurementHandler::CMeasurementHandler(CSettingProfile& profile, CMeasurementLink& link,
                                         CMeasurementDisplay& display, CScreenNotices& notices)
    : m_profile(profile), m_display(display), m_notices(notices),
      m_controller(profile, link, *this, notices) {
    ConfigureForModel();
}

std::vector<int32_t> CMeasurementHandler::RequestCycle(int modelNumber) {
    if (CModelTable::HasForwardReverse(modelNumber))
        return {CMeterEngine::ModeForwardReverse, CMeterEngine::ModePeak};
    if (CModelTable::IsPeakOnly(modelNumber))
        return {CMeterEngine::ModePeak};
    if (CModelTable::IsAvgOnly(modelNumber))
        return {CMeterEngine::ModeAvg};
    if (CModelTable::ReportsPar(modelNumber))
        return {CMeterEngine::ModeAvg, CMeterEngine::ModePeak}; // PAR needs no reverse power
    return {CMeterEngine::ModeAvg, CMeterEngine::ModePeak, CMeterEngine::ModeRev};
}

int CMeasurementHandler::MainChannel(int modelNumber) {
    return CModelTable::IsPeakOnly(modelNumber) ? ChannelPeak : ChannelAvg;
}

uint8_t CMeasurementHandler::SaveMask(int modelNumber) {
    if (CModelTable::IsAvgOnly(modelNumber))
        return CHistoryChannels::MaskBit(ChannelAvg);
    if (CModelTable::IsPeakOnly(modelNumber))
        return CHistoryChannels::MaskBit(ChannelPeak);
    return CHistoryChannels::MaskBit(ChannelAvg) | CHistoryChannels::MaskBit(ChannelPeak) |
           CHistoryChannels::MaskBit(ChannelVswr);
}

int CMeasurementHandler::MainChannel() const {
    return MainChannel(ModelNumber());
}

uint8_t CMeasurementHandler::SaveMask() const {
    return SaveMask(ModelNumber());
}

uint8_t CMeasurementHandler::RecordedMask() const {
    const uint8_t mask = SaveMask();
    const bool vswr =
        (mask & CHistoryChannels::MaskBit(ChannelVswr)) && !CModelTable::ReportsPar(ModelNumber());
    return vswr ? mask | CHistoryChannels::MaskBit(ChannelRev) : mask;
}

void CMeasurementHandler::ShowNoValue() {
    for (int channel = 0; channel < kChannelCount; ++channel)
        m_display.ShowAlarm(channel, false);
    m_notices.ShowWarning({});
    m_display.ShowNewValue();
}

void CMeasurementHandler::ResetData() {
    m_display.RedrawAll();
}

CMeasurementLink::SetupJob CMeasurementHandler::StartSetup() {
    if (!CModelTable::SetsAveragingOnStart(ModelNumber()))
        return {};
    // A refused set-up still measures, with the sensor's own averaging.
    const int32_t model = ModelNumber();
    const int32_t repeat = m_profile.GetAvgRepeat();
    return [model, repeat](CMeterEngine& engine) { return engine.SetAveraging(model, repeat); };
}

int CMeasurementHandler::ModelNumber() const {
    return m_profile.GetModelNumber();
}

void CMeasurementHandler::ConfigureForModel() {
    m_controller.SetRequestCycle(RequestCycle(ModelNumber()));
}

bool CMeasurementHandler::Accept(int32_t state) {
    return m_controller.TakeResult(state);
}

float CMeasurementHandler::Scaled(int32_t raw) const {
    return CReadingValues::Power(raw, CReadingValues::Of(m_profile));
}

void CMeasurementHandler::Store(int channel, float value) {
    m_controller.StoreValue(channel, value);
}

void CMeasurementHandler::StoreChecked(int channel, float value) {
    Store(channel, value);
    m_profile.SoundAlarm(channel, value);
    m_display.ShowAlarm(channel, m_profile.CheckLimit(channel, value));
}

void CMeasurementHandler::Finish() {
    m_display.ShowNewValue();
    m_controller.StopIfSweepComplete();
    m_controller.FinishResult();
}

void CMeasurementHandler::OnAvgReading(int32_t state, int32_t value) {
    if (!Accept(state))
        return;
    StoreChecked(ChannelAvg, Scaled(value));
    Finish();
}

void CMeasurementHandler::OnPeakReading(int32_t state, int32_t value) {
    if (!Accept(state))
        return;
    const float peak = Scaled(value);
    StoreChecked(ChannelPeak, peak);
    const std::optional<float> average = m_controller.Recording().Records().Current(ChannelAvg);
    if (CModelTable::ReportsPar(ModelNumber()) && average)
        StoreChecked(ChannelVswr, CPowerMath::PeakToAverage(peak, *average));
    Finish();
}

void CMeasurementHandler::OnRevReading(int32_t state, int32_t value) {
    if (!Accept(state))
        return;
    const float reverse = Scaled(value);
    Store(ChannelRev, reverse);
    // Without a forward power there is no ratio to tell.
    if (const std::optional<float> forward = m_controller.Recording().Records().Current(ChannelAvg))
        StoreChecked(ChannelVswr, CPowerMath::VswrFromReturnLoss(*forward - reverse));
    Finish();
}

void CMeasurementHandler::OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) {
    if (!Accept(state))
        return;
    const CReadingValues::SSettings settings = CReadingValues::Of(m_profile);
    const float forwardDbm = CReadingValues::ForwardReversePower(forward, settings);
    const float reverseDbm = CReadingValues::ForwardReversePower(reverse, settings);
    StoreChecked(ChannelAvg, forwardDbm);
    Store(ChannelRev, reverseDbm);
    StoreChecked(ChannelVswr, CPowerMath::VswrFromRawPowers(forward, reverse));
    Finish();
    m_notices.ShowWarning(forwardDbm < reverseDbm ? CStringTable::GetGeneralText("S_SETTING_WARNING_POWER")
                                                  : std::string());
}
