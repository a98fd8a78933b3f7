#pragma once

#include "protocol/CSensorLine.h"

#include <cstdint>

class CMeterEngine;
class CRecordStore;

// Fetching what the sensor logged on its own, as the download dialog drives it, by the logging
// status read before (CMeterEngine::ReadLoggingStatus).
class CLoggingDownload {
public:
    enum Result : int32_t { NothingLogged = -1, Failed = 0, Downloaded = 1 };

    static constexpr uint32_t kTimeoutMs = 1000;

    CLoggingDownload(CMeterEngine& engine, const CSensorLine::StatusWords& status)
        : m_engine(engine), m_status(status) {}

    // Channels of the logged data: the four logging bits of status word 0 (0x01 AVG, 0x02 PEAK,
    // 0x04 REV, 0x08 PULSE); the sensor's other bits name nothing that was logged.
    int32_t LoggedChannelMask() const;
    // Non-zero while the sensor holds its logged data back (status word 1).
    int32_t HoldFlag() const { return m_status[kHoldWord]; }
    int32_t LoggedSampleCount() const;
    // False while the sensor holds its data back or has logged nothing.
    bool CanFetch() const;

    // The reply to a download arrives at the line's pace: over a COM port at 9600 baud each byte
    // takes about a millisecond, so the wait grows with the byte count there (2 ms a byte).
    static uint32_t TimeoutFor(uint32_t byteCount, bool serialPort);
    // Bytes the download of the current status asks for; 0 when there is nothing to fetch.
    uint64_t ByteCount() const;

    // Replaces the contents of `records` with the logged samples and stamps them with the time of
    // the download. Nothing logged (no channel, no samples) is reported as such without a word
    // to the sensor; a count beyond the reply buffer fails the same way.
    Result Download(CRecordStore& records, bool serialPort);
    // Erases the logged data in the sensor; true when acknowledged.
    static bool ClearLoggedData(CMeterEngine& engine);

private:
    // The status words the download reads; word 0 also orders the channels' samples.
    static constexpr size_t kChannelWord = 0;
    static constexpr size_t kHoldWord = 1;
    static constexpr size_t kSampleWord = 6;

    CMeterEngine& m_engine;
    CSensorLine::StatusWords m_status;
};
