#include "protocol/CMeterEngine.h"

#include "device/CSerialDevice.h"
#include "device/CUsbDevice.h"
#include "model/CRecordStore.h"
#include "protocol/CHistogramDecoder.h"
#include "protocol/CLoggedDataDecoder.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/CReplyParser.h"
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
// The rest of an abandoned reply is read away until the line has been quiet this long, but for
// no longer than the limit: a download over a COM port can run on for minutes, and an exchange
// that fails after the limit settles the line again.
static constexpr uint32_t kSettleQuietMs = 100;
static constexpr auto kSettleLimit = std::chrono::seconds(5);
static constexpr uint32_t kSettleChunk = 4096;

static std::unique_ptr<CPowerDevice> CreateDefaultTransport(int32_t port) {
    if (port > 0)
        return std::make_unique<CSerialDevice>();
    return std::make_unique<CUsbDevice>();
}

CMeterEngine::CMeterEngine() : m_transportFactory(CreateDefaultTransport), m_buffer(kBufferSize, 0) {
    for (auto& value : m_pulseValues)
        value.store(-1);
    for (auto& word : m_statusWords)
        word.store(0);
}

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
    m_transport = m_transportFactory(port);
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
        m_transport.reset();
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
    m_lastReplyState.store(ReplyNone);
    m_lastReplyValue.store(-1);
}

void CMeterEngine::ReleaseTransport() {
    if (!m_transport)
        return;
    m_transport->Close();
    m_transport.reset();
}

int32_t CMeterEngine::GetStatusWord(int index) const {
    if (index < 0 || index >= kStatusWordCount)
        return 0;
    return m_statusWords[static_cast<size_t>(index)].load();
}

int32_t CMeterEngine::GetPulseValue(int index) const {
    if (index < 0 || index >= kPulseValueCount)
        return -1;
    return m_pulseValues[static_cast<size_t>(index)].load();
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

// The caller holds the line.
bool CMeterEngine::Identify(SIdentity& identity) {
    if (!IdentifyStep("GD", ReplyIdentificationCode, identity.code))
        return false;
    if (std::ranges::find(kAcceptedCodes, identity.code) == std::end(kAcceptedCodes))
        return false;
    return IdentifyStep("GV", ReplyFirmwareVersion, identity.firmware) &&
           IdentifyStep("GS", ReplySerialNumber, identity.serial);
}

bool CMeterEngine::IdentifyStep(const char mnemonic[3], int32_t expectedKind, int32_t& field) {
    const auto frame = CMeterCommand::Plain(mnemonic);
    if (!Send(frame.data(), frame.size()))
        return false;
    if (ReadShortReply(kIdentifyTimeoutMs, CReplyParser::kShortLength) != 0)
        return false;
    if (m_lastReplyState.load() != expectedKind)
        return Fail(Failure::BadReply);
    field = m_lastReplyValue.load();
    return true;
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
    if (!m_connected.load() || m_linkLost.load() || request.mode < 0 || request.mode >= kModeCount)
        return nullptr;
    auto ticket = std::make_shared<CRequestTicket>();
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
            if (ticket) {
                const SResult result = RunExchange(request);
                if (result.state != ReplyReading)
                    m_failedExchanges.fetch_add(1);
                NoteExchange(result.state == ReplyReading);
                HandOver(request.mode, result, *ticket);
            }
        }
        if (lost && signalled < 0)
            TryReconnect();
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
    switch (request.mode) {
    case ModeAvg:
        return ownTable ? SResult{} : ExchangeShortReading("GA", request);
    case ModeForwardReverse:
        return ownTable ? ExchangeForwardReverse(request) : SResult{};
    case ModePeak:
        return ownTable ? ExchangeSelectedPeak(request) : ExchangeShortReading("GF", request);
    case ModeRev:
        return ownTable ? SResult{} : ExchangeShortReading("GR", request);
    case ModePulse:
        return ExchangePulse(request);
    case ModeCcdf:
        return ExchangeHistogram(request);
    default:
        return {};
    }
}

CMeterEngine::SResult CMeterEngine::ExchangeShortReading(const char mnemonic[3], const SRequest& request) {
    SResult result;
    if (ShortExchange(mnemonic, request.argument, request.timeoutMs) == 0) {
        result.state = m_lastReplyState.load();
        result.values[0] = m_lastReplyValue.load();
    }
    return result;
}

CMeterEngine::SResult CMeterEngine::ExchangeForwardReverse(const SRequest& request) {
    SResult result;
    int32_t values[2];
    if (ReadForwardReverse(request.argument, request.timeoutMs, values)) {
        result.state = ReplyReading;
        std::copy(values, values + 2, result.values);
    }
    return result;
}

CMeterEngine::SResult CMeterEngine::ExchangeSelectedPeak(const SRequest& request) {
    SResult result;
    const auto frame = CMeterCommand::Parameter("GP", request.argument);
    int32_t values[CPeakSelector::kReplyValues];
    if (Send(frame.data(), frame.size()) &&
        ReadMultiValueReply(CPeakSelector::kReplyValues, "[P,", request.timeoutMs, values) == 0) {
        result.state = ReplyReading;
        result.values[0] = m_peakSelector.Select(values);
    }
    return result;
}

CMeterEngine::SResult CMeterEngine::ExchangePulse(const SRequest& request) {
    SResult result;
    const auto frame = CMeterCommand::Parameter("GU", request.argument);
    int32_t values[kPulseValueCount];
    if (Send(frame.data(), frame.size()) &&
        ReadMultiValueReply(kPulseValueCount, "[P,", request.timeoutMs, values) == 0) {
        for (int i = 0; i < kPulseValueCount; ++i)
            m_pulseValues[static_cast<size_t>(i)].store(values[i]);
        result.state = ReplyReading;
        std::copy(values, values + kPulseValueCount, result.values);
    }
    return result;
}

CMeterEngine::SResult CMeterEngine::ExchangeHistogram(const SRequest& request) {
    SResult result;
    // Without the frequency acknowledged the histogram would be of the wrong signal.
    if (!Acknowledged("GC", request.argument, 10000))
        return result;
    const auto frame = CMeterCommand::Plain("GK");
    const auto format = CHistogramDecoder::FormatFor(static_cast<uint32_t>(m_firmwareVersion.load()));
    if (!Send(frame.data(), frame.size()) || !Receive(format.byteCount, format.timeoutMs))
        return result;
    if (!CHistogramDecoder::Decode(m_buffer.data(), format.byteCount, request.offsetHundredths,
                                   result.histogram)) {
        Fail(Failure::BadReply);
        return result;
    }
    m_lastReplyState.store(ReplyReading);
    result.state = ReplyReading;
    return result;
}

static CReadingSinks::Kind SinkFor(int32_t mode) {
    if (mode == CMeterEngine::ModePulse)
        return CReadingSinks::Kind::Pulse;
    if (mode == CMeterEngine::ModeCcdf)
        return CReadingSinks::Kind::Ccdf;
    return CReadingSinks::Kind::Measurement;
}

void CMeterEngine::HandOver(int32_t mode, const SResult& result, CRequestTicket& ticket) {
    bool handed = false;
    // After Disconnect began the result is dropped, so a sink cannot hold up the join.
    if (!m_stopping.load()) {
        m_sinks.Call(SinkFor(mode), [&](CReadingReceiver& sink) {
            handed = ticket.Answer();
            if (handed)
                Deliver(sink, mode, result);
        });
    }
    // Nobody takes this result: the asker may ask again.
    if (!handed)
        ticket.Drop();
}

void CMeterEngine::Deliver(CReadingReceiver& sink, int32_t mode, const SResult& result) {
    const int32_t* v = result.values;
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

bool CMeterEngine::Fail(Failure failure) {
    m_lastFailure.store(failure);
    return false;
}

// A write to a present port does not fail: a refused one means the port is gone.
bool CMeterEngine::Send(const uint8_t* bytes, uint32_t count) {
    if (!m_transport)
        return Fail(Failure::PortGone);
    if (m_lineUnsettled)
        SettleLine();
    uint32_t written = 0;
    return m_transport->Write(bytes, count, &written) || Fail(Failure::PortGone);
}

void CMeterEngine::SettleLine() {
    m_lineUnsettled = false;
    const auto deadline = std::chrono::steady_clock::now() + kSettleLimit;
    uint32_t got = 0;
    do {
        got = 0;
        m_transport->Read(m_buffer.data(), kSettleChunk, &got, kSettleQuietMs);
    } while (got > 0 && std::chrono::steady_clock::now() < deadline);
}

bool CMeterEngine::Receive(uint32_t count, uint32_t timeoutMs) {
    uint32_t received = 0;
    if (!m_transport || count > m_buffer.size())
        return Fail(Failure::NoReply);
    const auto start = std::chrono::steady_clock::now();
    // A transport that returns fewer bytes than asked would leave stale bytes of an earlier
    // reply in the buffer; such a read counts as no reply.
    if (m_transport->Read(m_buffer.data(), count, &received, timeoutMs) && received == count)
        return true;
    m_lineUnsettled = true;
    // A read gives up before its time-out only when the link reported an error (or a
    // disconnect cancelled it).
    const auto spent = std::chrono::steady_clock::now() - start;
    const bool early = spent < std::chrono::milliseconds(timeoutMs / 2);
    return Fail(early && !m_stopping.load() ? Failure::PortGone : Failure::NoReply);
}

int32_t CMeterEngine::ReadShortReply(uint32_t timeoutMs, uint32_t expectedLength) {
    if (!Receive(expectedLength, timeoutMs))
        return -1;
    CReplyParser::SShortReply reply;
    if (CReplyParser::ParseShort(m_buffer.data(), expectedLength, reply) != 0) {
        Fail(Failure::BadReply);
        return -2;
    }
    m_lastReplyState.store(reply.kind);
    m_lastReplyValue.store(reply.value);
    return 0;
}

int32_t CMeterEngine::ReadMultiValueReply(uint32_t valueCount, const char* head, uint32_t timeoutMs,
                                          int32_t* values) {
    const uint32_t length = CReplyParser::MultiValueLength(valueCount);
    if (!Receive(length, timeoutMs))
        return -1;
    if (!CReplyParser::ParseMultiValue(m_buffer.data(), length, head, values, valueCount)) {
        Fail(Failure::BadReply);
        return -2;
    }
    m_lastReplyState.store(ReplyReading);
    m_lastReplyValue.store(values[0]);
    return 0;
}

int32_t CMeterEngine::ShortExchange(const char mnemonic[3], int32_t argument, uint32_t timeoutMs) {
    const auto frame = CMeterCommand::Parameter(mnemonic, argument);
    if (!Send(frame.data(), frame.size()))
        return -1;
    return ReadShortReply(timeoutMs, CReplyParser::kShortLength);
}

bool CMeterEngine::Acknowledged(const char mnemonic[3], int32_t argument, uint32_t timeoutMs) {
    const auto frame = CMeterCommand::Parameter(mnemonic, argument);
    if (!Send(frame.data(), frame.size()))
        return false;
    if (ReadShortReply(timeoutMs, CReplyParser::kAcknowledgementLength) != 0)
        return false;
    return m_lastReplyState.load() == ReplyAcknowledged || Fail(Failure::BadReply);
}

bool CMeterEngine::ReadForwardReverse(int32_t argument, uint32_t timeoutMs, int32_t (&values)[2]) {
    const auto frame = CMeterCommand::Parameter("GE", argument);
    if (!Send(frame.data(), frame.size()) || ReadMultiValueReply(2, "[P,", timeoutMs, values) != 0)
        return false;
    m_forwardPower.store(values[0]);
    m_reversePower.store(values[1]);
    return true;
}

std::unique_lock<CLineLock> CMeterEngine::TakeLine(uint32_t timeoutMs) {
    std::unique_lock<CLineLock> line(m_line, std::chrono::milliseconds(timeoutMs));
    if (line.owns_lock())
        m_lastFailure.store(Failure::None);
    return line;
}

bool CMeterEngine::SetupCommand(const char mnemonic[3], int32_t argument, uint32_t timeoutMs) {
    const auto line = TakeLine(timeoutMs);
    return line.owns_lock() && Acknowledged(mnemonic, argument, timeoutMs);
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

CMeterEngine::ReverseCheck CMeterEngine::CheckReversePower(int32_t frequencyHundredths) {
    constexpr uint32_t kTimeoutMs = 500;
    const auto line = TakeLine(kTimeoutMs);
    int32_t values[2];
    if (!line.owns_lock() || !ReadForwardReverse(frequencyHundredths, kTimeoutMs, values))
        return ReverseCheckFailed;
    return values[0] < values[1] ? ReverseAboveForward : ReverseBelowForward;
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

bool CMeterEngine::ReadLoggingStatus() {
    constexpr uint32_t kTimeoutMs = 10000;
    const auto line = TakeLine(kTimeoutMs);
    if (!line.owns_lock())
        return false;
    const auto frame = CMeterCommand::StatusRequest();
    int32_t words[kStatusWordCount];
    if (!Send(frame.data(), frame.size()) ||
        ReadMultiValueReply(kStatusWordCount, "[G,", kTimeoutMs, words) != 0)
        return false;
    for (int i = 0; i < kStatusWordCount; ++i)
        m_statusWords[static_cast<size_t>(i)].store(words[i]);
    return true;
}

bool CMeterEngine::DownloadLoggedData(uint32_t timeoutMs, uint32_t byteCount, int32_t blockCount,
                                      int32_t sampleLimit, CRecordStore& records) {
    const std::vector<int32_t> cycle = CLoggedDataDecoder::BuildCycle(GetStatusWord(0));
    const bool fits = blockCount > 0 && byteCount <= m_buffer.size() &&
                      static_cast<uint64_t>(blockCount) * CLoggedDataDecoder::kBlockBytes <= byteCount;
    if (cycle.empty() || !fits)
        return false;
    const auto line = TakeLine(timeoutMs);
    if (!line.owns_lock())
        return false;

    records.ResetAll();
    const auto frame = CMeterCommand::Parameter("AD", blockCount);
    if (!Send(frame.data(), frame.size()) || !Receive(byteCount, timeoutMs))
        return false;
    int32_t taken = 0;
    const auto append = [&records](int32_t channel, float value) { records.AddValue(channel, value); };
    if (!CLoggedDataDecoder::Decode(m_buffer.data(), byteCount, blockCount, sampleLimit, cycle, append,
                                    taken))
        return Fail(Failure::BadReply);
    m_lastReplyState.store(ReplyReading);
    return true;
}
