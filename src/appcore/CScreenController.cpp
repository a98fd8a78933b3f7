#include "appcore/CScreenController.h"

#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenNotices.h"
#include "appcore/CommandIds.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CRequestTicket.h"

#include <span>

CScreenController::CScreenController(CSettingProfile& profile, CMeasurementLink& link,
                                     CScreenBehaviour& behaviour, CScreenNotices& notices)
    : m_profile(profile), m_link(link), m_behaviour(behaviour), m_notices(notices),
      m_recording(profile, behaviour, notices) {}

CScreenController::~CScreenController() {
    DropRequest();
}

void CScreenController::SetRequestCycle(std::vector<int32_t> kinds) {
    m_cycle = std::move(kinds);
    m_next = 0;
}

bool CScreenController::IsAwaitingReply() const {
    return m_ticket && !m_ticket->IsDropped();
}

bool CScreenController::Pump() {
    FollowLink();
    m_recording.FlushJournalIfDue();
    if (m_cycle.empty() || !m_running || m_settingUp || m_linkLost || !m_link.IsConnected() ||
        IsAwaitingReply())
        return false;
    const std::span<const int32_t> kinds = std::span(m_cycle).subspan(m_next);
    m_ticket = m_link.Request(kinds, CMeterCommand::Hundredths(m_profile.GetFrequency()), kReplyTimeoutMs);
    m_taken = 0;
    return m_ticket != nullptr;
}

void CScreenController::NotifyReady() const {
    if (m_ready)
        m_ready();
}

void CScreenController::DropRequest() {
    if (m_ticket)
        m_staleReplies += m_ticket->Drop() - m_taken;
    m_ticket.reset();
}

void CScreenController::AdvanceCycle() {
    if (!m_cycle.empty())
        m_next = (m_next + 1) % m_cycle.size();
}

void CScreenController::Start() {
    if (m_running)
        return;
    m_recording.Begin(m_link.Sensor());
    m_behaviour.ResetData();
    m_next = 0; // a sweep begins with the cycle's first kind
    m_running = true;
    DropRequest();
    ClearFailures();
    m_notices.ShowSetupRefused(false);
    const unsigned start = ++m_starts;
    CMeasurementLink::SetupJob setup = m_behaviour.StartSetup();
    if (!setup) {
        m_recording.MarkStarted();
        NotifyReady();
        return;
    }
    RunSetup(std::move(setup), [this, start](bool acknowledged) {
        // The start time is taken even after a refusal where the screen measures on: a saved
        // history must not carry a stale one.
        if (start == m_starts && m_running && (acknowledged || m_behaviour.KeepsStartAfterRefusedSetup()))
            m_recording.MarkStarted();
    });
}

void CScreenController::RunSetup(CMeasurementLink::SetupJob setup, std::function<void(bool)> then) {
    m_settingUp = true;
    const unsigned id = ++m_setups;
    m_link.RunSetup(std::move(setup), [this, id, then = std::move(then)](bool acknowledged) {
        if (id == m_setups) {
            m_settingUp = false;
            m_behaviour.OnSetupDone(acknowledged);
            if (!acknowledged)
                m_notices.ShowSetupRefused(true);
        }
        then(acknowledged);
        NotifyReady();
    });
}

void CScreenController::Stop() {
    if (!m_running)
        return;
    m_recording.Stop();
    m_running = false;
    ClearFailures(); // nothing is asked any more
}

void CScreenController::Reset() {
    m_recording.Reset(m_running);
    m_behaviour.ResetData();
}

void CScreenController::Close() {
    DropRequest();
    Stop();
    m_recording.Close();
    ClearFailures();
    ++m_starts; // a set-up still running belongs to no measurement now
    ++m_setups;
    m_settingUp = false;
}

void CScreenController::FollowLink() {
    const bool lost = m_link.IsLinkLost();
    if (lost != m_linkLost) {
        m_linkLost = lost;
        m_notices.ShowNotResponding(lost);
        if (lost)
            ClearFailures(); // the loss says more than the count of failures
    }
    const bool other = lost && m_link.IsOtherSensorOnPort();
    if (other != m_otherSensor) {
        m_otherSensor = other;
        m_notices.ShowOtherSensor(other);
    }
    if (lost && m_running && !m_recording.IsInGap()) {
        m_recording.BeginGap();
        m_behaviour.ShowNoValue();
    } else if (!lost && m_recording.IsInGap()) {
        m_recording.EndGap();
        Resume();
    }
}

void CScreenController::Resume() {
    if (!m_running)
        return;
    m_next = 0; // rows stay aligned: a cycle starts with its first request
    DropRequest();
    CMeasurementLink::SetupJob setup = m_behaviour.StartSetup();
    if (!setup) {
        NotifyReady();
        return;
    }
    // A sensor that was switched off has forgotten the set-up sent at Start.
    RunSetup(std::move(setup), [](bool) {});
}

bool CScreenController::CanSave() const {
    return !m_running && StartDiscardsUnsaved() && m_behaviour.SaveMask() != 0;
}

bool CScreenController::SaveHistory(const std::string& path, std::string* error,
                                    CMeasurementRecording::SaveReport* report) {
    return m_recording.SaveHistory(path, m_running, error, report);
}

void CScreenController::StopIfSweepComplete() {
    if (m_profile.IsSingleSweep() && m_next == 0)
        Stop();
}

bool CScreenController::TakeResult(int32_t state) {
    if (m_staleReplies > 0) {
        --m_staleReplies;
        return false; // the reply to a request given up, which arrived late
    }
    if (!IsAwaitingReply())
        return false; // nobody waits for it: late, or for a screen that went away
    ++m_taken;
    if (state != 1) {
        m_ticket.reset(); // a request's replies end at its first failure
        if (!m_profile.IsSingleSweep())
            AdvanceCycle();
        if (!m_link.IsLinkLost())
            CountFailure();
        NotifyReady();
        return false;
    }
    AdvanceCycle();
    if (m_link.Sensor() != m_recording.MadeBy()) {
        DropRequest(); // another sensor answered on the port: its readings are not this record's
        NotifyReady();
        return false;
    }
    ClearFailures();
    return true;
}

void CScreenController::FinishResult() {
    if (m_ticket && m_taken < m_ticket->Readings())
        return; // more replies to the request follow
    m_ticket.reset();
    NotifyReady();
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
        // A measurement waiting for a lost sensor is neither running nor stopped.
        state.Enable(connected && !m_linkLost);
        state.SetCheck(m_running && !m_linkLost);
        return true;
    case ID_MEASURE_STOP:
        state.Enable(connected);
        state.SetCheck(!m_running);
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
