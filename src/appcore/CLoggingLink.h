#pragma once

#include "protocol/CLoggingDownload.h"
#include "protocol/CLoggingSequence.h"

#include <cstdint>
#include <functional>
#include <memory>

class CRecordStore;

// The logging page's and the download dialog's way to the sensor. Every exchange runs away
// from the user-interface thread; its completion is called back on that thread, never before
// the call returns.
class CLoggingLink {
public:
    // What the status request reports about the logged data.
    struct Status {
        int32_t mask = 0;    // logged channels: 0x01 AVG, 0x02 PEAK, 0x04 REV, 0x08 PULSE
        int32_t held = 0;    // non-zero while the sensor keeps its data back
        int32_t samples = 0; // all channels together
        bool CanFetch() const { return held == 0 && samples > 0 && (mask & 0x0F) != 0; }
    };
    using Done = std::function<void(bool ok)>;
    using StatusDone = std::function<void(bool ok, Status status)>;
    // The downloaded samples, or nullptr unless the result is Downloaded.
    using DownloadDone =
        std::function<void(CLoggingDownload::Result result, std::shared_ptr<CRecordStore> records)>;

    virtual ~CLoggingLink() = default;

    virtual bool IsConnected() const = 0;
    // Whether the line is a COM port, where logged bytes arrive at about a millisecond each.
    virtual bool IsSerial() const = 0;

    virtual void StartLogging(const CLoggingSequence::StartValues& values, Done done) = 0;
    virtual void StopLogging(Done done) = 0;
    virtual void ReadStatus(StatusDone done) = 0;
    virtual void Download(DownloadDone done) = 0;
    virtual void EraseLoggedData(Done done) = 0;
};
