#include "gui/settings/CEngineLoggingLink.h"

#include "model/CRecordStore.h"
#include "protocol/CMeterEngine.h"

#include <utility>

template <typename Result>
void CEngineLoggingLink::Run(std::function<Result()> work, std::function<void(Result)> done, Result failure) {
    m_engine.Run<Result>(std::move(work), m_poster.Wrap(std::move(done)), std::move(failure));
}

bool CEngineLoggingLink::IsConnected() const {
    return m_engine.IsConnected();
}

void CEngineLoggingLink::StartLogging(const CLoggingSequence::StartValues& values, Done done) {
    Run<bool>([&engine = m_engine, values] { return engine.StartLogging(values); }, std::move(done), false);
}

void CEngineLoggingLink::StopLogging(Done done) {
    Run<bool>([&engine = m_engine] { return engine.SetLoggingMode(0); }, std::move(done), false);
}

void CEngineLoggingLink::ReadStatus(StatusDone done) {
    using Reply = std::pair<bool, Status>;
    Run<Reply>(
        [&engine = m_engine, status = m_status] {
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
        [&engine = m_engine, serial = m_serialPort, status = m_status] {
            auto records = std::make_shared<CRecordStore>();
            const CLoggingDownload::Result result =
                CLoggingDownload(engine, *status).Download(*records, serial);
            return Reply{result, result == CLoggingDownload::Downloaded ? records : nullptr};
        },
        [done = std::move(done)](Reply reply) { done(reply.first, reply.second); },
        Reply{CLoggingDownload::Failed, nullptr});
}

void CEngineLoggingLink::EraseLoggedData(Done done) {
    Run<bool>([&engine = m_engine] { return CLoggingDownload::ClearLoggedData(engine); }, std::move(done),
              false);
}
