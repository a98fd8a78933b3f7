#include "protocol/CLoggingDownload.h"

#include "model/CRecordStore.h"
#include "protocol/CLoggedDataDecoder.h"
#include "protocol/CMeterEngine.h"

#include <algorithm>

static constexpr int32_t kLoggingBits = 0x0F;
// A byte takes 1.04 ms at 9600 baud; twice that leaves room for adapters and a busy line.
static constexpr uint64_t kSerialMsPerByte = 2;

int32_t CLoggingDownload::LoggedChannelMask() const {
    return m_status[kChannelWord] & kLoggingBits;
}

int32_t CLoggingDownload::LoggedSampleCount() const {
    return m_status[kSampleWord];
}

bool CLoggingDownload::CanFetch() const {
    return HoldFlag() == 0 && LoggedSampleCount() > 0 && LoggedChannelMask() != 0;
}

uint32_t CLoggingDownload::TimeoutFor(uint32_t byteCount, bool serialPort) {
    if (!serialPort)
        return kTimeoutMs;
    const uint64_t bytes = std::min<uint64_t>(byteCount, CSensorLine::kBufferSize);
    return kTimeoutMs + static_cast<uint32_t>(bytes * kSerialMsPerByte);
}

uint64_t CLoggingDownload::ByteCount() const {
    const int32_t samples = LoggedSampleCount();
    if (samples <= 0 || LoggedChannelMask() == 0)
        return 0;
    return static_cast<uint64_t>(CLoggedDataDecoder::BlocksFor(samples)) * CLoggedDataDecoder::kBlockBytes;
}

CLoggingDownload::Result CLoggingDownload::Download(CRecordStore& records, bool serialPort) {
    const uint64_t bytes = ByteCount();
    if (bytes == 0)
        return NothingLogged;
    if (bytes > CSensorLine::kBufferSize)
        return Failed;
    const auto byteCount = static_cast<uint32_t>(bytes);
    const int32_t samples = LoggedSampleCount();
    const CSensorLine::SDownload download{m_status[kChannelWord], TimeoutFor(byteCount, serialPort),
                                          byteCount, CLoggedDataDecoder::BlocksFor(samples), samples};
    if (!m_engine.DownloadLoggedData(download, records))
        return Failed;
    records.StartRecording(false);
    records.MarkStop();
    return Downloaded;
}

bool CLoggingDownload::ClearLoggedData(CMeterEngine& engine) {
    return engine.ClearLoggedData(1);
}
