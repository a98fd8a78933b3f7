#pragma once

#include "model/PowerHistogram.h"
#include "platform/CAutoResetEvent.h"
#include "protocol/CLineLock.h"
#include "protocol/CLoggingSequence.h"
#include "protocol/CReadingSinks.h"
#include "protocol/CRequestTicket.h"
#include "protocol/CSensorLine.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

class CPowerDevice;
class CReadingReceiver;
class CRecordStore;

// The one object that talks to the sensor: owns the transport and the line over it
// (CSensorLine), and runs the worker thread that does every exchange: identification on
// connect, the screens' measurements (handed to the sinks registered per kind of screen), and
// queued jobs such as set-up and logging commands, whose results return through completion
// callbacks.
//
// Everything the engine needs comes in with the call: the sensor model and the external
// offset with each request, set-up values as arguments. The line is held by one exchange at
// a time (CLineLock), so a set-up command never interleaves with a measurement on the wire.
class CMeterEngine {
public:
    using TransportFactory = std::function<std::unique_ptr<CPowerDevice>(int32_t port)>;
    using Histogram = PowerHistogram;

    using Failure = CSensorLine::Failure;

    static constexpr int kModeCount = 6;
    // How long Disconnect lets a running exchange finish before it cancels the transport's I/O:
    // an ordinary exchange (write pause plus reply time-out) ends within it, a long histogram
    // wait is cut short so that the window never freezes for long.
    static constexpr int kStopGraceMs = 1200;
    // Failed measurement exchanges in a row after which the link counts as lost.
    static constexpr int kLostAfterFailures = 3;
    // How often a lost link is reopened and the sensor asked who it is.
    static constexpr int kReconnectIntervalMs = 1000;

    enum Mode : int32_t {
        ModeAvg = 0,
        ModeForwardReverse = 1,
        ModePeak = 2,
        ModeRev = 3,
        ModePulse = 4,
        ModeCcdf = 5
    };

    enum ReverseCheck : int32_t { ReverseCheckFailed = -1, ReverseBelowForward = 0, ReverseAboveForward = 1 };
    // The verdict of a reverse-power check with the two powers it compared (-1 when it failed).
    struct SReverseCheck {
        ReverseCheck verdict = ReverseCheckFailed;
        int32_t forward = -1;
        int32_t reverse = -1;
    };

    // The most readings one request asks for: a screen's longest request cycle.
    static constexpr int kMaxBatch = 3;

    struct SRequest {
        int32_t mode = 0;
        int32_t argument = 0; // frequency x 100 for the measurements
        uint32_t timeoutMs = 0;
        int32_t modelNumber = 0;
        int32_t offsetHundredths = 0; // external offset, the first key of a small histogram
        // The next request begins no sooner than this long after this one began: the worker
        // paces a measuring screen's readings, so that the window only answers them.
        uint32_t paceMs = 0;
        // Modes run right after `mode`, back to back, and handed over with it in one batch (-1
        // ends them), so that a screen's whole request cycle costs the window one turn.
        std::array<int32_t, kMaxBatch - 1> followedBy{-1, -1};
    };

    CMeterEngine();
    ~CMeterEngine();
    CMeterEngine(const CMeterEngine&) = delete;
    CMeterEngine& operator=(const CMeterEngine&) = delete;

    // How Connect creates a transport; the default gives a COM port for port > 0, else USB.
    void SetTransportFactory(TransportFactory factory);

    // Opens and identifies on the worker thread and passes the result to `done` there:
    // 0 connected; -1 already connected (or connecting; then `done` runs at once on the
    // caller's thread, as for -4); -2 transport did not open; -3 identification failed;
    // -4 worker thread not created.
    void ConnectAsync(int32_t port, std::function<void(int32_t result)> done);
    // ConnectAsync, waiting for its result.
    int32_t Connect(int32_t port);
    // Stops the worker (cancelling a long exchange after kStopGraceMs) and releases the transport.
    void Disconnect();
    // Disconnect without holding up the caller: the engine is disconnected at once, while a
    // thread of its own waits for the worker and releases the transport, then calls `done`
    // there. A Connect or Disconnect meanwhile waits for that to end.
    void DisconnectAsync(std::function<void()> done);
    bool IsDisconnecting() const { return m_disconnecting.load(); }
    // True from a successful connect until Disconnect, also while a lost link is being reopened.
    bool IsConnected() const { return m_connected.load(); }
    // With auto-reconnect on, a sensor that stops answering is not given up: the worker closes
    // the link and keeps reopening the same port until the same sensor (model and serial
    // number) answers again. Off by default: every exchange then simply fails.
    void SetAutoReconnect(bool on) { m_autoReconnect.store(on); }
    // The link is lost and being reopened; no measurement is accepted meanwhile.
    bool IsLinkLost() const { return m_linkLost.load(); }
    // During a lost link, another sensor than the connected one answered on the port.
    bool IsOtherSensorOnPort() const { return m_otherSensor.load(); }

    int32_t GetIdentificationCode() const { return m_identificationCode.load(); }
    int32_t GetFirmwareVersion() const { return m_firmwareVersion.load(); }
    int32_t GetSerialNumber() const { return m_serialNumber.load(); }
    // The failure of the last identification, exchange or set-up command; None after success.
    Failure GetLastFailure() const { return m_lastFailure.load(); }
    // Measurement exchanges that failed since the engine was created.
    uint64_t GetFailedExchangeCount() const { return m_failedExchanges.load(); }

    // Where results are handed over, per kind of screen.
    CReadingSinks& Sinks() { return m_sinks; }

    // Queues one request for the worker, replacing one not yet taken (whose ticket is dropped).
    // Its results go to the sink of its kind while the returned ticket is not dropped, those of
    // a batch between the sink's BeginBatch and EndBatch; a batch ends at its first failed
    // exchange. nullptr when not connected, for an unknown mode, or for a batch whose modes go
    // to different kinds of screen.
    std::shared_ptr<CRequestTicket> Request(const SRequest& request);

    // Runs `work` on the worker thread, after the jobs and before the measurement requested
    // before it, and hands its result to `done` there. When no worker runs, or the engine
    // disconnects first, `done` gets `failure` instead (at once on the caller's thread when
    // nothing could be queued).
    template <typename Result>
    void Run(std::function<Result()> work, std::function<void(Result)> done, Result failure) {
        auto shared = std::make_shared<std::function<void(Result)>>(std::move(done));
        const bool queued = Queue([work = std::move(work), shared] { (*shared)(work()); },
                                  [shared, failure] { (*shared)(failure); });
        if (!queued)
            (*shared)(failure);
    }

    // One measurement exchange for an asker other than the screens, made by a job on the worker
    // (through Run): the result goes to `receiver` alone and counts toward a lost link as the
    // screens' exchanges do. While the link is lost it fails at once.
    void ExchangeFor(const SRequest& request, CReadingReceiver& receiver);

    // Set-up and logging senders. They wait for the line (never without a limit), so the
    // user interface calls them through Run. Each reports whether every command it sent was
    // acknowledged.
    // Sends every command of the logging set-up, even after one was not acknowledged.
    bool StartLogging(const CLoggingSequence::StartValues& values);
    bool SetLoggingMode(int32_t value);
    bool ClearLoggedData(int32_t value);
    bool SetTechnology(int32_t technology);
    // Forward and reverse power at the frequency; a failed reading reports failure, never a
    // comparison of older values.
    SReverseCheck CheckReversePower(int32_t frequencyHundredths);
    bool SetPulsePeriodAndReference(int32_t periodIndex, int32_t reference);
    bool SetAveraging(int32_t modelNumber, int32_t averagingRepeat);
    bool SetCcdfFrequency(int32_t frequencyHundredths);
    // The eleven logging status words; none when the status request failed.
    std::optional<CSensorLine::StatusWords> ReadLoggingStatus();
    // Replaces the contents of `records` with the logged samples, cycling through the channels
    // of the download's mask (status word 0). Fails without touching them when the mask names no
    // channel, the byte count does not fit the reply buffer or the download fails. On the
    // worker, `records` must be a store of the caller's that nothing else reads until the
    // completion.
    bool DownloadLoggedData(const CSensorLine::SDownload& download, CRecordStore& records);

private:
    struct SResult {
        int32_t state = 0;
        std::array<int32_t, CSensorLine::kPulseValueCount> values = {-1, -1, -1, -1, -1};
        Histogram histogram;
    };
    // The modes of one request, in the order they run.
    struct SModes {
        std::array<int32_t, kMaxBatch> mode{};
        int count = 0;
    };
    struct SIdentity {
        int32_t code = -1;
        int32_t firmware = -1;
        int32_t serial = -1;
    };
    struct SJob {
        std::function<void()> run;
        std::function<void()> abandon;
    };

    bool Queue(std::function<void()> run, std::function<void()> abandon);
    void JoinEndedWorker();
    // Marks the engine disconnected and tells a running worker to stop; false when none runs.
    bool SignalStop();
    // Lets the worker end (cutting its exchange short after kStopGraceMs) and joins it.
    void FinishStop();
    void JoinCloser();
    void ForgetIdentity();
    void ReleaseTransport();
    // Replaces the transport, which the line then goes over.
    void SetTransport(std::unique_ptr<CPowerDevice> transport);
    int32_t OpenAndIdentify(int32_t port);
    // The caller holds the line. Fills in what the sensor told of itself, also when it failed.
    bool Identify(SIdentity& identity);
    void NoteExchange(bool succeeded);
    void TryReconnect();

    void WorkerMain(int32_t port, std::function<void(int32_t)> done);
    void WorkerLoop();
    void RunJobs();
    void AbandonJobs();
    // Waits until the pace of the last exchange has passed, running jobs meanwhile; false when
    // the worker is to stop.
    bool AwaitPace();
    // The request to run and its ticket, which the request gives up; no ticket when nothing
    // was requested since the last one was taken.
    SRequest TakeRequest(std::shared_ptr<CRequestTicket>& ticket);
    // One measurement exchange by the model's command table.
    SResult RunExchange(const SRequest& request);
    // RunExchange, counted toward a lost link.
    SResult RunCountedExchange(const SRequest& request);
    static SModes ModesOf(const SRequest& request);
    static bool IsValid(const SModes& modes);
    // Runs the request's modes back to back, up to the first failed exchange, and hands the
    // results over together.
    void RunBatch(const SRequest& request, CRequestTicket& ticket);
    // What a reading hands on to the screens: state 0 and values -1 unless it succeeded.
    static SResult Handed(bool ok, int32_t state, std::span<const int32_t> values);
    void HandOver(const SModes& modes, std::span<const SResult> results, CRequestTicket& ticket);
    static void Deliver(CReadingReceiver& sink, int32_t mode, const SResult& result);

    // Keeps a failure of the line for GetLastFailure; None leaves the one kept.
    Failure Note(Failure failure);
    template <typename Value> CSensorLine::SResult<Value> Noted(CSensorLine::SResult<Value> result) {
        Note(result.failure);
        return result;
    }

    // Waits for the line at most as long as the caller's reply may take; a line taken starts
    // with no failure recorded.
    std::unique_lock<CLineLock> TakeLine(uint32_t timeoutMs);
    // A set-up command, acknowledged within timeoutMs.
    bool SetupCommand(const char mnemonic[3], int32_t argument, uint32_t timeoutMs);

    TransportFactory m_transportFactory;
    std::unique_ptr<CPowerDevice> m_transport;
    CLineLock m_lineLock;
    CSensorLine m_line; // guarded by m_lineLock
    CReadingSinks m_sinks;

    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_autoReconnect{false};
    std::atomic<bool> m_linkLost{false};
    std::atomic<bool> m_otherSensor{false};
    int32_t m_port = 0;                                     // the connected port, reopened after a loss
    int m_failuresInARow = 0;                               // worker only
    std::chrono::steady_clock::time_point m_lastExchangeAt; // worker only
    uint32_t m_lastPaceMs = 0;                              // worker only
    std::atomic<int32_t> m_identificationCode{-1};
    std::atomic<int32_t> m_firmwareVersion{-1};
    std::atomic<int32_t> m_serialNumber{-1};
    std::atomic<Failure> m_lastFailure{Failure::None};
    std::atomic<uint64_t> m_failedExchanges{0};

    std::mutex m_requestLock; // guards m_request, m_ticket, m_jobs and m_acceptingJobs
    SRequest m_request;
    std::shared_ptr<CRequestTicket> m_ticket;
    std::deque<SJob> m_jobs;
    bool m_acceptingJobs = false;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_workerRunning{false};
    std::thread m_worker;
    std::thread m_closer; // finishes a DisconnectAsync
    std::atomic<bool> m_disconnecting{false};
    CAutoResetEvent m_requestEvent;
    CAutoResetEvent m_jobEvent;
    CAutoResetEvent m_stopEvent;
    CAutoResetEvent m_workerEnded;
};
