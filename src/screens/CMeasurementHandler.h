#pragma once

#include "protocol/CReadingReceiver.h"

#include <cstdint>
#include <string>

class CMeasurementDisplay;
class CMeasurementLink;
class CSettingProfile;

// The measuring logic of the AVG & PEAK screen: the per-model request cycle, the request-pending
// hand-over, turning replies into stored values with limit checks and alarms, Start, Stop,
// Reset and saving the history. Every member runs on one thread; readings that the engine
// delivers on its worker must be forwarded to that thread first.
class CMeasurementHandler : public CReadingReceiver {
public:
    static constexpr int kTimerMs = 20;
    static constexpr uint32_t kReplyTimeoutMs = 500;

    CMeasurementHandler(CSettingProfile& profile, CMeasurementLink& link, CMeasurementDisplay& display);

    // Request kind the cycle of a model begins with, and the one after `kind`.
    static int FirstRequest(int modelNumber);
    static int RequestAfter(int modelNumber, int kind);
    // The channel a measurement of the model always fills: PEAK for peak-only sensors, else AVG.
    static int MainChannel(int modelNumber);
    // The channels a saved history of the model holds.
    static uint8_t SaveMask(int modelNumber);

    // Restarts the request cycle for the profile's model.
    void ConfigureForModel();
    // One timer tick: sends the next request when connected, running and nothing is pending.
    // True when a request went out.
    bool OnTimer();

    // Start would discard a measurement that was never saved.
    bool StartDiscardsUnsaved() const;
    void Start();
    void Stop();
    void Reset();

    bool CanSave() const;
    // Writes the records as a history file; the record counts as saved only when that worked.
    bool SaveHistory(const std::string& path, std::string* error = nullptr);

    bool IsRunning() const { return m_running; }
    bool IsUnsaved() const { return m_unsaved; }
    int NextRequest() const { return m_nextRequest; }

    void OnAvgReading(int32_t state, int32_t value) override;
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override;
    void OnPeakReading(int32_t state, int32_t value) override;
    void OnRevReading(int32_t state, int32_t value) override;

private:
    int ModelNumber() const;
    // Ends a single sweep, then tells whether the reply is to be taken.
    bool Accept(int32_t state);
    float Scaled(int32_t raw) const;
    void StoreChecked(int channel, float value);
    void Store(int channel, float value);
    void Finish();

    CSettingProfile& m_profile;
    CMeasurementLink& m_link;
    CMeasurementDisplay& m_display;
    bool m_running = false;
    int m_nextRequest = 1;
    bool m_unsaved = false;
};
