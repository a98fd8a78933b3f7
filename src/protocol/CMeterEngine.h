#pragma once

#include "platform/CAutoResetEvent.h"
#include "protocol/CLoggingSequence.h"
#include "protocol/CPeakSelector.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CPowerDevice;
class CReadingReceiver;
class CRecordStore;

// The one object that talks to the sensor: owns the transport and the reply buffer, identifies
// the sensor on connect, runs the worker thread that performs the screens' measurement
// exchanges, and offers the set-up and logging commands to the user-interface thread.
//
// The line is held by one exchange at a time: the worker and the user-interface senders take
// m_lineLock around each command and its reply, so a set-up command can never interleave with
// a measurement on the wire. Decoded values that both threads see are atomics, or are copied
// out under the same lock.
class CMeterEngine {
public:
    using TransportFactory = std::function<std::unique_ptr<CPowerDevice>(int32_t port)>;

    static constexpr uint32_t kBufferSize = 262144;
    static constexpr int kStatusWordCount = 11;
    static constexpr int kPulseValueCount = 5;
    static constexpr int kModeCount = 6;
    // How long Disconnect lets a running exchange finish before it cancels the transport's I/O:
    // an ordinary exchange (write pause plus reply time-out) ends within it, a long histogram
    // wait is cut short so that the window never freezes for long.
    static constexpr int kStopGraceMs = 1200;

    enum Mode : int32_t {
        ModeAvg = 0,
        ModeForwardReverse = 1,
        ModePeak = 2,
        ModeRev = 3,
        ModePulse = 4,
        ModeCcdf = 5
    };

    static CMeterEngine& Instance();
    // Disconnects the process-wide engine and replaces it with a fresh one (tests).
    static void ResetInstance();

    CMeterEngine();
    ~CMeterEngine();
    CMeterEngine(const CMeterEngine&) = delete;
    CMeterEngine& operator=(const CMeterEngine&) = delete;

    // How Connect creates a transport; the default gives a COM port for port > 0, else USB.
    void SetTransportFactory(TransportFactory factory);

    // 0 connected; -1 already connected; -2 transport did not open; -3 identification failed;
    // -4 worker thread not created.
    int32_t Connect(int32_t port);
    // Stops the worker (cancelling a long exchange after kStopGraceMs) and releases the transport.
    void Disconnect();
    bool IsConnected() const;

    int32_t GetIdentificationCode() const { return m_identificationCode.load(); }
    int32_t GetFirmwareVersion() const { return m_firmwareVersion.load(); }
    int32_t GetSerialNumber() const { return m_serialNumber.load(); }
    // Logging status word 0..10; 0 for other indexes.
    int32_t GetStatusWord(int index) const;
    int32_t GetLastReplyState() const { return m_lastReplyState.load(); }
    int32_t GetLastReplyValue() const { return m_lastReplyValue.load(); }
    int32_t GetForwardPower() const { return m_forwardPower.load(); }
    int32_t GetReversePower() const { return m_reversePower.load(); }
    // Pulse value 0..4 of the last PULSE reading; -1 for other indexes.
    int32_t GetPulseValue(int index) const;
    // A copy of the last histogram (key in hundredths of a dB -> count).
    std::map<int32_t, int32_t> GetHistogram() const;

    // Queues one measurement exchange for the worker, replacing one not yet taken, and marks
    // it pending. The sensor model and the offset are taken from the settings profile now.
    // False without a worker thread, without a settings profile, or for an unknown mode.
    bool Request(int32_t mode, int32_t argument, uint32_t timeoutMs);
    bool IsPending() const { return m_pending.load(); }
    void SetPending(bool pending) { m_pending.store(pending); }

    // Set-up and logging senders (user-interface thread, no request pending). Each reports
    // whether every command it sent was acknowledged.
    // Sends every command of the logging set-up, even after one was not acknowledged.
    bool StartLogging(const CLoggingSequence::StartValues& values);
    bool SetLoggingMode(int32_t value);
    bool ClearLoggedData(int32_t value);
    bool SetTechnology();
    // True when the sensor reports more reverse than forward power (values in Get*Power).
    bool CheckReversePower(int32_t frequencyHundredths);
    bool SetPulsePeriodAndReference(int32_t periodIndex, int32_t reference);
    bool SetAveraging();
    bool SetCcdfFrequency(int32_t frequencyHundredths);
    bool ReadLoggingStatus();
    // Replaces the contents of `records` with the logged samples, cycling through the channels
    // of status word 0. Fails without touching them when that word names no channel or the byte
    // count does not fit the reply buffer.
    bool DownloadLoggedData(uint32_t timeoutMs, uint32_t byteCount, int32_t blockCount, int32_t sampleLimit,
                            CRecordStore& records);

private:
    struct SRequest {
        int32_t mode = 0;
        int32_t argument = 0;
        uint32_t timeoutMs = 0;
        int32_t modelNumber = 0;
        int32_t offsetHundredths = 0;
    };
    struct SResult {
        int32_t state = 0;
        int32_t values[kPulseValueCount] = {-1, -1, -1, -1, -1};
    };

    void ForgetIdentity();
    void ReleaseTransport();
    bool Identify();
    bool IdentifyStep(const char mnemonic[3], int32_t expectedKind, std::atomic<int32_t>& field);

    void WorkerLoop();
    SRequest TakeRequest();
    SResult RunExchange(const SRequest& request);
    SResult ExchangeShortReading(const char mnemonic[3], const SRequest& request);
    SResult ExchangeForwardReverse(const SRequest& request);
    SResult ExchangeSelectedPeak(const SRequest& request);
    SResult ExchangePulse(const SRequest& request);
    SResult ExchangeHistogram(const SRequest& request);
    void HandOver(int32_t mode, const SResult& result);

    // Line primitives; the caller holds m_lineLock.
    bool Send(const uint8_t* bytes, uint32_t count);
    bool Receive(uint32_t count, uint32_t timeoutMs);
    int32_t ReadShortReply(uint32_t timeoutMs, uint32_t expectedLength);
    int32_t ReadMultiValueReply(uint32_t valueCount, const char* head, uint32_t timeoutMs, int32_t* values);
    int32_t ShortExchange(const char mnemonic[3], int32_t argument, uint32_t timeoutMs);
    bool Acknowledged(const char mnemonic[3], int32_t argument, uint32_t timeoutMs);

    // The user-interface thread waits for the line at most as long as its reply may take.
    std::unique_lock<std::mutex> TakeLine(uint32_t timeoutMs);
    // A set-up command from the user-interface thread, acknowledged within timeoutMs.
    bool SetupCommand(const char mnemonic[3], int32_t argument, uint32_t timeoutMs);

    TransportFactory m_transportFactory;
    std::unique_ptr<CPowerDevice> m_transport;
    std::vector<uint8_t> m_buffer;
    mutable std::mutex m_lineLock;

    std::atomic<int32_t> m_identificationCode{-1};
    std::atomic<int32_t> m_firmwareVersion{-1};
    std::atomic<int32_t> m_serialNumber{-1};
    std::atomic<int32_t> m_lastReplyState{0};
    std::atomic<int32_t> m_lastReplyValue{-1};
    std::atomic<int32_t> m_forwardPower{-1};
    std::atomic<int32_t> m_reversePower{-1};
    std::array<std::atomic<int32_t>, kPulseValueCount> m_pulseValues;
    std::array<std::atomic<int32_t>, kStatusWordCount> m_statusWords;
    std::map<int32_t, int32_t> m_histogram; // guarded by m_lineLock
    CPeakSelector m_peakSelector;           // worker only

    std::mutex m_requestLock;
    SRequest m_request;
    std::atomic<bool> m_pending{false};
    std::atomic<bool> m_stopping{false};
    std::thread m_worker;
    CAutoResetEvent m_requestEvent;
    CAutoResetEvent m_stopEvent;
    CAutoResetEvent m_workerEnded;
};
