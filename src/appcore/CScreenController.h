#pragma once

#include "appcore/CCommandState.h"
#include "appcore/CMeasurementLink.h"
#include "history/CRecordJournal.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CScreenBehaviour;
class CScreenNotices;
class CSettingProfile;

// The measuring machinery every measurement screen shares: the request cycle driven by the
// 20 ms timer with one request pending at a time, Start (with its set-up), Stop, Reset, single
// sweep, saving, closing, and the update rules of those commands. Every member runs on the
// user-interface thread; readings must be forwarded to it first.
class CScreenController {
public:
    static constexpr int kTimerMs = 20;
    static constexpr uint32_t kReplyTimeoutMs = 500;
    // Failed exchanges in a row after which the screen reports that the sensor is silent.
    static constexpr int kStallFailures = 3;

    // A journal is written to disk about this often while a measurement records.
    static constexpr int kJournalFlushMs = 1000;

    // What a save wrote.
    struct SaveReport {
        int rows = 0;
        // The measurement went on past what the records keep: the rows came from the journal.
        bool fromJournal = false;
    };

    CScreenController(CSettingProfile& profile, CMeasurementLink& link, CScreenBehaviour& behaviour,
                      CScreenNotices& notices);
    ~CScreenController();
    CScreenController(const CScreenController&) = delete;
    CScreenController& operator=(const CScreenController&) = delete;

    // Every measurement from now on is also written to a crash-safe journal in the folder, until
    // it is saved or given up; recording goes on there when the records are full.
    void KeepJournalIn(std::string folder) { m_journalFolder = std::move(folder); }
    const CRecordJournal& Journal() const { return m_journal; }

    // The request kinds the timer sends in turn, from the first.
    void SetRequestCycle(std::vector<int32_t> kinds);
    int32_t NextRequest() const;
    // One timer tick: follows the link (see IsLinkLost), then sends the next request when
    // connected, running, not setting up and nothing is pending. True when a request went out.
    bool OnTimer();

    // Start would discard a measurement that was never saved.
    bool StartDiscardsUnsaved() const;
    void Start();
    void Stop();
    void Reset();
    // The screen goes away: no reading may still reach it.
    void Close();

    bool CanSave() const;
    // Writes the records as a history file; the record counts as saved only when that worked.
    // A measurement that outgrew the records is saved from its journal, as far as a history
    // file holds it.
    bool SaveHistory(const std::string& path, std::string* error = nullptr, SaveReport* report = nullptr);
    // The user gave the unsaved measurement up: its journal goes.
    void DiscardRecord();

    // Reading handlers begin with this: only a reply that was waited for and holds a reading
    // (state 1) is taken. A failed one frees the timer to ask again; in a single sweep for the
    // same kind, so that the sweep still completes.
    bool TakeResult(int32_t state);
    // A taken reading is stored: the next request may go out.
    void FinishResult();
    // Appends a reading to the record; a full channel keeps being shown, unrecorded, and says so.
    void StoreValue(int channel, float value);
    // A single sweep ends once a reading of every kind of the request cycle was taken.
    void StopIfSweepComplete();

    // Fills the rule of Start, Stop, Reset, Save and Setting; false for other commands.
    bool UpdateCommand(int id, CCommandState& state) const;

    bool IsRunning() const { return m_running; }
    bool IsUnsaved() const { return m_unsaved; }
    bool IsSettingUp() const { return m_settingUp; }
    bool IsStalled() const { return m_failures >= kStallFailures; }
    // The sensor was lost. A running measurement then records rows without a reading for as long
    // as the loss lasts (at the rate it measured before), and resumes by itself when the link
    // is back, with the set-up of Start sent again.
    bool IsLinkLost() const { return m_linkLost; }

private:
    // Sends a set-up. Only the latest one's answer counts: the screen waits for it, and the
    // answer of one that a later set-up replaced is not read (its job may still be writing).
    // `then` follows every answer.
    void RunSetup(CMeasurementLink::SetupJob setup, std::function<void(bool acknowledged)> then);
    void FollowLink();
    void BeginGap();
    void EndGap();
    void Resume();
    // Brings the recorded channels to one length and adds a row without a reading.
    void AddNoValueRow();
    int GapRows(std::chrono::steady_clock::time_point end) const;
    void BeginJournal();
    // Writes what the journal took since the last time, at most once per kJournalFlushMs.
    void FlushJournal();
    bool FlushJournalNow();
    void EndJournal();
    void CountFailure();
    void ClearFailures();
    void ClearRecordFull();

    CSettingProfile& m_profile;
    CMeasurementLink& m_link;
    CScreenBehaviour& m_behaviour;
    CScreenNotices& m_notices;
    std::vector<int32_t> m_cycle;
    size_t m_next = 0;
    bool m_running = false;
    bool m_unsaved = false;
    bool m_settingUp = false;
    unsigned m_starts = 0; // tells the set-up of an earlier Start from the current one
    unsigned m_setups = 0; // tells the latest set-up from those it replaced
    int m_failures = 0;
    bool m_recordFull = false;
    bool m_linkLost = false;
    bool m_otherSensor = false;
    bool m_inGap = false;
    std::chrono::steady_clock::time_point m_startedAt;
    std::chrono::steady_clock::time_point m_gapSince;
    int m_rowsBeforeGap = 0;
    std::string m_journalFolder;
    CRecordJournal m_journal;
    std::chrono::steady_clock::time_point m_lastFlush;
    int64_t m_lastValueTime = 0;
};
