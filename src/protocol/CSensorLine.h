#pragma once

#include "model/PowerHistogram.h"
#include "protocol/CPeakSelector.h"
#include "protocol/CReplyParser.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class CPowerDevice;

// The sensor's command set over one transport: each command is sent, its fixed-length reply
// received, validated and decoded, and the result returned with the reason when it failed.
// Owns the reply buffer. Not thread-safe: one caller at a time drives it.
class CSensorLine {
public:
    static constexpr uint32_t kBufferSize = 262144;
    static constexpr int kStatusWordCount = 11;
    static constexpr int kPulseValueCount = 5;

    // Why a command failed, so that a failure can be named to the user.
    enum class Failure : int32_t {
        None,
        PortGone, // the transport refused a write or reported an error before the time-out
        NoReply,  // nothing, or too little, came within the time-out
        BadReply, // a reply came that did not validate
    };

    // What a command brought back; `value` holds only when `failure` is None.
    template <typename Value> struct SResult {
        Failure failure = Failure::None;
        Value value{};
        bool Ok() const { return failure == Failure::None; }
    };

    using ForwardReverse = std::array<int32_t, 2>;
    using PulseValues = std::array<int32_t, kPulseValueCount>;
    using StatusWords = std::array<int32_t, kStatusWordCount>;

    struct SLoggedSample {
        int32_t channel;
        float value;
    };
    // What a download of logged data asks for; channelMask is status word 0, which sets the
    // order in which the samples cycle through the channels.
    struct SDownload {
        int32_t channelMask = 0;
        uint32_t timeoutMs = 0;
        uint32_t byteCount = 0;
        int32_t blockCount = 0;
        int32_t sampleLimit = 0;
    };

    CSensorLine();

    // The transport the commands go over; without one every command fails.
    void SetDevice(CPowerDevice* device) { m_device = device; }

    // The three identification steps, each answered by a short reply of its own kind.
    SResult<int32_t> ReadIdentificationCode();
    SResult<int32_t> ReadFirmwareVersion();
    SResult<int32_t> ReadSerialNumber();

    // A reading command answered by a short reply, whatever its kind.
    SResult<CReplyParser::SShortReply> ReadShort(const char mnemonic[3], int32_t argument,
                                                 uint32_t timeoutMs);
    SResult<ForwardReverse> ReadForwardReverse(int32_t frequencyHundredths, uint32_t timeoutMs);
    // The PEAK reading chosen from the reply and the values held from the replies before it.
    SResult<int32_t> ReadSelectedPeak(int32_t frequencyHundredths, uint32_t timeoutMs);
    SResult<PulseValues> ReadPulse(int32_t frequencyHundredths, uint32_t timeoutMs);
    // The frequency, then the histogram in the firmware's format; offsetHundredths is the first
    // key of the small format.
    SResult<PowerHistogram> ReadHistogram(int32_t frequencyHundredths, uint32_t firmwareVersion,
                                          int32_t offsetHundredths);
    // A set-up command; None when the sensor acknowledged it within timeoutMs.
    Failure Acknowledge(const char mnemonic[3], int32_t argument, uint32_t timeoutMs);
    SResult<StatusWords> ReadLoggingStatus();
    // Whether the mask names a channel and the blocks fit the byte count and the buffer.
    static bool CanDownload(const SDownload& download);
    // The logged samples, each with the channel of its place in the cycle. Callers ask only for
    // what CanDownload allows; anything else fails without reading beyond the buffer.
    SResult<std::vector<SLoggedSample>> DownloadLoggedData(const SDownload& download);

private:
    SResult<int32_t> ReadIdentity(const char mnemonic[3], int32_t expectedKind);
    // Sends the frame and receives exactly replyLength bytes into the buffer.
    Failure Exchange(std::span<const uint8_t> frame, uint32_t replyLength, uint32_t timeoutMs);
    Failure Send(std::span<const uint8_t> frame);
    // Reads away what is still arriving of a reply given up on.
    void SettleLine();
    Failure Receive(uint32_t count, uint32_t timeoutMs);
    // A short reply or an acknowledgement of the given length.
    SResult<CReplyParser::SShortReply> ExchangeShort(std::span<const uint8_t> frame, uint32_t replyLength,
                                                     uint32_t timeoutMs);
    // A multi-value reply of N values under the given head.
    template <size_t N>
    SResult<std::array<int32_t, N>> ExchangeValues(std::span<const uint8_t> frame, const char* head,
                                                   uint32_t timeoutMs);

    CPowerDevice* m_device = nullptr;
    std::vector<uint8_t> m_buffer;
    // A reply was not read in full, so its rest may still be on its way; kept across
    // transports, as the sensor goes on sending after the port was closed and reopened.
    bool m_unsettled = false;
    CPeakSelector m_peakSelector;
};
