#include "cli/CCliCcdfCommand.h"

#include "cli/CCliOptions.h"
#include "cli/CCliSensor.h"

#include "ccdf/CCcdfAcquisition.h"
#include "ccdf/CCcdfResultCsv.h"
#include "ccdf/CCcdfTexts.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "platform/CAutoResetEvent.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/CReadingSinks.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <ostream>
#include <utility>

namespace {

constexpr int kMaxCount = 10000;
constexpr uint32_t kRequestTimeoutMs = 500;
// The longest histogram exchange (50 s reply time-out) plus the acknowledgement before it.
constexpr int kExchangeLimitMs = 65000;
constexpr int kTechnologyCount = 8;
// Failed exchanges in a row after which the sensor is taken to be lost.
constexpr int kMaxMissedInARow = 3;

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

bool ParseDecimal(const std::string& text, double minimum, double maximum, float& number) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value < minimum ||
        value > maximum)
        return false;
    number = static_cast<float>(value);
    return true;
}

// A technology by its name ("WCDMA", case as listed) or its index 0..7.
bool ParseTechnology(const std::string& text, int& technology) {
    for (int i = 0; i < kTechnologyCount; ++i) {
        if (text == CSettingProfile::TechnologyName(i) || text == std::to_string(i)) {
            technology = i;
            return true;
        }
    }
    return false;
}

} // namespace

struct CCliCcdfCommand::SOptions {
    int port = 0;
    int count = 0;
    int rate = 0;
    int technology = 7;
    float frequency = 2400.0f;
    float offset = 0.0f;
    std::string out; // CSV file the result is kept in; none when empty
};

// A connected sensor asked for histograms one at a time, as the screen's timer does. The
// engine's worker hands each histogram over by value; this thread counts it.
class CCliCcdfCommand::CSession : public CReadingReceiver {
public:
    ~CSession() override {
        m_engine.Disconnect();
        m_engine.Sinks().Clear();
    }

    bool Open(const SOptions& options, std::string& reason) {
        if (!CCliSensor::ConnectAndIdentify(m_engine, options.port, m_profile, reason))
            return false;
        if (!CModelTable::HasPulseAndCcdf(m_profile.GetModelNumber())) {
            reason = CCliSensor::LacksScreen(m_profile, "CCDF");
            return false;
        }
        m_profile.SetFrequency(options.frequency);
        m_profile.SetExtOffset(options.offset);
        m_profile.SetTechnology(options.technology);
        m_profile.SetCcdfRate(options.rate);
        m_engine.Sinks().Set(CReadingSinks::Kind::Ccdf, this);
        return true;
    }

    // Runs `count` exchanges, or fewer when kMaxMissedInARow fail in a row; the number that
    // delivered a histogram.
    int Measure(int count, std::string& warning) {
        m_acquisition.Restart();
        if (!m_engine.SetTechnology(m_profile.GetTechnology()))
            warning = "the sensor did not acknowledge the technology";
        const CCcdfAcquisition::SSettings settings{m_profile.GetCcdfRate(), false, m_profile.GetTechnology()};
        const CMeterEngine::SRequest request{
            CMeterEngine::ModeCcdf, CMeterCommand::Hundredths(m_profile.GetFrequency()), kRequestTimeoutMs,
            m_profile.GetModelNumber(), CMeterCommand::Hundredths(m_profile.GetExtOffset())};
        int delivered = 0;
        int missed = 0;
        for (int i = 0; i < count && missed < kMaxMissedInARow; ++i) {
            const std::shared_ptr<CRequestTicket> ticket = m_engine.Request(request);
            if (!ticket)
                break;
            const std::optional<CCcdfWindow::Histogram> histogram = Wait();
            ticket->Drop(); // answered or given up: nothing more is taken for it
            if (!histogram) {
                ++missed;
                continue;
            }
            missed = 0;
            m_acquisition.Add(m_acquisition.Generation(), *histogram, settings);
            ++delivered;
        }
        return delivered;
    }

    const CCcdfAcquisition& Acquisition() const { return m_acquisition; }
    const CMeterEngine& Engine() const { return m_engine; }
    const CSettingProfile& Profile() const { return m_profile; }

    void OnCcdfData(int32_t state, const CCcdfWindow::Histogram& histogram) override {
        {
            std::lock_guard lock(m_lock);
            m_answered = true;
            if (state == 1)
                m_histogram = histogram;
        }
        m_arrived.Set();
    }

private:
    // The histogram of the pending exchange; none when it failed or never came.
    std::optional<CCcdfWindow::Histogram> Wait() {
        for (int waited = 0; waited < kExchangeLimitMs; waited += kPollMs) {
            m_arrived.Wait(kPollMs);
            std::lock_guard lock(m_lock);
            if (m_answered) {
                m_answered = false;
                return std::exchange(m_histogram, std::nullopt);
            }
        }
        return std::nullopt;
    }

    static constexpr int kPollMs = 50;
    CMeterEngine m_engine;
    CSettingProfile m_profile;
    CCcdfAcquisition m_acquisition;
    std::mutex m_lock;
    bool m_answered = false;
    std::optional<CCcdfWindow::Histogram> m_histogram;
    CAutoResetEvent m_arrived;
};

std::vector<CliCommand> CCliCcdfCommand::Commands() {
    return {{{"ccdf"},
             "--port N|usb --count K [--rate 0..3] [--tech NAME] [--freq MHZ] [--offset DB] [--out FILE.csv]",
             "Run K histogram exchanges as the CCDF screen does and print its statistics and curve; --out "
             "also keeps the result as the screen's CSV file.",
             4,
             14,
             Measure}};
}

bool CCliCcdfCommand::ParseOptions(const CliContext& context, SOptions& options) {
    CCliOptions::Values values;
    if (!CCliOptions::Parse(context, {"port", "count", "rate", "tech", "freq", "offset", "out"}, values))
        return false;
    const bool valid =
        CCliOptions::ParsePort(values["port"], options.port) &&
        CCliOptions::ParseNumber(values["count"], 1, kMaxCount, options.count) &&
        (!values.count("rate") || CCliOptions::ParseNumber(values["rate"], 0, 3, options.rate)) &&
        (!values.count("tech") || ParseTechnology(values["tech"], options.technology)) &&
        (!values.count("freq") || ParseDecimal(values["freq"], 0.0, 1e6, options.frequency)) &&
        (!values.count("offset") || ParseDecimal(values["offset"], -100.0, 100.0, options.offset));
    options.out = values.count("out") ? values["out"] : std::string();
    if (!valid)
        CCliOptions::Fail(context,
                          "expected --port N|usb (N 1..255), --count K (1.." + std::to_string(kMaxCount) +
                              "), and optionally --rate 0..3, --tech LTE-TDD|WCDMA|CDMA|WiMAX|"
                              "TDS-CDMA|EV-DO|GSM|etc, --freq MHZ (0..1000000), --offset DB (-100..100)");
    return valid;
}

void CCliCcdfCommand::Print(std::ostream& out, const CCcdfResult& result, double averagePower) {
    out << "average " << Fixed(averagePower, 4) << "\npeak " << Fixed(result.peakPower, 4) << "\ncrest "
        << Fixed(result.crestFactor, 4) << "\nsamples " << result.total << "\n";
    // Probabilities print as 10, 1, 0.1, 0.01, 0.001: the stream's default notation.
    // A level too few samples reach is "n/a", never a figure.
    for (size_t i = 0; i < CCcdfResult::kProbabilities.size(); ++i)
        out << "level " << CCcdfResult::kProbabilities[i] << " "
            << (result.levelKnown[i] ? Fixed(result.levels[i], 4) : "n/a") << "\n";
    for (size_t i = CCcdfResult::kLevels.size(); i-- > 0;)
        out << "probability " << CCcdfResult::kLevels[i] << " " << Fixed(result.probabilities[i], 6) << "\n";
    for (const CcdfPoint& point : result.curve)
        out << "point " << Fixed(point.x, 4) << " " << Fixed(point.y, 6) << "\n";
}

int CCliCcdfCommand::Measure(const CliContext& context) {
    SOptions options;
    if (!ParseOptions(context, options))
        return 2;
    CSession session;
    std::string reason;
    if (!session.Open(options, reason))
        return CCliOptions::Fail(context, reason);
    std::string warning;
    const int delivered = session.Measure(options.count, warning);
    if (!warning.empty())
        context.err << "pelmora-cli: " << warning << "\n";
    const CCcdfResult& result = session.Acquisition().Result();
    if (delivered == 0 || !result.measured)
        return CCliOptions::Fail(
            context,
            CCliSensor::ExchangeFailure(session.Engine(), "the sensor delivered no histogram with samples"));
    const int code = session.Engine().GetIdentificationCode();
    Print(context.out, result, CCcdfTexts::DisplayedAverage(result, code));
    std::string error;
    const CCcdfResultCsv::SConditions conditions{&session.Profile(), session.Acquisition().Window().Size(),
                                                 code};
    if (!options.out.empty() && !CCcdfResultCsv::Write(options.out, result, conditions, &error))
        return CCliOptions::Fail(context,
                                 "cannot write " + options.out + (error.empty() ? "" : ": " + error));
    if (delivered < options.count)
        return CCliOptions::Fail(
            context, "only " + std::to_string(delivered) + " of " + std::to_string(options.count) +
                         " exchanges delivered a histogram: " +
                         CCliSensor::ExchangeFailure(session.Engine(), "the sensor stopped delivering"));
    return 0;
}
