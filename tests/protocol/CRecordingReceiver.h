#pragma once

#include "protocol/CReadingReceiver.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class CMeterEngine;

// A screen stand-in: records every hand-over as "<handler> <state> <values...>".
class CRecordingReceiver : public CReadingReceiver {
public:
    explicit CRecordingReceiver(CMeterEngine& engine) : m_engine(engine) {}

    void OnAvgReading(int32_t state, int32_t value) override;
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override;
    void OnPeakReading(int32_t state, int32_t value) override;
    void OnRevReading(int32_t state, int32_t value) override;
    void OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2, int32_t value3,
                        int32_t value4) override;
    void OnCcdfData(int32_t state, const PowerHistogram& histogram) override;
    void EndBatch() override;

    // Registers this receiver with the engine as every screen.
    void RegisterAsEveryScreen();
    // Waits until count hand-overs were recorded; false on time-out.
    bool WaitFor(size_t count, int timeoutMs);
    // Waits until count batches ended; false on time-out.
    bool WaitForBatches(size_t count, int timeoutMs);
    std::vector<std::string> Calls() const;
    // The number of calls recorded at the end of each batch.
    std::vector<size_t> BatchEnds() const;
    PowerHistogram LastHistogram() const;

private:
    void Record(const std::string& handler, int32_t state, std::initializer_list<int32_t> values);

    CMeterEngine& m_engine;
    mutable std::mutex m_mutex;
    std::condition_variable m_recorded;
    std::vector<std::string> m_calls;
    std::vector<size_t> m_batchEnds;
    PowerHistogram m_histogram;
};
