#pragma once

#include "appcore/SensorIdentity.h"
#include "history/CRecordJournal.h"
#include "model/CRecordStore.h"

#include <chrono>
#include <cstdint>
#include <string>

class CScreenBehaviour;
class CScreenNotices;
class CSettingProfile;

// What one measurement recorded: its records, the crash-safe journal beside them, the rows
// without a reading while the sensor was lost, and the save as a history file. The profile
// only lends the settings the measurement is made with. Every member runs on one thread.
class CMeasurementRecording {
public:
    // A journal is written to disk about this often while a measurement records.
    static constexpr int kJournalFlushMs = 1000;

    // What a save wrote.
    struct SaveReport {
        int rows = 0;
        // The measurement went on past what the records keep: the rows came from the journal.
        bool fromJournal = false;
    };

    CMeasurementRecording(const CSettingProfile& profile, CScreenBehaviour& behaviour,
                          CScreenNotices& notices);
    ~CMeasurementRecording();
    CMeasurementRecording(const CMeasurementRecording&) = delete;
    CMeasurementRecording& operator=(const CMeasurementRecording&) = delete;

    CRecordStore& Records() { return m_records; }
    const CRecordStore& Records() const { return m_records; }

    // Every measurement from now on is also written to a crash-safe journal in the folder, until
    // it is saved or given up; recording goes on there when the records are full.
    void KeepJournalIn(std::string folder) { m_journalFolder = std::move(folder); }
    const CRecordJournal& Journal() const { return m_journal; }

    // A new measurement of the sensor `madeBy`: the records are cleared and a journal begins.
    void Begin(SensorIdentity madeBy);
    // The sensor whose readings the records hold; no other sensor's may join them.
    const SensorIdentity& MadeBy() const { return m_madeBy; }
    // The measurement's time starts (once its set-up was answered).
    void MarkStarted() { m_records.StartRecording(false); }
    // The measurement stops taking readings.
    void Stop();
    // The records are cleared; a measurement still running starts a new journal.
    void Reset(bool running);
    // The screen goes away: an unsaved measurement keeps its journal for the next start.
    void Close();

    // Appends a reading; a full channel keeps being shown, unrecorded, and says so.
    void StoreValue(int channel, float value);
    // Writes what the journal took since the last time, when kJournalFlushMs have passed.
    void FlushJournalIfDue();
    // Writes it at once: the process may be ended before the next time comes.
    void FlushJournal();

    // The sensor was lost while measuring: rows without a reading stand for the time it is gone.
    void BeginGap();
    // The sensor is back (or the measurement stopped): as many rows as the time lost is worth.
    void EndGap();
    bool IsInGap() const { return m_inGap; }

    // Holds a measurement that was never saved.
    bool IsUnsaved() const;
    // Writes the records as a history file; the record counts as saved only when that worked.
    // A measurement that outgrew the records is saved from its journal, as far as a history
    // file holds it. A measurement saved while it goes on keeps its journal.
    bool SaveHistory(const std::string& path, bool running, std::string* error, SaveReport* report);
    // The user gave the unsaved measurement up: its journal goes.
    void Discard() { EndJournal(); }

private:
    // Brings the recorded channels to one length and adds a row without a reading.
    void AddNoValueRow();
    int GapRows(std::chrono::steady_clock::time_point end) const;
    void BeginJournal();
    bool FlushJournalNow();
    void EndJournal();
    void ClearRecordFull();

    const CSettingProfile& m_profile;
    CScreenBehaviour& m_behaviour;
    CScreenNotices& m_notices;
    CRecordStore m_records;
    SensorIdentity m_madeBy;
    bool m_unsaved = false;
    bool m_recordFull = false;
    bool m_inGap = false;
    std::chrono::steady_clock::time_point m_startedAt;
    std::chrono::steady_clock::time_point m_gapSince;
    int m_rowsBeforeGap = 0;
    std::string m_journalFolder;
    CRecordJournal m_journal;
    std::chrono::steady_clock::time_point m_lastFlush;
    int64_t m_lastValueTime = 0;
};
