#include "screens/CScreenController.h"

#include "app/CommandIds.h"
#include "history/CHistoryRecorder.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"
#include "screens/CMeasurementLink.h"
#include "screens/CScreenBehaviour.h"
#include "screens/CScreenNotices.h"

CScreenController::CScreenController(CSettingProfile& profile, CMeasurementLink& link,
                                     CScreenBehaviour& behaviour, CScreenNotices& notices)
    : m_profile(profile), m_link(link), m_behaviour(behaviour), m_notices(notices) {}

void CScreenController::SetRequestCycle(std::vector<int32_t> kinds) {
    m_cycle = std::move(kinds);
    m_next = 0;
}

int32_t CScreenController::NextRequest() const {
    return m_cycle.empty() ? -1 : m_cycle[m_next];
}

bool CScreenController::OnTimer() {
    if (m_cycle.empty() || !m_running || m_settingUp || !m_link.IsConnected() || m_link.IsPending())
        return false;
    const int32_t kind = m_cycle[m_next];
    m_next = (m_next + 1) % m_cycle.size();
    // Raised before the request: a fast reply must find it set, or it would be dropped and
    // the flag would then stay set with nothing in flight.
    m_link.SetPending(true);
    if (m_link.Request(kind, CMeterCommand::Hundredths(m_profile.GetFrequency()), kReplyTimeoutMs))
        return true;
    m_link.SetPending(false);
    return false;
}

bool CScreenController::StartDiscardsUnsaved() const {
    const int channel = m_behaviour.MainChannel();
    return m_unsaved && channel >= 0 && !m_profile.Records().IsEmpty(channel);
}

void CScreenController::Start() {
    if (m_running)
        return;
    m_behaviour.ResetData();
    m_next = 0; // a sweep begins with the cycle's first kind
    m_running = true;
    m_link.SetPending(false);
    m_unsaved = true;
    ClearFailures();
    m_notices.ShowSetupRefused(false);
    ClearRecordFull();
    const unsigned start = ++m_starts;
    CMeasurementLink::SetupJob setup = m_behaviour.StartSetup();
    if (!setup) {
        m_profile.Records().StartRecording(false);
        return;
    }
    m_settingUp = true;
    m_link.RunSetup(std::move(setup), [this, start](bool acknowledged) { OnSetupDone(start, acknowledged); });
}

void CScreenController::OnSetupDone(unsigned start, bool acknowledged) {
    if (start != m_starts)
        return; // a later Start has taken over
    m_settingUp = false;
    m_behaviour.OnSetupDone(acknowledged);
    if (!acknowledged)
        m_notices.ShowSetupRefused(true);
    // The start time is taken even after a refusal where the screen measures on: a saved
    // history must not carry a stale one.
    if (m_running && (acknowledged || m_behaviour.KeepsStartAfterRefusedSetup()))
        m_profile.Records().StartRecording(false);
}

void CScreenController::Stop() {
    if (!m_running)
        return;
    m_profile.Records().MarkStop();
    m_running = false;
    ClearFailures(); // nothing is asked any more
}

void CScreenController::Reset() {
    m_behaviour.ResetData();
    ClearRecordFull();
}

void CScreenController::StoreValue(int channel, float value) {
    if (m_profile.Records().AddValue(channel, value) || m_recordFull)
        return;
    m_recordFull = true;
    m_notices.ShowRecordFull(true);
}

void CScreenController::ClearRecordFull() {
    if (m_recordFull)
        m_notices.ShowRecordFull(false);
    m_recordFull = false;
}

void CScreenController::Close() {
    m_link.SetPending(false);
    Stop();
    ClearFailures();
    ++m_starts; // a set-up still running belongs to no measurement now
    m_settingUp = false;
}

bool CScreenController::CanSave() const {
    return !m_running && StartDiscardsUnsaved() && m_behaviour.SaveMask() != 0;
}

bool CScreenController::SaveHistory(const std::string& path, std::string* error) {
    if (!CHistoryRecorder::SaveHistoryFromRecords(path, m_profile, m_behaviour.SaveMask(), "", error))
        return false;
    m_unsaved = false;
    return true;
}

void CScreenController::StopIfSweepComplete() {
    if (m_profile.IsSingleSweep() && m_next == 0)
        Stop();
}

bool CScreenController::TakeResult(int32_t state) {
    if (!m_link.IsPending())
        return false; // nobody waits for it: late, or for a screen that went away
    if (state != 1) {
        m_link.SetPending(false);
        if (m_profile.IsSingleSweep() && !m_cycle.empty())
            m_next = (m_next + m_cycle.size() - 1) % m_cycle.size();
        CountFailure();
        return false;
    }
    ClearFailures();
    return true;
}

void CScreenController::FinishResult() {
    m_link.SetPending(false);
}

void CScreenController::CountFailure() {
    if (++m_failures == kStallFailures)
        m_notices.ShowStalled(true);
}

void CScreenController::ClearFailures() {
    if (IsStalled())
        m_notices.ShowStalled(false);
    m_failures = 0;
}

bool CScreenController::UpdateCommand(int id, CCommandState& state) const {
    const bool connected = m_link.IsConnected();
    switch (id) {
    case ID_MEASURE_START:
    case ID_MEASURE_STOP:
        state.Enable(connected);
        state.SetCheck(m_running == (id == ID_MEASURE_START));
        return true;
    case ID_MEASURE_RESET:
        state.Enable(connected);
        return true;
    case ID_DEVICE_SETTING:
        state.Enable(true);
        return true;
    case ID_FILE_SAVE:
        state.Enable(CanSave());
        return true;
    default:
        return false;
    }
}
