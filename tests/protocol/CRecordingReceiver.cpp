#include "CRecordingReceiver.h"

#include "protocol/CMeterEngine.h"

#include <chrono>

void CRecordingReceiver::OnAvgReading(int32_t state, int32_t value) {
    Record("avg", state, {value});
}

void CRecordingReceiver::OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) {
    Record("fwdrev", state, {forward, reverse});
}

void CRecordingReceiver::OnPeakReading(int32_t state, int32_t value) {
    Record("peak", state, {value});
}

void CRecordingReceiver::OnRevReading(int32_t state, int32_t value) {
    Record("rev", state, {value});
}

void CRecordingReceiver::OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2,
                                        int32_t value3, int32_t value4) {
    Record("pulse", state, {pulsePower, value1, value2, value3, value4});
}

void CRecordingReceiver::OnCcdfData(int32_t state, const PowerHistogram& histogram) {
    {
        std::lock_guard lock(m_mutex);
        m_histogram = histogram;
    }
    Record("ccdf", state, {});
}

void CRecordingReceiver::EndBatch() {
    {
        std::lock_guard lock(m_mutex);
        m_batchEnds.push_back(m_calls.size());
    }
    m_recorded.notify_all();
}

bool CRecordingReceiver::WaitForBatches(size_t count, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_recorded.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return m_batchEnds.size() >= count; });
}

std::vector<size_t> CRecordingReceiver::BatchEnds() const {
    std::lock_guard lock(m_mutex);
    return m_batchEnds;
}

void CRecordingReceiver::Record(const std::string& handler, int32_t state,
                                std::initializer_list<int32_t> values) {
    std::string call = handler + " " + std::to_string(state);
    for (int32_t value : values)
        call += " " + std::to_string(value);
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(call);
    }
    m_recorded.notify_all();
}

bool CRecordingReceiver::WaitFor(size_t count, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_recorded.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return m_calls.size() >= count; });
}

std::vector<std::string> CRecordingReceiver::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

PowerHistogram CRecordingReceiver::LastHistogram() const {
    std::lock_guard lock(m_mutex);
    return m_histogram;
}

void CRecordingReceiver::RegisterAsEveryScreen() {
    for (auto kind :
         {CReadingSinks::Kind::Measurement, CReadingSinks::Kind::Pulse, CReadingSinks::Kind::Ccdf})
        m_engine.Sinks().Set(kind, this);
}
