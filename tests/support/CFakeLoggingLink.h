#pragma once

#include "appcore/CLoggingLink.h"
#include "model/CRecordStore.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A logging link without a sensor: it records what was asked and holds each completion back
// until the test lets it finish, as the real exchanges do.
class CFakeLoggingLink : public CLoggingLink {
public:
    bool IsConnected() const override { return connected; }
    bool IsSerial() const override { return false; }

    void StartLogging(const CLoggingSequence::StartValues& values, Done done) override {
        started.push_back(values);
        Hold("start", [this, done] { done(answer); });
    }
    void StopLogging(Done done) override {
        Hold("stop", [this, done] { done(answer); });
    }
    void ReadStatus(StatusDone done) override {
        Hold("status", [this, done] { done(answer, status); });
    }
    void Download(DownloadDone done) override {
        Hold("download", [this, done] {
            auto records = std::make_shared<CRecordStore>();
            for (auto [channel, value] : downloaded)
                records->AddValue(channel, value);
            done(downloadResult, downloadResult == CLoggingDownload::Downloaded ? records : nullptr);
        });
    }
    void EraseLoggedData(Done done) override {
        Hold("erase", [this, done] { done(answer); });
    }

    // Runs the completions held back so far.
    void Finish() {
        std::vector<std::function<void()>> held;
        held.swap(m_held);
        for (const auto& completion : held)
            completion();
    }

    bool connected = true;
    bool answer = true;
    Status status;
    CLoggingDownload::Result downloadResult = CLoggingDownload::Downloaded;
    std::vector<std::pair<int, float>> downloaded; // channel and value, in arrival order
    std::vector<std::string> calls;
    std::vector<CLoggingSequence::StartValues> started;

private:
    void Hold(const char* call, std::function<void()> completion) {
        calls.push_back(call);
        m_held.push_back(std::move(completion));
    }

    std::vector<std::function<void()>> m_held;
};
