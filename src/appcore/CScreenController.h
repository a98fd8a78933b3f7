#pragma once

#include "appcore/CCommandState.h"
#include "appcore/CMeasurementLink.h"
#include "appcore/CMeasurementRecording.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CRequestTicket;
class CScreenBehaviour;
class CScreenNotices;
class CSettingProfile;

// The request cycle every measurement screen shares: one request in flight at a time for the rest
// of the cycle (the link may run it as one batch), the next sent as soon as its replies were
// handled and paced by the engine's worker, Start (with its set-up), Stop, Reset,
// single sweep, following a lost sensor, closing, and the update rules of those commands. What the
// measurement records is its CMeasurementRecording. Every member runs on the user-interface thread; readings
// must be forwarded to it first.
class CScreenController {
public:
    static constexpr uint32_t kReplyTimeoutMs = 500;
    // Failed exchanges in a row after which the screen reports that the sensor is silent.
    static constexpr int kStallFailures = 3;

    CScreenController(CSettingProfile& profile, CMeasurementLink& link, CScreenBehaviour& behaviour,
                      CScreenNotices& notices);
    ~CScreenController();
    CScreenController(const CScreenController&) = delete;
    CScreenController& operator=(const CScreenController&) = delete;

    CMeasurementRecording& Recording() { return m_recording; }
    const CMeasurementRecording& Recording() const { return m_recording; }

    // The request kinds asked for in turn, from the first.
    void SetRequestCycle(std::vector<int32_t> kinds);
    // One step of the cycle: follows the link (see IsLinkLost), then asks for the cycle's kinds
    // from the next one to its end when connected, running, not setting up and no reply is
    // awaited. True when a request went out.
    // The screen calls it whenever the controller says it is ready and now and then besides,
    // to follow the link.
    bool Pump();
    // Called (on this thread) whenever a request may go out at once: a reply was handled, a
    // set-up answered, a measurement started or resumed. The screen posts a Pump from it, after
    // the reading's handler has finished.
    void SetReadyHandler(std::function<void()> ready) { m_ready = std::move(ready); }

    // Start would discard a measurement that was never saved.
    bool StartDiscardsUnsaved() const { return m_recording.IsUnsaved(); }
    void Start();
    void Stop();
    void Reset();
    // The screen goes away: no reading may still reach it.
    void Close();

    bool CanSave() const;
    // Saves the recording as a history file (see CMeasurementRecording::SaveHistory).
    bool SaveHistory(const std::string& path, std::string* error = nullptr,
                     CMeasurementRecording::SaveReport* report = nullptr);

    // Reading handlers begin with this: only a reply to the request in flight that holds a
    // reading (state 1) from the sensor the measurement began with is taken. A failed one ends
    // the request, so that the next asks again; in a single sweep for the same kind, so that
    // the sweep still completes.
    bool TakeResult(int32_t state);
    // A taken reading is stored: once the request's last one is, the next request may go out.
    void FinishResult();
    // Appends a reading to the recording.
    void StoreValue(int channel, float value) { m_recording.StoreValue(channel, value); }
    // A single sweep ends once a reading of every kind of the request cycle was taken.
    void StopIfSweepComplete();

    // Fills the rule of Start, Stop, Reset, Save and Setting; false for other commands.
    bool UpdateCommand(int id, CCommandState& state) const;

    bool IsRunning() const { return m_running; }
    bool IsSettingUp() const { return m_settingUp; }
    bool IsStalled() const { return m_failures >= kStallFailures; }
    // A request went out and its reply was not taken yet.
    bool IsAwaitingReply() const;
    // The sensor was lost. A running measurement then records rows without a reading for as long
    // as the loss lasts (at the rate it measured before), and resumes by itself when the link
    // is back, with the set-up of Start sent again.
    bool IsLinkLost() const { return m_linkLost; }
    CMeterEngine::Failure LinkFailure() const { return m_link.LastFailure(); }

private:
    // Sends a set-up. Only the latest one's answer counts: the screen waits for it, and the
    // answer of one that a later set-up replaced is not read (its job may still be writing).
    // `then` follows every answer.
    void RunSetup(CMeasurementLink::SetupJob setup, std::function<void(bool acknowledged)> then);
    // No reply to the request in flight is taken any more.
    void DropRequest();
    void AdvanceCycle();
    void FollowLink();
    void Resume();
    void CountFailure();
    void ClearFailures();
    void NotifyReady() const;

    CSettingProfile& m_profile;
    CMeasurementLink& m_link;
    CScreenBehaviour& m_behaviour;
    CScreenNotices& m_notices;
    CMeasurementRecording m_recording;
    std::function<void()> m_ready;
    std::vector<int32_t> m_cycle;
    size_t m_next = 0;                        // the kind of the next reading
    std::shared_ptr<CRequestTicket> m_ticket; // the request in flight
    int m_taken = 0;                          // replies to it handled so far
    // Replies to dropped requests that the engine had already handed over; they are still on
    // their way and are skipped when they arrive.
    int m_staleReplies = 0;
    bool m_running = false;
    bool m_settingUp = false;
    unsigned m_starts = 0; // tells the set-up of an earlier Start from the current one
    unsigned m_setups = 0; // tells the latest set-up from those it replaced
    int m_failures = 0;
    bool m_linkLost = false;
    bool m_otherSensor = false;
};
