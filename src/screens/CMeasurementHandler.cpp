#include "screens/CMeasurementHandler.h"

#include "history/CHistoryChannels.h"
#include "history/CHistoryRecorder.h"
#include "model/CPowerMath.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"
#include "screens/CMeasurementDisplay.h"
#include "screens/CMeasurementLink.h"

namespace {

constexpr int kForwardReverseModel = 5;

bool IsPeakOnly(int model) {
    return model == 3 || model == 8;
}

bool IsAvgOnly(int model) {
    return model == 1 || model == 6;
}

} // namespace

CMeasurementHandler::CMeasurementHandler(CSettingProfile& profile, CMeasurementLink& link,
                                         CMeasurementDisplay& display)
    : m_profile(profile), m_link(link), m_display(display) {}

int CMeasurementHandler::FirstRequest(int modelNumber) {
    if (modelNumber == kForwardReverseModel)
        return CMeterEngine::ModeForwardReverse;
    return IsPeakOnly(modelNumber) ? CMeterEngine::ModePeak : CMeterEngine::ModeAvg;
}

int CMeasurementHandler::RequestAfter(int modelNumber, int kind) {
    switch (modelNumber) {
    case 0:
    case 2:
        if (kind == CMeterEngine::ModeAvg)
            return CMeterEngine::ModePeak;
        return kind == CMeterEngine::ModePeak ? CMeterEngine::ModeRev : CMeterEngine::ModeAvg;
    case 4:
    case 9:
        return kind == CMeterEngine::ModeAvg ? CMeterEngine::ModePeak : CMeterEngine::ModeAvg;
    case kForwardReverseModel:
        return kind == CMeterEngine::ModeForwardReverse ? CMeterEngine::ModePeak
                                                        : CMeterEngine::ModeForwardReverse;
    default:
        return FirstRequest(modelNumber);
    }
}

int CMeasurementHandler::MainChannel(int modelNumber) {
    return IsPeakOnly(modelNumber) ? ChannelPeak : ChannelAvg;
}

uint8_t CMeasurementHandler::SaveMask(int modelNumber) {
    if (IsAvgOnly(modelNumber))
        return CHistoryChannels::MaskBit(ChannelAvg);
    if (IsPeakOnly(modelNumber))
        return CHistoryChannels::MaskBit(ChannelPeak);
    return CHistoryChannels::MaskBit(ChannelAvg) | CHistoryChannels::MaskBit(ChannelPeak) |
           CHistoryChannels::MaskBit(ChannelVswr);
}

int CMeasurementHandler::ModelNumber() const {
    return m_profile.GetModelNumber();
}

void CMeasurementHandler::ConfigureForModel() {
    m_nextRequest = FirstRequest(ModelNumber());
}

bool CMeasurementHandler::OnTimer() {
    if (!m_link.IsConnected() || !m_running || m_link.IsPending())
        return false;
    const int kind = m_nextRequest;
    m_nextRequest = RequestAfter(ModelNumber(), kind);
    // Raised before the request: a fast reply must find it set, or it would be dropped and
    // the flag would then stay set with nothing in flight.
    m_link.SetPending(true);
    if (m_link.Request(kind, CMeterCommand::Hundredths(m_profile.GetFrequency()), kReplyTimeoutMs))
        return true;
    m_link.SetPending(false);
    return false;
}

bool CMeasurementHandler::StartDiscardsUnsaved() const {
    return m_unsaved && !m_profile.Records().IsEmpty(MainChannel(ModelNumber()));
}

void CMeasurementHandler::Start() {
    if (m_running)
        return;
    m_profile.Records().ResetAll();
    m_display.RedrawAll();
    m_running = true;
    m_link.SetPending(false);
    m_unsaved = true;
    const int model = ModelNumber();
    if (model == kForwardReverseModel || model == 6 || model == 9)
        m_link.SetAveraging(); // a refused set-up still measures, with the sensor's own averaging
    // The start time is taken either way: a saved history must not carry a stale one.
    m_profile.Records().StartRecording(false);
}

void CMeasurementHandler::Stop() {
    if (!m_running)
        return;
    m_profile.Records().MarkStop();
    m_running = false;
}

void CMeasurementHandler::Reset() {
    m_profile.Records().ResetAll();
    m_display.RedrawAll();
}

bool CMeasurementHandler::CanSave() const {
    return !m_running && m_unsaved && !m_profile.Records().IsEmpty(MainChannel(ModelNumber()));
}

bool CMeasurementHandler::SaveHistory(const std::string& path, std::string* error) {
    if (!CHistoryRecorder::SaveHistoryFromRecords(path, m_profile, SaveMask(ModelNumber()), "", error))
        return false;
    m_unsaved = false;
    return true;
}

bool CMeasurementHandler::Accept(int32_t state) {
    if (m_profile.IsSingleSweep())
        Stop();
    return m_link.IsPending() && state == 1;
}

float CMeasurementHandler::Scaled(int32_t raw) const {
    return CPowerMath::ReadingToDbm(raw, m_profile.GetExtOffset());
}

void CMeasurementHandler::Store(int channel, float value) {
    m_profile.Records().AddValue(channel, value); // a full channel keeps displaying, unrecorded
}

void CMeasurementHandler::StoreChecked(int channel, float value) {
    Store(channel, value);
    m_profile.SoundAlarm(channel, value);
    m_display.ShowAlarm(channel, m_profile.CheckLimit(channel, value));
}

void CMeasurementHandler::Finish() {
    m_display.ShowNewValue();
    m_link.SetPending(false);
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
    if (CModelTable::ReportsPar(ModelNumber()))
        StoreChecked(ChannelVswr, CPowerMath::PeakToAverage(peak, m_profile.CurrentValue(ChannelAvg)));
    Finish();
}

void CMeasurementHandler::OnRevReading(int32_t state, int32_t value) {
    if (!Accept(state))
        return;
    const float reverse = Scaled(value);
    Store(ChannelRev, reverse);
    StoreChecked(ChannelVswr, CPowerMath::VswrFromReturnLoss(m_profile.CurrentValue(ChannelAvg) - reverse));
    Finish();
}

void CMeasurementHandler::OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) {
    if (!Accept(state))
        return;
    const int technology = m_profile.GetTechnology();
    const double frequency = m_profile.GetFrequency();
    const float offset = m_profile.GetExtOffset();
    const float forwardDbm = CPowerMath::CorrectedReading(forward, technology, frequency, offset);
    const float reverseDbm = CPowerMath::CorrectedReading(reverse, technology, frequency, offset);
    StoreChecked(ChannelAvg, forwardDbm);
    Store(ChannelRev, reverseDbm);
    StoreChecked(ChannelVswr, CPowerMath::VswrFromRawPowers(forward, reverse));
    Finish();
    m_display.ShowReverseWarning(forwardDbm < reverseDbm);
}
