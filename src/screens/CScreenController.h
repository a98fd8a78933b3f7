#pragma once

#include "app/CCommandState.h"

#include <cstdint>
#include <string>
#include <vector>

class CMeasurementLink;
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

    CScreenController(CSettingProfile& profile, CMeasurementLink& link, CScreenBehaviour& behaviour,
                      CScreenNotices& notices);

    // The request kinds the timer sends in turn, from the first.
    void SetRequestCycle(std::vector<int32_t> kinds);
    int32_t NextRequest() const;
    // One timer tick: sends the next request when connected, running, not setting up and
    // nothing is pending. True when a request went out.
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
    bool SaveHistory(const std::string& path, std::string* error = nullptr);

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

private:
    void OnSetupDone(unsigned start, bool acknowledged);
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
    int m_failures = 0;
    bool m_recordFull = false;
};
