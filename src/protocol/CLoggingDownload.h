#pragma once

#include <cstdint>
#include <string>

class CMeterEngine;

// Fetching what the sensor logged on its own, as the download dialog drives it: the logging
// status must have been read (CMeterEngine::ReadLoggingStatus) before.
class CLoggingDownload {
public:
    enum Result : int32_t { NothingLogged = -1, Failed = 0, Downloaded = 1 };

    static constexpr uint32_t kTimeoutMs = 1000;

    explicit CLoggingDownload(CMeterEngine& engine) : m_engine(engine) {}

    // Channel mask of the logged data (bits 0x01 AVG, 0x02 PEAK, 0x04 REV, 0x08 PULSE).
    int32_t LoggedChannelMask() const;
    int32_t LoggedSampleCount() const;
    // False while the sensor holds its data back or has logged nothing.
    bool CanFetch() const;

    // Replaces the measurement records of the settings profile with the logged samples.
    Result Download();
    // Writes the measurement records as a history file of the logged channels.
    bool SaveToFile(const std::string& path, const std::string& title, std::string* error = nullptr);
    // Erases the logged data in the sensor; true when acknowledged.
    bool ClearLoggedData();

private:
    CMeterEngine& m_engine;
};
