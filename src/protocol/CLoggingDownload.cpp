#include "protocol/CLoggingDownload.h"

#include "app/CAppRegistry.h"
#include "history/CHistoryRecorder.h"
#include "protocol/CLoggedDataDecoder.h"
#include "protocol/CMeterEngine.h"

int32_t CLoggingDownload::LoggedChannelMask() const {
    return m_engine.GetStatusWord(0);
}

int32_t CLoggingDownload::LoggedSampleCount() const {
    return m_engine.GetStatusWord(6);
}

bool CLoggingDownload::CanFetch() const {
    return m_engine.GetStatusWord(1) == 0 && LoggedSampleCount() != 0;
}

CLoggingDownload::Result CLoggingDownload::Download() {
    const int32_t samples = LoggedSampleCount();
    if (samples == 0)
        return NothingLogged;
    // A negative count is no count at all; the engine refuses block counts beyond its buffer.
    if (samples < 0)
        return Failed;
    const int32_t blocks = CLoggedDataDecoder::BlocksFor(samples);
    const uint64_t bytes = static_cast<uint64_t>(blocks) * CLoggedDataDecoder::kBlockBytes;
    if (bytes > CMeterEngine::kBufferSize)
        return Failed;
    const bool ok = m_engine.DownloadLoggedData(kTimeoutMs, static_cast<uint32_t>(bytes), blocks, samples);
    return ok ? Downloaded : Failed;
}

bool CLoggingDownload::SaveToFile(const std::string& path, const std::string& title, std::string* error) {
    CSettingProfile* profile = CAppRegistry::Instance().GetSettingProfile();
    if (!profile) {
        if (error)
            *error = "no settings profile";
        return false;
    }
    // Only the four logging bits have samples; any other bit would name an empty channel and
    // cut the saved rows to none.
    const auto mask = static_cast<uint8_t>(LoggedChannelMask() & 0x0F);
    return CHistoryRecorder::SaveHistoryFromRecords(path, *profile, mask, title, error);
}

bool CLoggingDownload::ClearLoggedData() {
    return m_engine.ClearLoggedData(1);
}
