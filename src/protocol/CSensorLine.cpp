#include "protocol/CSensorLine.h"

#include "device/CPowerDevice.h"
#include "protocol/CHistogramDecoder.h"
#include "protocol/CLoggedDataDecoder.h"
#include "protocol/CMeterCommand.h"
#include "protocol/ReplyKind.h"

#include <chrono>

static constexpr uint32_t kIdentifyTimeoutMs = 2000;
static constexpr uint32_t kFrequencyTimeoutMs = 10000;
static constexpr uint32_t kStatusTimeoutMs = 10000;
// The rest of an abandoned reply is read away until the line has been quiet this long, but for
// no longer than the limit: a download over a COM port can run on for minutes, and a command
// that fails after the limit settles the line again.
static constexpr uint32_t kSettleQuietMs = 100;
static constexpr auto kSettleLimit = std::chrono::seconds(5);
static constexpr uint32_t kSettleChunk = 4096;

using Failure = CSensorLine::Failure;

CSensorLine::CSensorLine() : m_buffer(kBufferSize, 0) {}

CSensorLine::SResult<int32_t> CSensorLine::ReadIdentificationCode() {
    return ReadIdentity("GD", ReplyIdentificationCode);
}

CSensorLine::SResult<int32_t> CSensorLine::ReadFirmwareVersion() {
    return ReadIdentity("GV", ReplyFirmwareVersion);
}

CSensorLine::SResult<int32_t> CSensorLine::ReadSerialNumber() {
    return ReadIdentity("GS", ReplySerialNumber);
}

CSensorLine::SResult<int32_t> CSensorLine::ReadIdentity(const char mnemonic[3], int32_t expectedKind) {
    const auto reply =
        ExchangeShort(CMeterCommand::Plain(mnemonic), CReplyParser::kShortLength, kIdentifyTimeoutMs);
    if (!reply.Ok())
        return {reply.failure};
    if (reply.value.kind != expectedKind)
        return {Failure::BadReply};
    return {Failure::None, reply.value.value};
}

CSensorLine::SResult<CReplyParser::SShortReply> CSensorLine::ReadShort(const char mnemonic[3],
                                                                       int32_t argument, uint32_t timeoutMs) {
    return ExchangeShort(CMeterCommand::Parameter(mnemonic, argument), CReplyParser::kShortLength, timeoutMs);
}

CSensorLine::SResult<CSensorLine::ForwardReverse> CSensorLine::ReadForwardReverse(int32_t frequencyHundredths,
                                                                                  uint32_t timeoutMs) {
    return ExchangeValues<2>(CMeterCommand::Parameter("GE", frequencyHundredths), "[P,", timeoutMs);
}

CSensorLine::SResult<int32_t> CSensorLine::ReadSelectedPeak(int32_t frequencyHundredths, uint32_t timeoutMs) {
    const auto reply = ExchangeValues<CPeakSelector::kReplyValues>(
        CMeterCommand::Parameter("GP", frequencyHundredths), "[P,", timeoutMs);
    if (!reply.Ok())
        return {reply.failure};
    return {Failure::None, m_peakSelector.Select(reply.value)};
}

CSensorLine::SResult<CSensorLine::PulseValues> CSensorLine::ReadPulse(int32_t frequencyHundredths,
                                                                      uint32_t timeoutMs) {
    return ExchangeValues<kPulseValueCount>(CMeterCommand::Parameter("GU", frequencyHundredths), "[P,",
                                            timeoutMs);
}

CSensorLine::SResult<PowerHistogram>
CSensorLine::ReadHistogram(int32_t frequencyHundredths, uint32_t firmwareVersion, int32_t offsetHundredths) {
    // Without the frequency acknowledged the histogram would be of the wrong signal.
    if (const Failure failure = Acknowledge("GC", frequencyHundredths, kFrequencyTimeoutMs);
        failure != Failure::None)
        return {failure};
    const auto format = CHistogramDecoder::FormatFor(firmwareVersion);
    if (const Failure failure = Exchange(CMeterCommand::Plain("GK"), format.byteCount, format.timeoutMs);
        failure != Failure::None)
        return {failure};
    SResult<PowerHistogram> result;
    if (!CHistogramDecoder::Decode(m_buffer.data(), format.byteCount, offsetHundredths, result.value))
        return {Failure::BadReply};
    return result;
}

Failure CSensorLine::Acknowledge(const char mnemonic[3], int32_t argument, uint32_t timeoutMs) {
    const auto reply = ExchangeShort(CMeterCommand::Parameter(mnemonic, argument),
                                     CReplyParser::kAcknowledgementLength, timeoutMs);
    if (!reply.Ok())
        return reply.failure;
    return reply.value.kind == ReplyAcknowledged ? Failure::None : Failure::BadReply;
}

CSensorLine::SResult<CSensorLine::StatusWords> CSensorLine::ReadLoggingStatus() {
    return ExchangeValues<kStatusWordCount>(CMeterCommand::StatusRequest(), "[G,", kStatusTimeoutMs);
}

bool CSensorLine::CanDownload(const SDownload& download) {
    return !CLoggedDataDecoder::BuildCycle(download.channelMask).empty() && download.blockCount > 0 &&
           download.byteCount <= kBufferSize &&
           static_cast<uint64_t>(download.blockCount) * CLoggedDataDecoder::kBlockBytes <= download.byteCount;
}

CSensorLine::SResult<std::vector<CSensorLine::SLoggedSample>>
CSensorLine::DownloadLoggedData(const SDownload& download) {
    const auto frame = CMeterCommand::Parameter("AD", download.blockCount);
    if (const Failure failure = Exchange(frame, download.byteCount, download.timeoutMs);
        failure != Failure::None)
        return {failure};
    SResult<std::vector<SLoggedSample>> result;
    const auto append = [&result](int32_t channel, float value) { result.value.push_back({channel, value}); };
    int32_t taken = 0;
    if (!CLoggedDataDecoder::Decode(m_buffer.data(), download.byteCount, download.blockCount,
                                    download.sampleLimit,
                                    CLoggedDataDecoder::BuildCycle(download.channelMask), append, taken))
        return {Failure::BadReply};
    return result;
}

Failure CSensorLine::Exchange(std::span<const uint8_t> frame, uint32_t replyLength, uint32_t timeoutMs) {
    const Failure sent = Send(frame);
    return sent == Failure::None ? Receive(replyLength, timeoutMs) : sent;
}

// A write to a present port does not fail: a refused one means the port is gone.
Failure CSensorLine::Send(std::span<const uint8_t> frame) {
    if (!m_device)
        return Failure::PortGone;
    if (m_unsettled)
        SettleLine();
    uint32_t written = 0;
    const bool sent = m_device->Write(frame.data(), static_cast<uint32_t>(frame.size()), &written);
    return sent ? Failure::None : Failure::PortGone;
}

void CSensorLine::SettleLine() {
    m_unsettled = false;
    const auto deadline = std::chrono::steady_clock::now() + kSettleLimit;
    uint32_t got = 0;
    do {
        got = 0;
        m_device->Read(m_buffer.data(), kSettleChunk, &got, kSettleQuietMs);
    } while (got > 0 && std::chrono::steady_clock::now() < deadline);
}

Failure CSensorLine::Receive(uint32_t count, uint32_t timeoutMs) {
    if (!m_device || count > m_buffer.size())
        return Failure::NoReply;
    const auto start = std::chrono::steady_clock::now();
    uint32_t received = 0;
    // A transport that returns fewer bytes than asked would leave stale bytes of an earlier
    // reply in the buffer; such a read counts as no reply.
    if (m_device->Read(m_buffer.data(), count, &received, timeoutMs) && received == count)
        return Failure::None;
    m_unsettled = true;
    // A read gives up before its time-out only when the link reported an error (or its I/O
    // was cancelled).
    const auto spent = std::chrono::steady_clock::now() - start;
    return spent < std::chrono::milliseconds(timeoutMs / 2) ? Failure::PortGone : Failure::NoReply;
}

CSensorLine::SResult<CReplyParser::SShortReply>
CSensorLine::ExchangeShort(std::span<const uint8_t> frame, uint32_t replyLength, uint32_t timeoutMs) {
    if (const Failure failure = Exchange(frame, replyLength, timeoutMs); failure != Failure::None)
        return {failure};
    SResult<CReplyParser::SShortReply> result;
    if (CReplyParser::ParseShort(m_buffer.data(), replyLength, result.value) != 0)
        return {Failure::BadReply};
    return result;
}

template <size_t N>
CSensorLine::SResult<std::array<int32_t, N>>
CSensorLine::ExchangeValues(std::span<const uint8_t> frame, const char* head, uint32_t timeoutMs) {
    const uint32_t length = CReplyParser::MultiValueLength(N);
    if (const Failure failure = Exchange(frame, length, timeoutMs); failure != Failure::None)
        return {failure};
    SResult<std::array<int32_t, N>> result;
    if (!CReplyParser::ParseMultiValue(m_buffer.data(), length, head, result.value.data(), N))
        return {Failure::BadReply};
    return result;
}
