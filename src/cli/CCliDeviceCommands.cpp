#include "cli/CCliDeviceCommands.h"

#include "appcore/CMeasurementHandler.h"
#include "cli/CCliSensor.h"
#include "device/CEnumPorts.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "platform/CAutoResetEvent.h"
#include "platform/TraceSink.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/ReplyKind.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <ostream>

static constexpr uint32_t kRequestTimeoutMs = 500;
// A reading costs the reply time-out plus the serial write pause; a histogram up to 50 s more.
static constexpr int kReadingWaitMs = 5000;
static constexpr int kHistogramWaitMs = 70000;
// Failed exchanges in a row after which the sensor is taken to be lost; a single miss is retried.
static constexpr int kMaxMissedInARow = 3;

// A connected sensor for the length of one command: the engine, a settings profile of the
// sensor's model, and a receiver in every screen slot that keeps the last hand-over.
class CCliDeviceCommands::CSession : public CReadingReceiver {
public:
    ~CSession() override {
        m_engine.Disconnect();
        m_engine.Sinks().Clear();
    }

    // Connects and identifies; false with the reason.
    bool Open(int port, std::string& reason) {
        if (!CCliSensor::ConnectAndIdentify(m_engine, port, m_profile, reason))
            return false;
        for (auto kind :
             {CReadingSinks::Kind::Measurement, CReadingSinks::Kind::Pulse, CReadingSinks::Kind::Ccdf})
            m_engine.Sinks().Set(kind, this);
        return true;
    }

    // One exchange as a screen requests it; the hand-over as "state values...", or empty
    // when none came within waitMs.
    std::string Exchange(int32_t mode, int32_t frequencyHundredths, int waitMs) {
        const auto ticket =
            m_engine.Request({mode, frequencyHundredths, kRequestTimeoutMs, m_profile.GetModelNumber(),
                              CMeterCommand::Hundredths(m_profile.GetExtOffset())});
        if (!ticket)
            return {};
        if (!m_handedOver.Wait(waitMs)) {
            ticket->Drop(); // a result still to come must not pass for the next one's
            return {};
        }
        std::lock_guard lock(m_mutex);
        return m_last;
    }

    CSettingProfile& Profile() { return m_profile; }
    const CMeterEngine& Engine() const { return m_engine; }
    // The histogram of the last histogram hand-over.
    CMeterEngine::Histogram Histogram() {
        std::lock_guard lock(m_mutex);
        return m_histogram;
    }

    void OnAvgReading(int32_t state, int32_t value) override { Keep({state, value}); }
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override {
        Keep({state, forward, reverse});
    }
    void OnPeakReading(int32_t state, int32_t value) override { Keep({state, value}); }
    void OnRevReading(int32_t state, int32_t value) override { Keep({state, value}); }
    void OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2, int32_t value3,
                        int32_t value4) override {
        Keep({state, pulsePower, value1, value2, value3, value4});
    }
    void OnCcdfData(int32_t state, const PowerHistogram& histogram) override {
        {
            std::lock_guard lock(m_mutex);
            m_histogram = histogram;
        }
        Keep({state});
    }

private:
    void Keep(std::initializer_list<int32_t> values) {
        std::string line;
        for (int32_t value : values)
            line += (line.empty() ? "" : " ") + std::to_string(value);
        {
            std::lock_guard lock(m_mutex);
            m_last = line;
        }
        m_handedOver.Set();
    }

    CMeterEngine m_engine;
    CSettingProfile m_profile;
    std::mutex m_mutex;
    std::string m_last;
    CMeterEngine::Histogram m_histogram;
    CAutoResetEvent m_handedOver;
};

std::vector<CliCommand> CCliDeviceCommands::Commands() {
    return {
        {{"ports"}, "", "List the COM ports present.", 0, 0, Ports},
        {{"identify"}, "--port N|usb", "Connect and print the sensor's identity.", 2, 2, Identify},
        {{"measure"},
         "--port N|usb [--port N|usb]... --mode avg|peak|rev|fwdrev|pulse --count K --freq MHZ",
         "Run K measurement exchanges; one line each: reply state and raw values (after the port, when "
         "several "
         "sensors are measured in turn).",
         8,
         14,
         Measure},
        {{"histogram"},
         "--port N|usb --freq MHZ",
         "Run one histogram exchange and print its bins.",
         4,
         4,
         Histogram},
    };
}

bool CCliDeviceCommands::ParseFrequency(const std::string& text, int& hundredths) {
    double megahertz = 0.0;
    if (!CCliOptions::ParseReal(text, 0.0, CCliOptions::kMaxFrequencyMHz, megahertz) || megahertz <= 0.0)
        return false;
    hundredths = CMeterCommand::Hundredths(megahertz);
    return true;
}

bool CCliDeviceCommands::Connect(const CliContext& context, const Options& options, CSession& session) {
    const auto found = options.find("port");
    return ConnectTo(context, found == options.end() ? "usb" : found->second, session, false);
}

bool CCliDeviceCommands::ConnectTo(const CliContext& context, const std::string& portText, CSession& session,
                                   bool named) {
    int port = 0;
    std::string reason = "bad port '" + portText + "' (a COM number 1..255 or usb)";
    if (CCliOptions::ParsePort(portText, port) && session.Open(port, reason))
        return true;
    CCliOptions::Fail(context, named ? "port " + portText + ": " + reason : reason);
    return false;
}

int CCliDeviceCommands::Ports(const CliContext& context) {
    TraceSink trace;
    CEnumPorts ports(trace);
    char name[256];
    for (int index = 0; index < ports.GetCounts(); ++index) {
        const int32_t port = ports.GetPort(index, name, sizeof name);
        context.out << "COM" << port << "\t" << name << "\n";
    }
    return 0;
}

int CCliDeviceCommands::Identify(const CliContext& context) {
    Options options;
    CSession session;
    if (!CCliOptions::Parse(context, {"port"}, options) || !Connect(context, options, session))
        return 1;
    const CMeterEngine& engine = session.Engine();
    context.out << "code " << engine.GetIdentificationCode() << "\n"
                << "model " << session.Profile().GetModelNumber() << " " << session.Profile().ModelName()
                << "\n"
                << "firmware " << engine.GetFirmwareVersion() << "\n"
                << "serial " << engine.GetSerialNumber() << "\n";
    return 0;
}

static constexpr std::pair<const char*, int32_t> kModes[] = {{"avg", CMeterEngine::ModeAvg},
                                                             {"fwdrev", CMeterEngine::ModeForwardReverse},
                                                             {"peak", CMeterEngine::ModePeak},
                                                             {"rev", CMeterEngine::ModeRev},
                                                             {"pulse", CMeterEngine::ModePulse}};

static int32_t ModeNamed(const std::string& name) {
    for (const auto& [modeName, mode] : kModes) {
        if (name == modeName)
            return mode;
    }
    return -1;
}

// The modes the screens ask this model for; a sensor does not answer the others.
static std::vector<int32_t> ModesOf(int modelNumber) {
    std::vector<int32_t> modes = CMeasurementHandler::RequestCycle(modelNumber);
    if (CModelTable::HasPulseAndCcdf(modelNumber))
        modes.push_back(CMeterEngine::ModePulse);
    return modes;
}

// Why the mode named `name` cannot be measured on the connected model, naming the ones that
// can; empty when it can.
static std::string ModeRefusal(const CSettingProfile& profile, const std::string& name) {
    const int32_t mode = ModeNamed(name);
    const std::vector<int32_t> modes = ModesOf(profile.GetModelNumber());
    if (std::ranges::find(modes, mode) != modes.end())
        return {};
    std::string names;
    for (const auto& [modeName, known] : kModes)
        if (std::ranges::find(modes, known) != modes.end())
            names += (names.empty() ? "" : ", ") + std::string(modeName);
    return profile.ModelName() + " does not measure " + name + "; its modes: " + names;
}

// A hand-over line "state values..." of a reading.
static bool IsReading(const std::string& line) {
    const std::string reading = std::to_string(ReplyReading);
    return line == reading || line.starts_with(reading + " ");
}

int CCliDeviceCommands::Measure(const CliContext& context) {
    Options options;
    if (!CCliOptions::Parse(context, {"port", "mode", "count", "freq"}, options))
        return 1;
    const int32_t mode = ModeNamed(options["mode"]);
    int count = 0;
    int frequency = 0;
    if (mode < 0)
        return CCliOptions::Fail(context,
                                 "bad mode '" + options["mode"] + "' (avg, peak, rev, fwdrev or pulse)");
    if (!CCliOptions::ParseNumber(options["count"], 1, 1000000, count))
        return CCliOptions::Fail(context, "bad count '" + options["count"] + "' (1..1000000)");
    if (!ParseFrequency(options["freq"], frequency))
        return CCliOptions::Fail(context, "bad frequency '" + options["freq"] + "' (MHz)");
    // Several sensors are measured in turn, each line headed by its port.
    std::vector<std::string> ports = CCliOptions::Repeated(context, "port");
    if (ports.empty())
        ports.push_back("usb");
    std::vector<std::unique_ptr<CSession>> sessions;
    for (const std::string& port : ports) {
        sessions.push_back(std::make_unique<CSession>());
        if (!ConnectTo(context, port, *sessions.back(), ports.size() > 1))
            return 1;
        if (const std::string refusal = ModeRefusal(sessions.back()->Profile(), options["mode"]);
            !refusal.empty())
            return CCliOptions::Fail(context, ports.size() > 1 ? "port " + port + ": " + refusal : refusal);
    }
    for (int i = 0; i < count; ++i)
        for (size_t sensor = 0; sensor < sessions.size(); ++sensor) {
            const std::string prefix = ports.size() > 1 ? ports[sensor] + " " : "";
            if (const int failed = MeasureOne(context, *sessions[sensor], mode, frequency, prefix);
                failed != 0)
                return failed;
        }
    return 0;
}

int CCliDeviceCommands::MeasureOne(const CliContext& context, CSession& session, int32_t mode, int frequency,
                                   const std::string& prefix) {
    const std::string sensor = prefix.empty() ? "" : "port " + prefix.substr(0, prefix.size() - 1) + ": ";
    for (int missed = 0;;) {
        const std::string line = session.Exchange(mode, frequency, kReadingWaitMs);
        if (line.empty())
            return CCliOptions::Fail(context, sensor + "the engine handed over no result");
        if (IsReading(line)) {
            context.out << prefix << line << "\n" << std::flush;
            return 0;
        }
        if (++missed == kMaxMissedInARow)
            return CCliOptions::Fail(context, sensor + CCliSensor::ExchangeFailure(
                                                           session.Engine(), "the sensor gave no reading"));
    }
}

int CCliDeviceCommands::Histogram(const CliContext& context) {
    Options options;
    int frequency = 0;
    if (!CCliOptions::Parse(context, {"port", "freq"}, options))
        return 1;
    if (!ParseFrequency(options["freq"], frequency))
        return CCliOptions::Fail(context, "bad frequency '" + options["freq"] + "' (MHz)");
    CSession session;
    if (!Connect(context, options, session))
        return 1;
    const std::string state = session.Exchange(CMeterEngine::ModeCcdf, frequency, kHistogramWaitMs);
    if (state.empty())
        return CCliOptions::Fail(context, "no histogram was handed over");
    if (!IsReading(state))
        return CCliOptions::Fail(
            context, CCliSensor::ExchangeFailure(session.Engine(), "the histogram exchange failed"));
    for (const auto& [key, count] : session.Histogram())
        context.out << key << " " << count << "\n";
    return 0;
}
