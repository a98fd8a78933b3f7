#pragma once

#include "appcore/CLoggingLink.h"
#include "gui/kit/CUiThreadPoster.h"
#include "protocol/CSensorLine.h"

#include <memory>

class CMeterEngine;

// The logging exchanges as jobs of a sensor's acquisition engine's worker thread; completions
// come back on the user-interface thread and are dropped once the link is gone.
class CEngineLoggingLink : public CLoggingLink {
public:
    // serialPort: the sensor is on a COM port, where a download takes its time.
    CEngineLoggingLink(CMeterEngine& engine, bool serialPort) : m_engine(engine), m_serialPort(serialPort) {}

    bool IsConnected() const override;
    bool IsSerial() const override { return m_serialPort; }
    void StartLogging(const CLoggingSequence::StartValues& values, Done done) override;
    void StopLogging(Done done) override;
    void ReadStatus(StatusDone done) override;
    void Download(DownloadDone done) override;
    void EraseLoggedData(Done done) override;

private:
    // Queues work for the engine's worker and hands its result (failure when it could not
    // run) to done on the user-interface thread.
    template <typename Result>
    void Run(std::function<Result()> work, std::function<void(Result)> done, Result failure);

    CMeterEngine& m_engine;
    bool m_serialPort;
    // The words of the last status read, by which a download asks for the logged data; only
    // the engine's worker reads and writes them, one job after the other.
    std::shared_ptr<CSensorLine::StatusWords> m_status = std::make_shared<CSensorLine::StatusWords>();
    CUiThreadPoster m_poster;
};
