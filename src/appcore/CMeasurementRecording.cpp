#include "appcore/CMeasurementRecording.h"

#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenNotices.h"
#include "history/CHistoryChannels.h"
#include "history/CHistoryFile.h"
#include "history/CHistoryRecorder.h"
#include "model/CSettingProfile.h"
#include "platform/CLocalTime.h"

#include <algorithm>
#include <cmath>
#include <limits>

CMeasurementRecording::CMeasurementRecording(const CSettingProfile& profile, CScreenBehaviour& behaviour,
                                             CScreenNotices& notices)
    : m_profile(profile), m_behaviour(behaviour), m_notices(notices) {}

CMeasurementRecording::~CMeasurementRecording() {
    m_records.RemoveObserver(this);
}

void CMeasurementRecording::Begin(SensorIdentity madeBy) {
    m_madeBy = madeBy;
    m_records.ResetAll();
    m_unsaved = true;
    m_inGap = false;
    m_startedAt = std::chrono::steady_clock::now();
    BeginJournal();
    ClearRecordFull();
}

void CMeasurementRecording::Stop() {
    EndGap();
    m_records.MarkStop();
    FlushJournal();
}

void CMeasurementRecording::Reset(bool running) {
    m_records.ResetAll();
    ClearRecordFull();
    if (running)
        BeginJournal(); // the old one is given up with the values
    else
        EndJournal();
}

void CMeasurementRecording::Close() {
    if (IsUnsaved())
        FlushJournal();
    else
        EndJournal();
    m_records.RemoveObserver(this);
}

void CMeasurementRecording::StoreValue(int channel, float value) {
    // A change of mode made in the setting dialog restarts the references with the next value.
    m_records.FollowRelativeMode(m_profile.IsRelativeMode());
    if (m_records.AddValue(channel, value) || m_recordFull)
        return;
    m_recordFull = true;
    m_notices.ShowRecordFull(true);
}

void CMeasurementRecording::ClearRecordFull() {
    if (m_recordFull)
        m_notices.ShowRecordFull(false);
    m_recordFull = false;
}

void CMeasurementRecording::FlushJournalIfDue() {
    if (std::chrono::steady_clock::now() - m_lastFlush >= std::chrono::milliseconds(kJournalFlushMs))
        FlushJournal();
}

void CMeasurementRecording::BeginGap() {
    m_inGap = true;
    m_gapSince = std::chrono::steady_clock::now();
    const int channel = m_behaviour.MainChannel();
    m_rowsBeforeGap = channel >= 0 ? m_records.Count(channel) : 0;
    AddNoValueRow();
}

void CMeasurementRecording::EndGap() {
    if (!m_inGap)
        return;
    m_inGap = false;
    for (int row = GapRows(std::chrono::steady_clock::now()); row > 1; --row)
        AddNoValueRow();
}

// As many rows as the measurement would have taken in the time lost, so that a history's rows
// keep standing for time; one when there is no rate to go by.
int CMeasurementRecording::GapRows(std::chrono::steady_clock::time_point end) const {
    const double measured = std::chrono::duration<double>(m_gapSince - m_startedAt).count();
    const double lost = std::chrono::duration<double>(end - m_gapSince).count();
    if (m_rowsBeforeGap <= 0 || measured <= 0.0)
        return 1;
    const double rows = std::round(lost * m_rowsBeforeGap / measured);
    return static_cast<int>(std::clamp(rows, 1.0, static_cast<double>(CChannelRecord::kCapacity)));
}

void CMeasurementRecording::AddNoValueRow() {
    const uint8_t mask = m_behaviour.RecordedMask();
    // Past the records' capacity only the journal goes on counting.
    const auto count = [&](int channel) {
        return std::max(static_cast<std::size_t>(m_records.Count(channel)), m_journal.Count(channel));
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
            m_records.AddValue(channel, kNoValue);
        m_records.AddValue(channel, kNoValue);
    }
}

bool CMeasurementRecording::IsUnsaved() const {
    const int channel = m_behaviour.MainChannel();
    return m_unsaved && channel >= 0 && !m_records.IsEmpty(channel);
}

bool CMeasurementRecording::SaveHistory(const std::string& path, bool running, std::string* error,
                                        SaveReport* report) {
    const uint8_t mask = m_behaviour.SaveMask();
    CHistoryData history = CHistoryRecorder::BuildFromRecords(m_profile, m_records, mask, "");
    const int channel = m_behaviour.MainChannel();
    const bool outgrown = channel >= 0 && m_journal.IsOpen() && FlushJournalNow() &&
                          m_journal.Count(channel) > static_cast<std::size_t>(m_records.Count(channel));
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
    if (!running)
        EndJournal();
    return true;
}

void CMeasurementRecording::BeginJournal() {
    EndJournal();
    if (m_journalFolder.empty() || m_behaviour.SaveMask() == 0)
        return;
    const HistoryHeader header =
        CHistoryRecorder::BuildFromRecords(m_profile, m_records, m_behaviour.SaveMask(), "").Header();
    m_lastValueTime = CLocalTime::Now();
    if (!m_journal.Begin(m_journalFolder, header, m_lastValueTime))
        return; // the measurement goes on without its safety copy
    m_records.SetObserver(this, [this](int channel, float value) {
        m_journal.Add(channel, value);
        m_lastValueTime = CLocalTime::Now();
    });
    m_lastFlush = std::chrono::steady_clock::now();
}

void CMeasurementRecording::FlushJournal() {
    m_lastFlush = std::chrono::steady_clock::now();
    FlushJournalNow();
}

bool CMeasurementRecording::FlushJournalNow() {
    if (!m_journal.IsOpen())
        return false;
    if (!m_journal.HasPending())
        return true;
    return m_journal.Flush(std::max(m_lastValueTime, m_records.LastSampleTime()));
}

void CMeasurementRecording::EndJournal() {
    m_records.RemoveObserver(this);
    m_journal.Discard();
}
