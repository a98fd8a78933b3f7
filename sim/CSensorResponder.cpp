#include "sim/CSensorResponder.h"

#include "model/CModelTable.h"
#include "sim/CCommandParser.h"
#include "sim/CReplyFrame.h"

namespace {
// The logger draws from its own generator so that its records do not depend on how
// many readings were asked for while it ran.
constexpr uint32_t kLoggerSeedSalt = 0x9E3779B9u;

int CodeOf(const VirtualSensorConfig& config) {
    if (config.identificationCode >= 0)
        return config.identificationCode;
    const SensorModel* model = CModelTable::FindByNumber(config.modelNumber);
    return model ? model->code : -1;
}

bool Is(const SensorCommand& command, const char* mnemonic) {
    return command.mnemonic == mnemonic;
}
} // namespace

CSensorResponder::CSensorResponder(const VirtualSensorConfig& config)
    : m_modelNumber(config.modelNumber), m_identificationCode(CodeOf(config)),
      m_serialNumber(config.serialNumber), m_firmwareVersion(config.firmwareVersion),
      m_histogramFormat(config.firmwareVersion), m_signal(config.signal, config.seed),
      m_logging(config.signal, config.seed ^ kLoggerSeedSalt, config.loggingSpeedUp) {}

void CSensorResponder::SetSignal(const SignalSetting& signal) {
    m_signal.SetSignal(signal);
    m_logging.SetSignal(signal);
}

std::vector<uint8_t> CSensorResponder::Respond(const SensorCommand& command) {
    if (Is(command, "GD"))
        return CReplyFrame::Short('D', m_identificationCode);
    if (Is(command, "GV"))
        return CReplyFrame::Short('V', m_firmwareVersion);
    if (Is(command, "GS"))
        return CReplyFrame::Short('S', m_serialNumber);
    if (Is(command, "GK"))
        return m_histogramFormat.Encode(m_signal.HistogramCounts(m_histogramFormat));
    if (Is(command, "AS")) {
        const auto status = m_logging.Status();
        return CReplyFrame::MultiValue('G', status);
    }
    if (!command.hasArgument)
        return {};
    if (command.mnemonic[0] == 'G')
        return Measure(command);
    if (command.mnemonic[0] == 'S')
        return Configure(command);
    return ConfigureLogging(command);
}

std::vector<uint8_t> CSensorResponder::Measure(const SensorCommand& command) {
    if (Is(command, "GA"))
        return CReplyFrame::Short('P', m_signal.Forward());
    if (Is(command, "GF"))
        return CReplyFrame::Short('P', m_signal.Peak());
    if (Is(command, "GR"))
        return CReplyFrame::Short('P', m_signal.Reverse());
    if (Is(command, "GE")) {
        const int32_t forwardReverse[] = {m_signal.Forward(), m_signal.Reverse()};
        return CReplyFrame::MultiValue('P', forwardReverse);
    }
    if (Is(command, "GP"))
        return CReplyFrame::MultiValue('P', m_signal.PeakSeries());
    if (Is(command, "GU"))
        return CReplyFrame::MultiValue('P', m_signal.Pulse(m_periodCode));
    if (Is(command, "GC"))
        return CReplyFrame::Acknowledgement();
    return {};
}

std::vector<uint8_t> CSensorResponder::Configure(const SensorCommand& command) {
    if (Is(command, "SZ"))
        m_signal.SetAveraging(command.argument);
    else if (Is(command, "SU"))
        m_periodCode = command.argument;
    else if (Is(command, "SR"))
        m_logging.SetWord(CLoggingMemory::WordReference, command.argument);
    else if (Is(command, "SO"))
        m_logging.SetWord(CLoggingMemory::WordTechnology, command.argument);
    else if (!Is(command, "ST") && !Is(command, "SN"))
        return {};
    return CReplyFrame::Acknowledgement();
}

std::vector<uint8_t> CSensorResponder::ConfigureLogging(const SensorCommand& command) {
    if (Is(command, "AE"))
        m_logging.SetWord(CLoggingMemory::WordOffset, command.argument);
    else if (Is(command, "AF"))
        m_logging.SetWord(CLoggingMemory::WordFrequency, command.argument);
    else if (Is(command, "AM"))
        m_logging.SetWord(CLoggingMemory::WordChannels, command.argument);
    else if (Is(command, "AI"))
        m_logging.SetWord(CLoggingMemory::WordInterval, command.argument);
    else if (Is(command, "AN"))
        m_logging.SetWord(CLoggingMemory::WordRecordCount, command.argument);
    else if (Is(command, "AU"))
        m_logging.SetWord(CLoggingMemory::WordPeriodCode, command.argument);
    else if (Is(command, "AR"))
        m_logging.SetRunning(command.argument != 0);
    else if (Is(command, "AO"))
        EraseLogIf(command.argument != 0);
    else if (Is(command, "AD"))
        return m_logging.Download(command.argument);
    else if (!Is(command, "AT"))
        return {};
    return CReplyFrame::Acknowledgement();
}

void CSensorResponder::EraseLogIf(bool erase) {
    if (erase)
        m_logging.Erase();
}
