#include "appcore/CScreenController.h"

#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenNotices.h"
#include "appcore/CommandIds.h"
#include "history/CHistoryChannels.h"
#include "history/CHistoryFile.h"
#include "history/CHistoryRecorder.h"
#include "model/CSettingProfile.h"
#include "platform/CLocalTime.h"
#include "protocol/CMeterCommand.h"

#include <algorithm>
#include <cmath>
#include <limits>

CScreenController::CScreenController(CSettingProfile& profile, CMeasurementLink& link,
                                     CScreenBehaviour& behaviour, CScreenNotices& notices)
    : m_profile(profile), m_link(link), m_behaviour(behaviour), m_notices(notices) {}

CScreenController::~CScreenController() {
    m_profile.Records().RemoveObserver(this);
}

void CScreenController::SetRequestCycle(std::vector<int32_t> kinds) {
    m_cycle = std::move(kinds);
    m_next = 0;
}

int32_t CScreenController::NextRequest() const {
    return m_cycle.empty() ? -1 : m_cycle[m_next];
}

bool CScreenController::OnTimer() {
    FollowLink();
    if (std::chrono::steady_clock::now() - m_lastFlush >= std::chrono::milliseconds(kJournalFlushMs))
        FlushJournal();
    if (m_cycle.empty() || !m_running || m_settingUp || m_linkLost || !m_link.IsConnected() ||
        m_link.IsPending())
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
    m_inGap = false;
    m_startedAt = std::chrono::steady_clock::now();
    BeginJournal();
    ClearFailures();
    m_notices.ShowSetupRefused(false);
    ClearRecordFull();
    const unsigned start = ++m_starts;
    CMeasurementLink::SetupJob setup = m_behaviour.StartSetup();
    if (!setup) {
        m_profile.Records().StartRecording(false);
        return;
    }
    RunSetup(std::move(setup), [this, start](bool acknowledged) {
        // The start time is taken even after a refusal where the screen measures on: a saved
        // history must not carry a stale one.
        if (start == m_starts && m_running && (acknowledged || m_behaviour.KeepsStartAfterRefusedSetup()))
            m_profile.Records().StartRecording(false);
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
    });
}

void CScreenController::Stop() {
    if (!m_running)
        return;
    EndGap();
    m_profile.Records().MarkStop();
    m_running = false;
    FlushJournal();
    ClearFailures(); // nothing is asked any more
}

void CScreenController::Reset() {
    m_behaviour.ResetData();
    ClearRecordFull();
    if (m_running)
        BeginJournal(); // the old one is given up with the values
    else
        EndJournal();
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
    // An unsaved measurement keeps its journal, to be offered at the next start.
    if (StartDiscardsUnsaved())
        FlushJournal();
    else
        EndJournal();
    m_profile.Records().RemoveObserver(this);
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
    if (lost && m_running && !m_inGap)
        BeginGap();
    else if (!lost && m_inGap) {
        EndGap();
        Resume();
    }
}

void CScreenController::BeginGap() {
    m_inGap = true;
    m_gapSince = std::chrono::steady_clock::now();
    const int channel = m_behaviour.MainChannel();
    m_rowsBeforeGap = channel >= 0 ? m_profile.Records().Count(channel) : 0;
    AddNoValueRow();
    m_behaviour.ShowNoValue();
}

void CScreenController::EndGap() {
    if (!m_inGap)
        return;
    m_inGap = false;
    for (int row = GapRows(std::chrono::steady_clock::now()); row > 1; --row)
        AddNoValueRow();
}

// As many rows as the measurement would have taken in the time lost, so that a history's rows
// keep standing for time; one when there is no rate to go by.
int CScreenController::GapRows(std::chrono::steady_clock::time_point end) const {
    const double measured = std::chrono::duration<double>(m_gapSince - m_startedAt).count();
    const double lost = std::chrono::duration<double>(end - m_gapSince).count();
    if (m_rowsBeforeGap <= 0 || measured <= 0.0)
        return 1;
    const double rows = std::round(lost * m_rowsBeforeGap / measured);
    return static_cast<int>(std::clamp(rows, 1.0, static_cast<double>(CChannelRecord::kCapacity)));
}

void CScreenController::AddNoValueRow() {
    const uint8_t mask = m_behaviour.RecordedMask();
    CRecordStore& records = m_profile.Records();
    // Past the records' capacity only the journal goes on counting.
    const auto count = [&](int channel) {
        return std::max(static_cast<std::size_t>(records.Count(channel)), m_journal.Count(channel));
    };
    std::size_t longest = 0;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (mask & CHistoryChannels::MaskBit(channel))
            longest = std::max(longest, count(channel));
    }
    constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (!(mask & CHistoryChannels::MaskBit(channel)))
            continue;
        // A cycle cut short leaves a channel behind; its missing readings are no readings too.
        for (std::size_t missing = longest - count(channel); missing > 0; --missing)
            records.AddValue(channel, kNoValue);
        records.AddValue(channel, kNoValue);
    }
}

void CScreenController::Resume() {
    if (!m_running)
        return;
    m_next = 0; // rows stay aligned: a cycle starts with its first request
    m_link.SetPending(false);
    CMeasurementLink::SetupJob setup = m_behaviour.StartSetup();
    if (!setup)
        return;
    // A sensor that was switched off has forgotten the set-up sent at Start.
    RunSetup(std::move(setup), [](bool) {});
}

bool CScreenController::CanSave() const {
    return !m_running && StartDiscardsUnsaved() && m_behaviour.SaveMask() != 0;
}

bool CScreenController::SaveHistory(const std::string& path, std::string* error, SaveReport* report) {
    const uint8_t mask = m_behaviour.SaveMask();
    CHistoryData history = CHistoryRecorder::BuildFromRecords(m_profile, mask, "");
    const int channel = m_behaviour.MainChannel();
    const bool outgrown =
        channel >= 0 && m_journal.IsOpen() && FlushJournalNow() &&
        m_journal.Count(channel) > static_cast<std::size_t>(m_profile.Records().Count(channel));
    CRecordJournal::Content content;
    if (outgrown &&
        CRecordJournal::Read(m_journal.Path(), content) != CRecordJournal::ReadResult::Unreadable) {
        const int valuesPerRow = std::max(CHistoryChannels::CountInMask(mask), 1);
        history = CRecordJournal::ToHistory(
            content, static_cast<std::size_t>(CHistoryFile::MaxRowBlockBytes / (4 * valuesPerRow)));
    }
    if (!CHistoryFile::SaveHistoryRaw(path, history, error))
        return false;
    if (report != nullptr)
        *report = {history.RowCount(), outgrown};
    m_unsaved = false;
    if (!m_running) // a measurement saved while it goes on keeps its safety copy
        EndJournal();
    return true;
}

void CScreenController::DiscardRecord() {
    EndJournal();
}

void CScreenController::BeginJournal() {
    EndJournal();
    if (m_journalFolder.empty() || m_behaviour.SaveMask() == 0)
        return;
    const HistoryHeader header =
        CHistoryRecorder::BuildFromRecords(m_profile, m_behaviour.SaveMask(), "").Header();
    m_lastValueTime = CLocalTime::Now();
    if (!m_journal.Begin(m_journalFolder, header, m_lastValueTime))
        return; // the measurement goes on without its safety copy
    m_profile.Records().SetObserver(this, [this](int channel, float value) {
        m_journal.Add(channel, value);
        m_lastValueTime = CLocalTime::Now();
    });
    m_lastFlush = std::chrono::steady_clock::now();
}

void CScreenController::FlushJournal() {
    m_lastFlush = std::chrono::steady_clock::now();
    FlushJournalNow();
}

bool CScreenController::FlushJournalNow() {
    if (!m_journal.IsOpen())
        return false;
    if (!m_journal.HasPending())
        return true;
    return m_journal.Flush(std::max(m_lastValueTime, m_profile.Records().LastSampleTime()));
}

void CScreenController::EndJournal() {
    m_profile.Records().RemoveObserver(this);
    m_journal.Discard();
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
        if (!m_link.IsLinkLost())
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
