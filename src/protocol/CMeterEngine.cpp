#include "protocol/CMeterEngine.h"

#include "device/CSerialDevice.h"
#include "device/CUsbDevice.h"
#include "model/CRecordStore.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/ReplyKind.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <utility>

#ifndef _WIN32
#include "device/CDescriptorIo.h"
#endif

static constexpr int32_t kAcceptedCodes[] = {4, 5, 6, 7, 8, 10, 11, 13, 14};
static constexpr uint32_t kIdentifyTimeoutMs = 2000;
// A measurement waits for the line at most this long; only a set-up sender called from outside
// the worker can hold it, and none takes longer.
static constexpr uint32_t kExchangeLineWaitMs = 15000;
static constexpr int32_t kCommandModel = 5; // the model with its own command table
static constexpr uint32_t kReverseCheckTimeoutMs = 500;
static constexpr uint32_t kStatusTimeoutMs = 10000;

static std::unique_ptr<CPowerDevice> CreateDefaultTransport(int32_t port) {
    if (port > 0)
        return std::make_unique<CSerialDevice>();
    return std::make_unique<CUsbDevice>();
}

CMeterEngine::CMeterEngine() : m_transportFactory(CreateDefaultTransport) {}

CMeterEngine::~CMeterEngine() {
    Disconnect();
}

void CMeterEngine::SetTransportFactory(TransportFactory factory) {
    m_transportFactory = std::move(factory);
}

void CMeterEngine::ConnectAsync(int32_t port, std::function<void(int32_t result)> done) {
    JoinCloser();
    JoinEndedWorker();
    if (m_worker.joinable()) {
        done(-1);
        return;
    }
    ForgetIdentity();
    SetTransport(m_transportFactory(port));
    if (!m_transport) {
        done(-2);
        return;
    }
    auto shared = std::make_shared<std::function<void(int32_t)>>(std::move(done));
    m_workerRunning.store(true);
    try {
        m_worker = std::thread([this, port, shared] { WorkerMain(port, *shared); });
    } catch (const std::system_error&) {
        m_workerRunning.store(false);
        SetTransport(nullptr);
        (*shared)(-4);
    }
}

int32_t CMeterEngine::Connect(int32_t port) {
    // Shared: the worker may still be inside set_value when this thread has its result.
    auto result = std::make_shared<std::promise<int32_t>>();
    std::future<int32_t> future = result->get_future();
    ConnectAsync(port, [result](int32_t code) { result->set_value(code); });
    return future.get();
}

void CMeterEngine::JoinEndedWorker() {
    if (!m_worker.joinable() || m_workerRunning.load())
        return;
    m_worker.join();
    m_workerEnded.Wait(0);
    ReleaseTransport();
}

void CMeterEngine::Disconnect() {
    JoinCloser();
    if (SignalStop())
        FinishStop();
    ReleaseTransport();
}

void CMeterEngine::DisconnectAsync(std::function<void()> done) {
    JoinCloser();
    if (!SignalStop()) {
        ReleaseTransport();
        done();
        return;
    }
    m_disconnecting.store(true);
    auto shared = std::make_shared<std::function<void()>>(std::move(done));
    const auto finish = [this, shared] {
        FinishStop();
        ReleaseTransport();
        m_disconnecting.store(false);
        (*shared)();
    };
    try {
        m_closer = std::thread(finish);
    } catch (const std::system_error&) {
        finish();
    }
}

bool CMeterEngine::SignalStop() {
    ForgetIdentity();
    m_connected.store(false);
    if (!m_worker.joinable())
        return false;
    m_stopping.store(true);
    m_stopEvent.Set();
    std::shared_ptr<CRequestTicket> untaken;
    {
        std::lock_guard lock(m_requestLock);
        untaken = std::move(m_ticket);
        m_ticket.reset();
    }
    // Never to be answered: its asker asks again once connected.
    if (untaken)
        untaken->Drop();
    return true;
}

void CMeterEngine::FinishStop() {
    if (!m_workerEnded.Wait(kStopGraceMs))
        m_transport->CancelIo();
    m_worker.join();
    // Leave no stale signal behind for the next connection's worker.
    for (CAutoResetEvent* event : {&m_workerEnded, &m_requestEvent, &m_jobEvent, &m_stopEvent})
        event->Wait(0);
    m_stopping.store(false);
    // An identification cut short may have got as far as recording the sensor.
    ForgetIdentity();
    m_connected.store(false);
}

void CMeterEngine::JoinCloser() {
    if (m_closer.joinable())
        m_closer.join();
}

void CMeterEngine::ForgetIdentity() {
    m_linkLost.store(false);
    m_otherSensor.store(false);
    m_identificationCode.store(-1);
    m_firmwareVersion.store(-1);
    m_serialNumber.store(-1);
}

void CMeterEngine::ReleaseTransport() {
    if (!m_transport)
        return;
    m_transport->Close();
    SetTransport(nullptr);
}

void CMeterEngine::SetTransport(std::unique_ptr<CPowerDevice> transport) {
    m_transport = std::move(transport);
    m_line.SetDevice(m_transport.get());
}

int32_t CMeterEngine::OpenAndIdentify(int32_t port) {
    if (!m_transport->Open(port))
        return -2;
    SIdentity identity{0, 0, 0}; // what a sensor that never answers is reported as
    const auto line = TakeLine(kIdentifyTimeoutMs);
    const bool identified = line.owns_lock() && Identify(identity);
    // A refused code is still reported, so that the caller can name it.
    m_identificationCode.store(identity.code);
    if (!identified)
        return -3;
    m_firmwareVersion.store(identity.firmware);
    m_serialNumber.store(identity.serial);
    m_port = port;
    m_failuresInARow = 0;
    return 0;
}

bool CMeterEngine::Identify(SIdentity& identity) {
    const auto take = [this](const CSensorLine::SResult<int32_t>& reply, int32_t& field) {
        if (Note(reply.failure) != Failure::None)
            return false;
        field = reply.value;
        return true;
    };
    if (!take(m_line.ReadIdentificationCode(), identity.code))
        return false;
    if (std::ranges::find(kAcceptedCodes, identity.code) == std::end(kAcceptedCodes))
        return false;
    return take(m_line.ReadFirmwareVersion(), identity.firmware) &&
           take(m_line.ReadSerialNumber(), identity.serial);
}

void CMeterEngine::NoteExchange(bool succeeded) {
    if (succeeded) {
        m_failuresInARow = 0;
        return;
    }
    if (++m_failuresInARow < kLostAfterFailures || !m_autoReconnect.load())
        return;
    // Closed at once so that the port is free for the sensor to come back on.
    const auto line = TakeLine(kExchangeLineWaitMs);
    m_linkLost.store(true);
    if (line.owns_lock())
        m_transport->Close();
}

void CMeterEngine::TryReconnect() {
    const auto line = TakeLine(kIdentifyTimeoutMs);
    if (!line.owns_lock())
        return;
    m_transport->Close();
    if (!m_transport->Open(m_port))
        return;
    // A disconnect that began while the port was closed had nothing to cancel.
    if (m_stopping.load()) {
        m_transport->Close();
        return;
    }
    SIdentity identity;
    const bool identified = Identify(identity);
    // Only the sensor whose measurement was interrupted may continue it.
    const bool same = identified && identity.code == m_identificationCode.load() &&
                      identity.serial == m_serialNumber.load();
    m_otherSensor.store(identified && !same);
    if (!same) {
        m_transport->Close();
        return;
    }
    m_firmwareVersion.store(identity.firmware);
    m_failuresInARow = 0;
    m_linkLost.store(false);
}

std::shared_ptr<CRequestTicket> CMeterEngine::Request(const SRequest& request) {
    const SModes modes = ModesOf(request);
    if (!m_connected.load() || m_linkLost.load() || !IsValid(modes))
        return nullptr;
    auto ticket = std::make_shared<CRequestTicket>(modes.count);
    std::shared_ptr<CRequestTicket> replaced;
    {
        std::lock_guard lock(m_requestLock);
        m_request = request;
        replaced = std::exchange(m_ticket, ticket);
    }
    // Never run, so never answered: its asker may ask again.
    if (replaced)
        replaced->Drop();
    m_requestEvent.Set();
    return ticket;
}

CMeterEngine::SRequest CMeterEngine::TakeRequest(std::shared_ptr<CRequestTicket>& ticket) {
    std::lock_guard lock(m_requestLock);
    ticket = std::move(m_ticket);
    m_ticket.reset();
    return m_request;
}

bool CMeterEngine::Queue(std::function<void()> run, std::function<void()> abandon) {
    {
        std::lock_guard lock(m_requestLock);
        if (!m_acceptingJobs)
            return false;
        m_jobs.push_back({std::move(run), std::move(abandon)});
    }
    m_jobEvent.Set();
    return true;
}

void CMeterEngine::WorkerMain(int32_t port, std::function<void(int32_t)> done) {
#ifndef _WIN32
    // This thread writes to the sensor on every exchange, and to nothing that SIGPIPE should end.
    CDescriptorIo::KeepSigpipeBlocked();
#endif
    const int32_t result = OpenAndIdentify(port);
    if (result != 0) {
        // The transport object stays for the user-interface thread to release on the next
        // Connect or Disconnect; it is closed here so that the port is free at once.
        m_transport->Close();
        m_workerRunning.store(false);
        m_workerEnded.Set();
        done(result);
        return;
    }
    {
        std::lock_guard lock(m_requestLock);
        m_acceptingJobs = true;
    }
    m_connected.store(!m_stopping.load());
    done(0);
    WorkerLoop();
    AbandonJobs();
    m_workerRunning.store(false);
    m_workerEnded.Set();
}

void CMeterEngine::WorkerLoop() {
    for (;;) {
        // A request waits out the pace of the exchange before it: only a stop or a job wakes
        // the worker meanwhile, so that a paced measurement costs it one wake-up a reading.
        if (!AwaitPace())
            return;
        // Only this thread marks the link lost, so a live link has nothing to wake up for but
        // the events.
        const bool lost = m_linkLost.load();
        const int signalled = CAutoResetEvent::WaitAny({&m_stopEvent, &m_jobEvent, &m_requestEvent},
                                                       lost ? kReconnectIntervalMs : -1);
        if (signalled == 0)
            return;
        if (signalled == 1)
            RunJobs();
        if (signalled == 2 && !lost) {
            // Jobs queued before this request go first: a set-up belongs before the measurement.
            RunJobs();
            std::shared_ptr<CRequestTicket> ticket;
            const SRequest request = TakeRequest(ticket);
            if (ticket)
                RunBatch(request, *ticket);
        }
        if (lost && signalled < 0)
            TryReconnect();
    }
}

bool CMeterEngine::AwaitPace() {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            m_lastExchangeAt + std::chrono::milliseconds(m_lastPaceMs) - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return true;
        const int signalled =
            CAutoResetEvent::WaitAny({&m_stopEvent, &m_jobEvent}, static_cast<int>(left.count()));
        if (signalled == 0)
            return false;
        if (signalled == 1)
            RunJobs();
    }
}

void CMeterEngine::RunJobs() {
    while (!m_stopping.load()) {
        SJob job;
        {
            std::lock_guard lock(m_requestLock);
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job.run();
    }
}

void CMeterEngine::AbandonJobs() {
    std::deque<SJob> left;
    {
        std::lock_guard lock(m_requestLock);
        m_acceptingJobs = false;
        left.swap(m_jobs);
    }
    for (SJob& job : left)
        job.abandon();
}

CMeterEngine::SResult CMeterEngine::RunExchange(const SRequest& request) {
    const auto line = TakeLine(kExchangeLineWaitMs);
    if (!line.owns_lock())
        return {};
    const bool ownTable = request.modelNumber == kCommandModel;
    const int32_t argument = request.argument;
    const uint32_t timeoutMs = request.timeoutMs;
    // A short reply hands its kind on as the state: the screens take only a reading.
    const auto shortReading = [&](const char mnemonic[3]) {
        const auto reply = Noted(m_line.ReadShort(mnemonic, argument, timeoutMs));
        return Handed(reply.Ok(), reply.value.kind, {&reply.value.value, 1});
    };
    const auto reading = [](const auto& reply) { return Handed(reply.Ok(), ReplyReading, reply.value); };
    switch (request.mode) {
    case ModeAvg:
        return ownTable ? SResult{} : shortReading("GA");
    case ModeForwardReverse:
        return ownTable ? reading(Noted(m_line.ReadForwardReverse(argument, timeoutMs))) : SResult{};
    case ModePeak: {
        if (!ownTable)
            return shortReading("GF");
        const auto peak = Noted(m_line.ReadSelectedPeak(argument, timeoutMs));
        return Handed(peak.Ok(), ReplyReading, {&peak.value, 1});
    }
    case ModeRev:
        return ownTable ? SResult{} : shortReading("GR");
    case ModePulse:
        return reading(Noted(m_line.ReadPulse(argument, timeoutMs)));
    case ModeCcdf: {
        const auto firmware = static_cast<uint32_t>(m_firmwareVersion.load());
        auto histogram = Noted(m_line.ReadHistogram(argument, firmware, request.offsetHundredths));
        SResult result = Handed(histogram.Ok(), ReplyReading, {});
        result.histogram = std::move(histogram.value);
        return result;
    }
    default:
        return {};
    }
}

CMeterEngine::SResult CMeterEngine::RunCountedExchange(const SRequest& request) {
    const SResult result = RunExchange(request);
    if (result.state != ReplyReading)
        m_failedExchanges.fetch_add(1);
    NoteExchange(result.state == ReplyReading);
    return result;
}

static CReadingSinks::Kind SinkFor(int32_t mode) {
    if (mode == CMeterEngine::ModePulse)
        return CReadingSinks::Kind::Pulse;
    if (mode == CMeterEngine::ModeCcdf)
        return CReadingSinks::Kind::Ccdf;
    return CReadingSinks::Kind::Measurement;
}

CMeterEngine::SModes CMeterEngine::ModesOf(const SRequest& request) {
    SModes modes;
    modes.mode[0] = request.mode;
    modes.count = 1;
    for (const int32_t mode : request.followedBy) {
        if (mode < 0)
            break;
        modes.mode[static_cast<size_t>(modes.count++)] = mode;
    }
    return modes;
}

bool CMeterEngine::IsValid(const SModes& modes) {
    const auto known = [](int32_t mode) { return mode >= 0 && mode < kModeCount; };
    const std::span<const int32_t> asked(modes.mode.data(), static_cast<size_t>(modes.count));
    // One sink takes the whole batch.
    return std::ranges::all_of(asked, known) &&
           std::ranges::all_of(asked, [&](int32_t mode) { return SinkFor(mode) == SinkFor(asked[0]); });
}

void CMeterEngine::RunBatch(const SRequest& request, CRequestTicket& ticket) {
    m_lastExchangeAt = std::chrono::steady_clock::now();
    m_lastPaceMs = request.paceMs;
    const SModes modes = ModesOf(request);
    std::array<SResult, kMaxBatch> results;
    size_t run = 0;
    while (run < static_cast<size_t>(modes.count) && !m_stopping.load()) {
        SRequest one = request;
        one.mode = modes.mode[run];
        results[run] = RunCountedExchange(one);
        if (results[run++].state != ReplyReading)
            break;
    }
    HandOver(modes, std::span<const SResult>(results.data(), run), ticket);
}

void CMeterEngine::ExchangeFor(const SRequest& request, CReadingReceiver& receiver) {
    Deliver(receiver, request.mode, m_linkLost.load() ? SResult{} : RunCountedExchange(request));
}

CMeterEngine::SResult CMeterEngine::Handed(bool ok, int32_t state, std::span<const int32_t> values) {
    SResult result;
    if (ok) {
        result.state = state;
        std::ranges::copy(values, result.values.begin());
    }
    return result;
}

void CMeterEngine::HandOver(const SModes& modes, std::span<const SResult> results, CRequestTicket& ticket) {
    bool handed = false;
    // After Disconnect began the results are dropped, so a sink cannot hold up the join.
    if (!m_stopping.load() && !results.empty()) {
        m_sinks.Call(SinkFor(modes.mode[0]), [&](CReadingReceiver& sink) {
            handed = ticket.Answer(static_cast<int>(results.size()));
            if (!handed)
                return;
            sink.BeginBatch();
            for (size_t i = 0; i < results.size(); ++i)
                Deliver(sink, modes.mode[i], results[i]);
            sink.EndBatch();
        });
    }
    // Nobody takes this result: the asker may ask again.
    if (!handed)
        ticket.Drop();
}

void CMeterEngine::Deliver(CReadingReceiver& sink, int32_t mode, const SResult& result) {
    const auto& v = result.values;
    switch (mode) {
    case ModeAvg:
        sink.OnAvgReading(result.state, v[0]);
        break;
    case ModeForwardReverse:
        sink.OnForwardReverseReading(result.state, v[0], v[1]);
        break;
    case ModePeak:
        sink.OnPeakReading(result.state, v[0]);
        break;
    case ModeRev:
        sink.OnRevReading(result.state, v[0]);
        break;
    case ModePulse:
        sink.OnPulseReading(result.state, v[0], v[1], v[2], v[3], v[4]);
        break;
    case ModeCcdf:
        sink.OnCcdfData(result.state, result.histogram);
        break;
    default:
        break;
    }
}

CMeterEngine::Failure CMeterEngine::Note(Failure failure) {
    if (failure == Failure::None)
        return failure;
    // I/O that a disconnect cut short is no sign of a port that went away.
    const bool cancelled = failure == Failure::PortGone && m_stopping.load();
    m_lastFailure.store(cancelled ? Failure::NoReply : failure);
    return failure;
}

std::unique_lock<CLineLock> CMeterEngine::TakeLine(uint32_t timeoutMs) {
    std::unique_lock<CLineLock> line(m_lineLock, std::chrono::milliseconds(timeoutMs));
    if (line.owns_lock())
        m_lastFailure.store(Failure::None);
    return line;
}

bool CMeterEngine::SetupCommand(const char mnemonic[3], int32_t argument, uint32_t timeoutMs) {
    const auto line = TakeLine(timeoutMs);
    return line.owns_lock() && Note(m_line.Acknowledge(mnemonic, argument, timeoutMs)) == Failure::None;
}

bool CMeterEngine::StartLogging(const CLoggingSequence::StartValues& values) {
    bool allAcknowledged = true;
    for (const CLoggingSequence::Step& step : CLoggingSequence::Start(values))
        allAcknowledged = SetupCommand(step.mnemonic, step.argument, step.timeoutMs) && allAcknowledged;
    return allAcknowledged;
}

bool CMeterEngine::SetLoggingMode(int32_t value) {
    return SetupCommand("AR", value, 10000);
}

bool CMeterEngine::ClearLoggedData(int32_t value) {
    return SetupCommand("AO", value, 10000);
}

bool CMeterEngine::SetTechnology(int32_t technology) {
    return SetupCommand("SO", CMeterCommand::TechnologyCode(technology), 500);
}

CMeterEngine::SReverseCheck CMeterEngine::CheckReversePower(int32_t frequencyHundredths) {
    const auto line = TakeLine(kReverseCheckTimeoutMs);
    if (!line.owns_lock())
        return {};
    const auto powers = Noted(m_line.ReadForwardReverse(frequencyHundredths, kReverseCheckTimeoutMs));
    if (!powers.Ok())
        return {};
    const auto [forward, reverse] = powers.value;
    return {forward < reverse ? ReverseAboveForward : ReverseBelowForward, forward, reverse};
}

bool CMeterEngine::SetPulsePeriodAndReference(int32_t periodIndex, int32_t reference) {
    const bool period = SetupCommand("SU", CMeterCommand::PeriodCode(periodIndex), 2000);
    const bool referenceSet = SetupCommand("SR", CMeterCommand::ReferenceArgument(reference), 2000);
    return period && referenceSet;
}

bool CMeterEngine::SetAveraging(int32_t modelNumber, int32_t averagingRepeat) {
    if (modelNumber != kCommandModel)
        return SetupCommand("SZ", averagingRepeat, 2000);
    bool allAcknowledged = SetupCommand("ST", 8, 2000);
    allAcknowledged = SetupCommand("SN", 2000, 2000) && allAcknowledged;
    allAcknowledged = SetupCommand("SZ", averagingRepeat, 2000) && allAcknowledged;
    return SetupCommand("SO", 0, 2000) && allAcknowledged;
}

bool CMeterEngine::SetCcdfFrequency(int32_t frequencyHundredths) {
    return SetupCommand("GC", frequencyHundredths, 10000);
}

std::optional<CSensorLine::StatusWords> CMeterEngine::ReadLoggingStatus() {
    const auto line = TakeLine(kStatusTimeoutMs);
    if (!line.owns_lock())
        return std::nullopt;
    const auto status = Noted(m_line.ReadLoggingStatus());
    if (!status.Ok())
        return std::nullopt;
    return status.value;
}

bool CMeterEngine::DownloadLoggedData(const CSensorLine::SDownload& download, CRecordStore& records) {
    if (!CSensorLine::CanDownload(download))
        return false;
    const auto line = TakeLine(download.timeoutMs);
    if (!line.owns_lock())
        return false;
    const auto samples = Noted(m_line.DownloadLoggedData(download));
    if (!samples.Ok())
        return false;
    records.ResetAll();
    for (const CSensorLine::SLoggedSample& sample : samples.value)
        records.AddValue(sample.channel, sample.value);
    return true;
}
