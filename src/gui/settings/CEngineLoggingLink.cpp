#include "gui/settings/CEngineLoggingLink.h"

#include "model/CRecordStore.h"
#include "protocol/CMeterEngine.h"

#include <utility>

template <typename Result>
void CEngineLoggingLink::Run(std::function<Result()> work, std::function<void(Result)> done, Result failure) {
    CMeterEngine::Instance().Run<Result>(std::move(work), m_poster.Wrap(std::move(done)), std::move(failure));
}

bool CEngineLoggingLink::IsConnected() const {
    return CMeterEngine::Instance().IsConnected();
}

void CEngineLoggingLink::StartLogging(const CLoggingSequence::StartValues& values, Done done) {
    Run<bool>([values] { return CMeterEngine::Instance().StartLogging(values); }, std::move(done), false);
}

void CEngineLoggingLink::StopLogging(Done done) {
    Run<bool>([] { return CMeterEngine::Instance().SetLoggingMode(0); }, std::move(done), false);
}

void CEngineLoggingLink::ReadStatus(StatusDone done) {
    using Reply = std::pair<bool, Status>;
    Run<Reply>(
        [status = m_status] {
            CMeterEngine& engine = CMeterEngine::Instance();
            const auto words = engine.ReadLoggingStatus();
            if (!words)
                return Reply{false, {}};
            *status = *words;
            const CLoggingDownload download(engine, *words);
            return Reply{true,
                         {download.LoggedChannelMask(), download.HoldFlag(), download.LoggedSampleCount()}};
        },
        [done = std::move(done)](Reply reply) { done(reply.first, reply.second); }, Reply{false, {}});
}

void CEngineLoggingLink::Download(DownloadDone done) {
    using Reply = std::pair<CLoggingDownload::Result, std::shared_ptr<CRecordStore>>;
    Run<Reply>(
        [serial = m_serialPort, status = m_status] {
            auto records = std::make_shared<CRecordStore>();
            const CLoggingDownload::Result result =
                CLoggingDownload(CMeterEngine::Instance(), *status).Download(*records, serial);
            return Reply{result, result == CLoggingDownload::Downloaded ? records : nullptr};
        },
        [done = std::move(done)](Reply reply) { done(reply.first, reply.second); },
        Reply{CLoggingDownload::Failed, nullptr});
}

void CEngineLoggingLink::EraseLoggedData(Done done) {
    Run<bool>([] { return CLoggingDownload::ClearLoggedData(CMeterEngine::Instance()); }, std::move(done),
              false);
}
