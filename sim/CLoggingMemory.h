#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "sim/CSignalModel.h"

// The sensor's stand-alone logger: it records one sample per selected channel every
// interval (on a clock that may run faster than real time) until the record count is
// reached, and serves its status and the 512-byte blocks of the download.
class CLoggingMemory {
public:
    static constexpr int32_t kCapacitySamples = 250000;
    static constexpr int32_t kMaxBlocks = kCapacitySamples / 250 + 1;
    static constexpr size_t kStatusWords = 11;

    enum StatusWord : size_t {
        WordChannels = 0,
        WordRunning = 1,
        WordInterval = 2,
        WordRecordCount = 3,
        WordRecordsLogged = 4,
        WordFrequency = 5,
        WordSamples = 6,
        WordOffset = 7,
        WordPeriodCode = 8,
        WordReference = 9,
        WordTechnology = 10,
    };

    CLoggingMemory(const SignalSetting& signal, uint32_t seed, double speedUp);

    void SetSignal(const SignalSetting& signal) { m_signal.SetSignal(signal); }
    // Settings of the next run, and the plain status words the sensor echoes.
    void SetWord(StatusWord word, int32_t value) { m_settings[word] = value; }
    // Mode on starts a fresh run with the current settings; mode off ends the run, keeping its data.
    void SetRunning(bool on);
    void Erase();

    std::array<int32_t, kStatusWords> Status();
    // The reply to a download of the given number of blocks (at most kMaxBlocks are served).
    std::vector<uint8_t> Download(int32_t blocks);

private:
    void CatchUp();
    void LogRecord();
    int32_t ChannelCount() const;

    CSignalModel m_signal;
    double m_speedUp;
    std::array<int32_t, kStatusWords> m_settings{};
    std::array<int32_t, kStatusWords> m_run{}; // the settings the current or last run started with
    bool m_running = false;
    std::chrono::steady_clock::time_point m_runStart;
    int32_t m_recordsLogged = 0;
    std::vector<uint16_t> m_samples;
};
