#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "model/CChannelRecord.h"
#include "model/HistoryChannel.h"

// The five recorded channels of a measurement and the times it spans (seconds since 1970).
// Channel arguments outside 0..4 are ignored: queries give 0 or an empty series.
class CRecordStore {
public:
    CRecordStore();

    using Observer = std::function<void(int channel, float value)>;

    // Stores the value and sets the last-sample time; false when the channel is full or unknown.
    // The observer sees every value of a known channel, also one a full channel refuses.
    bool AddValue(int channel, float value);
    // One observer per owner (the journal, a readout relating two sensors); setting it again
    // replaces that owner's.
    void SetObserver(const void* owner, Observer observer);
    void RemoveObserver(const void* owner);
    void ResetAll();
    void StartRecording(bool resetFirst);
    void MarkStop();
    // Restarts reference and extremes of the power channels (a change of measurement mode).
    void RestartPowerReferences();
    // Restarts them when the measurement mode (relative or absolute) is not the one they were
    // taken in.
    void FollowRelativeMode(bool relative);
    // No channel has a live reading any more; the recorded series stay.
    void ForgetCurrentValues();

    std::span<const float> Series(int channel) const;
    int Count(int channel) const;
    bool IsEmpty(int channel) const;
    float Last(int channel) const; // 0 when empty
    // The channel's latest reading; none when there is no live one to show.
    std::optional<float> Current(int channel) const;
    // Reference, minimum and maximum stand for values taken since the last (re)start.
    bool HasExtremes(int channel) const;
    float Reference(int channel) const;
    float Minimum(int channel) const;
    float Maximum(int channel) const;
    float Average(int channel) const;

    // Changes whenever anything the queries above tell of the channel may have changed.
    uint64_t Revision(int channel) const;

    // Timing of the last pulse reading, shown beside a live PULSE value.
    void SetPulseTiming(float dutyCyclePercent, float burstWidthUs);
    float DutyCycle() const { return m_dutyCycle; }
    float BurstWidth() const { return m_burstWidth; }

    int64_t StartTime() const { return m_startTime; }
    int64_t LastSampleTime() const { return m_lastSampleTime; }

private:
    const CChannelRecord* Channel(int channel) const;
    CChannelRecord* Channel(int channel);

    void TouchAll();

    CChannelRecord m_channels[kChannelCount];
    uint64_t m_revisions[kChannelCount] = {};
    std::vector<std::pair<const void*, Observer>> m_observers;
    int64_t m_startTime = 0;
    int64_t m_lastSampleTime = 0;
    bool m_relative = false;
    float m_dutyCycle = 0.0f;
    float m_burstWidth = 0.0f;
};
