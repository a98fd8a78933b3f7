#include "protocol/CMeterEngine.h"

#include "app/CAppRegistry.h"
#include "device/CSerialDevice.h"
#include "device/CUsbDevice.h"
#include "model/CSettingProfile.h"
#include "protocol/CHistogramDecoder.h"
#include "protocol/CLoggedDataDecoder.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/CReplyParser.h"
#include "protocol/ReplyKind.h"

#include <algorithm>
#include <chrono>

static constexpr int32_t kAcceptedCodes[] = {4, 5, 6, 7, 8, 10, 11, 13, 14};
static constexpr uint32_t kIdentifyTimeoutMs = 2000;
static constexpr int kIdleWaitMs = 100;
static constexpr int32_t kCommandModel = 5; // the model with its own command table

static std::unique_ptr<CMeterEngine>& Holder() {
    static std::unique_ptr<CMeterEngine> instance;
    return instance;
}

CMeterEngine& CMeterEngine::Instance() {
    std::unique_ptr<CMeterEngine>& instance = Holder();
    if (!instance)
        instance = std::make_unique<CMeterEngine>();
    return *instance;
}

void CMeterEngine::ResetInstance() {
    Holder() = std::make_unique<CMeterEngine>();
}

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

int32_t CMeterEngine::Connect(int32_t port) {
    if (m_worker.joinable())
        return -1;
    ForgetIdentity();
    m_transport = m_transportFactory(port);
    if (!m_transport || !m_transport->Open(port)) {
        m_transport.reset();
        return -2;
    }
    if (!Identify()) {
        ReleaseTransport();
        return -3;
    }
    try {
        m_worker = std::thread(&CMeterEngine::WorkerLoop, this);
    } catch (const std::system_error&) {
        ReleaseTransport();
        return -4;
    }
    return 0;
}

void CMeterEngine::Disconnect() {
    ForgetIdentity();
    if (m_worker.joinable()) {
        m_stopping.store(true);
        m_stopEvent.Set();
        if (!m_workerEnded.Wait(kStopGraceMs))
            m_transport->CancelIo();
        m_worker.join();
        // Leave no stale signal behind for the next connection's worker.
        m_workerEnded.Wait(0);
        m_requestEvent.Wait(0);
        m_stopping.store(false);
    }
    ReleaseTransport();
}

bool CMeterEngine::IsConnected() const {
    return m_transport && m_transport->IsOpen();
}

void CMeterEngine::ForgetIdentity() {
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

std::map<int32_t, int32_t> CMeterEngine::GetHistogram() const {
    std::lock_guard lock(m_lineLock);
    return m_histogram;
}

bool CMeterEngine::Identify() {
    if (!m_transport)
        return false;
    m_identificationCode.store(0);
    m_firmwareVersion.store(0);
    m_serialNumber.store(0);
    std::lock_guard lock(m_lineLock);
    if (!IdentifyStep("GD", ReplyIdentificationCode, m_identificationCode))
        return false;
    if (std::ranges::find(kAcceptedCodes, m_identificationCode.load()) == std::end(kAcceptedCodes))
        return false;
    return IdentifyStep("GV", ReplyFirmwareVersion, m_firmwareVersion) &&
           IdentifyStep("GS", ReplySerialNumber, m_serialNumber);
}

bool CMeterEngine::IdentifyStep(const char mnemonic[3], int32_t expectedKind, std::atomic<int32_t>& field) {
    const auto frame = CMeterCommand::Plain(mnemonic);
    if (!Send(frame.data(), frame.size()))
        return false;
    if (ReadShortReply(kIdentifyTimeoutMs, CReplyParser::kShortLength) != 0)
        return false;
    if (m_lastReplyState.load() != expectedKind)
        return false;
    field.store(m_lastReplyValue.load());
    return true;
}

bool CMeterEngine::Request(int32_t mode, int32_t argument, uint32_t timeoutMs) {
    if (!m_worker.joinable() || mode < 0 || mode >= kModeCount)
        return false;
    const CSettingProfile* profile = CAppRegistry::Instance().GetSettingProfile();
    if (!profile)
        return false;
    {
        std::lock_guard lock(m_requestLock);
        m_request = {mode, argument, timeoutMs, profile->GetModelNumber(),
                     CMeterCommand::Hundredths(profile->GetExtOffset())};
    }
    // Marked before the worker can see the request: a reply faster than the caller's own
    // SetPending(true) would otherwise be dropped and leave the screen waiting for ever.
    m_pending.store(true);
    m_requestEvent.Set();
    return true;
}

CMeterEngine::SRequest CMeterEngine::TakeRequest() {
    std::lock_guard lock(m_requestLock);
    return m_request;
}

void CMeterEngine::WorkerLoop() {
    while (m_transport) {
        const int signalled = CAutoResetEvent::WaitAny({&m_stopEvent, &m_requestEvent}, kIdleWaitMs);
        if (signalled == 0)
            break;
        if (signalled == 1) {
            const SRequest request = TakeRequest();
            HandOver(request.mode, RunExchange(request));
        }
    }
    m_workerEnded.Set();
}

CMeterEngine::SResult CMeterEngine::RunExchange(const SRequest& request) {
    std::lock_guard lock(m_lineLock);
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
    const auto frame = CMeterCommand::Parameter("GE", request.argument);
    int32_t values[2];
    if (Send(frame.data(), frame.size()) && ReadMultiValueReply(2, "[P,", request.timeoutMs, values) == 0) {
        m_forwardPower.store(values[0]);
        m_reversePower.store(values[1]);
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
    Acknowledged("GC", request.argument, 10000);
    const auto frame = CMeterCommand::Plain("GK");
    const auto format = CHistogramDecoder::FormatFor(static_cast<uint32_t>(m_firmwareVersion.load()));
    m_histogram.clear();
    if (!Send(frame.data(), frame.size()) || !Receive(format.byteCount, format.timeoutMs))
        return result;
    if (!CHistogramDecoder::Decode(m_buffer.data(), format.byteCount, request.offsetHundredths, m_histogram))
        return result;
    m_lastReplyState.store(ReplyReading);
    result.state = ReplyReading;
    return result;
}

static CAppRegistry::Screen ScreenFor(int32_t mode) {
    if (mode == CMeterEngine::ModePulse)
        return CAppRegistry::Screen::Pulse;
    if (mode == CMeterEngine::ModeCcdf)
        return CAppRegistry::Screen::Ccdf;
    return CAppRegistry::Screen::Measurement;
}

void CMeterEngine::HandOver(int32_t mode, const SResult& result) {
    // After Disconnect began the result is dropped, so a receiver cannot hold up the join.
    if (m_stopping.load() || !m_pending.load())
        return;
    CAppRegistry::Instance().CallScreen(ScreenFor(mode), [&](CReadingReceiver& receiver) {
        const int32_t* v = result.values;
        switch (mode) {
        case ModeAvg:
            receiver.OnAvgReading(result.state, v[0]);
            break;
        case ModeForwardReverse:
            receiver.OnForwardReverseReading(result.state, v[0], v[1]);
            break;
        case ModePeak:
            receiver.OnPeakReading(result.state, v[0]);
            break;
        case ModeRev:
            receiver.OnRevReading(result.state, v[0]);
            break;
        case ModePulse:
            receiver.OnPulseReading(result.state, v[0], v[1], v[2], v[3], v[4]);
            break;
        case ModeCcdf:
            receiver.OnCcdfData(result.state);
            break;
        default:
            break;
        }
    });
}

bool CMeterEngine::Send(const uint8_t* bytes, uint32_t count) {
    uint32_t written = 0;
    return m_transport && m_transport->Write(bytes, count, &written);
}

bool CMeterEngine::Receive(uint32_t count, uint32_t timeoutMs) {
    uint32_t received = 0;
    if (!m_transport || count > m_buffer.size())
        return false;
    // A transport that returns fewer bytes than asked would leave stale bytes of an earlier
    // reply in the buffer; such a read counts as no reply.
    return m_transport->Read(m_buffer.data(), count, &received, timeoutMs) && received == count;
}

int32_t CMeterEngine::ReadShortReply(uint32_t timeoutMs, uint32_t expectedLength) {
    if (!Receive(expectedLength, timeoutMs))
        return -1;
    CReplyParser::SShortReply reply;
    if (CReplyParser::ParseShort(m_buffer.data(), expectedLength, reply) != 0)
        return -2;
    m_lastReplyState.store(reply.kind);
    m_lastReplyValue.store(reply.value);
    return 0;
}

int32_t CMeterEngine::ReadMultiValueReply(uint32_t valueCount, const char* head, uint32_t timeoutMs,
                                          int32_t* values) {
    const uint32_t length = CReplyParser::MultiValueLength(valueCount);
    if (!Receive(length, timeoutMs))
        return -1;
    if (!CReplyParser::ParseMultiValue(m_buffer.data(), length, head, values, valueCount))
        return -2;
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
    return ReadShortReply(timeoutMs, CReplyParser::kAcknowledgementLength) == 0 &&
           m_lastReplyState.load() == ReplyAcknowledged;
}

std::unique_lock<std::mutex> CMeterEngine::TakeLine(uint32_t timeoutMs) {
    // Polled rather than a timed lock, which the thread sanitizer cannot follow.
    std::unique_lock line(m_lineLock, std::try_to_lock);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!line.owns_lock() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        line.try_lock();
    }
    return line;
}

bool CMeterEngine::SetupCommand(const char mnemonic[3], int32_t argument, uint32_t timeoutMs) {
    const auto line = TakeLine(timeoutMs);
    return line.owns_lock() && Acknowledged(mnemonic, argument, timeoutMs);
}

static const CSettingProfile* Profile() {
    return CAppRegistry::Instance().GetSettingProfile();
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

bool CMeterEngine::SetTechnology() {
    const CSettingProfile* profile = Profile();
    return SetupCommand("SO", CMeterCommand::TechnologyCode(profile ? profile->GetTechnology() : -1), 500);
}

bool CMeterEngine::CheckReversePower(int32_t frequencyHundredths) {
    constexpr uint32_t kTimeoutMs = 500;
    const auto line = TakeLine(kTimeoutMs);
    if (!line.owns_lock())
        return false;
    const auto frame = CMeterCommand::Parameter("GE", frequencyHundredths);
    int32_t values[2];
    if (Send(frame.data(), frame.size()) && ReadMultiValueReply(2, "[P,", kTimeoutMs, values) == 0) {
        m_forwardPower.store(values[0]);
        m_reversePower.store(values[1]);
    }
    return m_forwardPower.load() < m_reversePower.load();
}

bool CMeterEngine::SetPulsePeriodAndReference(int32_t periodIndex, int32_t reference) {
    const bool period = SetupCommand("SU", CMeterCommand::PeriodCode(periodIndex), 2000);
    const bool referenceSet = SetupCommand("SR", CMeterCommand::ReferenceArgument(reference), 2000);
    return period && referenceSet;
}

bool CMeterEngine::SetAveraging() {
    const CSettingProfile* profile = Profile();
    const int32_t repeat = profile ? profile->GetAvgRepeat() : 1;
    if (!profile || profile->GetModelNumber() != kCommandModel)
        return SetupCommand("SZ", repeat, 2000);
    bool allAcknowledged = SetupCommand("ST", 8, 2000);
    allAcknowledged = SetupCommand("SN", 2000, 2000) && allAcknowledged;
    allAcknowledged = SetupCommand("SZ", repeat, 2000) && allAcknowledged;
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
        return false;
    m_lastReplyState.store(ReplyReading);
    return true;
}
