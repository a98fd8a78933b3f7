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
        [&engine = m_engine] {
            if (!engine.ReadLoggingStatus())
                return Reply{false, {}};
            const CLoggingDownload download(engine);
            return Reply{
                true, {download.LoggedChannelMask(), engine.GetStatusWord(1), download.LoggedSampleCount()}};
        },
        [done = std::move(done)](Reply reply) { done(reply.first, reply.second); }, Reply{false, {}});
}

void CEngineLoggingLink::Download(DownloadDone done) {
    using Reply = std::pair<CLoggingDownload::Result, std::shared_ptr<CRecordStore>>;
    Run<Reply>(
        [&engine = m_engine, serial = m_serialPort] {
            auto records = std::make_shared<CRecordStore>();
            const CLoggingDownload::Result result = CLoggingDownload(engine).Download(*records, serial);
            return Reply{result, result == CLoggingDownload::Downloaded ? records : nullptr};
        },
        [done = std::move(done)](Reply reply) { done(reply.first, reply.second); },
        Reply{CLoggingDownload::Failed, nullptr});
}

void CEngineLoggingLink::EraseLoggedData(Done done) {
    Run<bool>([&engine = m_engine] { return CLoggingDownload(engine).ClearLoggedData(); }, std::move(done),
              false);
}
