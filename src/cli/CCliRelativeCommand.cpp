#include "cli/CCliRelativeCommand.h"

#include "appcore/CMeasurementHandler.h"
#include "appcore/CRelativeReadout.h"
#include "cli/CCliOptions.h"
#include "cli/CCliSensor.h"
#include "model/CModelTable.h"
#include "model/CPowerMath.h"
#include "model/CPulseMath.h"
#include "model/CSettingProfile.h"
#include "platform/CAutoResetEvent.h"
#include "platform/CTextFormat.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/ReplyKind.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>

namespace {

constexpr uint32_t kRequestTimeoutMs = 500;
constexpr int kReadingWaitMs = 5000;
// Failed exchanges of one sensor in a row after which it is taken to be lost.
constexpr int kMaxMissedInARow = 3;

enum class Channel { Avg, Peak, Pulse };

// One of the two sensors: its own engine and profile, and the latest reading handed over, in
// dBm as the screens scale it.
class CPairedSensor : public CReadingReceiver {
public:
    explicit CPairedSensor(std::string label) : m_label(std::move(label)) {}
    ~CPairedSensor() override {
        m_engine.Disconnect();
        m_engine.Sinks().Clear();
    }

    const std::string& Label() const { return m_label; }
    const CMeterEngine& Engine() const { return m_engine; }

    // Connects, identifies and checks that the model measures the channel; false with the reason.
    bool Open(int port, Channel channel, std::optional<float> frequency, std::string& reason) {
        if (!CCliSensor::ConnectAndIdentify(m_engine, port, m_profile, reason))
            return false;
        const int model = m_profile.GetModelNumber();
        m_mode = ModeFor(channel, model);
        if (m_mode < 0) {
            reason = "the " + m_profile.ModelName() + " sensor does not measure this channel";
            return false;
        }
        m_frequency = frequency.value_or(m_profile.GetFrequency());
        m_offset = m_profile.GetExtOffset();
        m_technology = m_profile.GetTechnology();
        for (auto kind : {CReadingSinks::Kind::Measurement, CReadingSinks::Kind::Pulse})
            m_engine.Sinks().Set(kind, this);
        return true;
    }

    // Asks for one reading; Await takes it.
    void Ask() {
        m_ticket = m_engine.Request({m_mode, CMeterCommand::Hundredths(m_frequency), kRequestTimeoutMs,
                                     m_profile.GetModelNumber(), CMeterCommand::Hundredths(m_offset)});
    }
    // The reading asked for; none when it failed or did not come.
    std::optional<float> Await() {
        if (!m_ticket)
            return std::nullopt;
        if (!m_handedOver.Wait(kReadingWaitMs)) {
            m_ticket->Drop(); // a result still to come must not pass for the next one's
            return std::nullopt;
        }
        std::lock_guard lock(m_mutex);
        return m_reading;
    }

    void OnAvgReading(int32_t state, int32_t value) override {
        Keep(state, CPowerMath::ReadingToDbm(value, m_offset));
    }
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t /*reverse*/) override {
        Keep(state, CPowerMath::CorrectedReading(forward, m_technology, m_frequency, m_offset));
    }
    void OnPeakReading(int32_t state, int32_t value) override {
        Keep(state, CPowerMath::ReadingToDbm(value, m_offset));
    }
    void OnPulseReading(int32_t state, int32_t pulsePower, int32_t, int32_t, int32_t, int32_t) override {
        Keep(state, CPulseMath::CorrectedPower(pulsePower, m_technology, m_frequency) + m_offset);
    }

private:
    // The request that yields the channel on this model; -1 when the model has none.
    static int32_t ModeFor(Channel channel, int model) {
        if (channel == Channel::Pulse)
            return CModelTable::HasPulseAndCcdf(model) ? CMeterEngine::ModePulse : -1;
        const std::vector<int32_t> cycle = CMeasurementHandler::RequestCycle(model);
        const auto has = [&cycle](int32_t mode) { return std::ranges::find(cycle, mode) != cycle.end(); };
        if (channel == Channel::Peak)
            return has(CMeterEngine::ModePeak) ? CMeterEngine::ModePeak : -1;
        if (has(CMeterEngine::ModeForwardReverse))
            return CMeterEngine::ModeForwardReverse;
        return has(CMeterEngine::ModeAvg) ? CMeterEngine::ModeAvg : -1;
    }

    void Keep(int32_t state, float dbm) {
        {
            std::lock_guard lock(m_mutex);
            m_reading = state == ReplyReading ? std::optional<float>(dbm) : std::nullopt;
        }
        m_handedOver.Set();
    }

    std::string m_label;
    CMeterEngine m_engine;
    CSettingProfile m_profile;
    int32_t m_mode = -1;
    // Fixed before the first request; the worker reads them.
    float m_frequency = 0.0f;
    float m_offset = 0.0f;
    int m_technology = 0;
    std::shared_ptr<CRequestTicket> m_ticket;
    std::mutex m_mutex;
    std::optional<float> m_reading;
    CAutoResetEvent m_handedOver;
};

std::optional<Channel> ChannelNamed(const std::string& name) {
    if (name == "avg")
        return Channel::Avg;
    if (name == "peak")
        return Channel::Peak;
    if (name == "pulse")
        return Channel::Pulse;
    return std::nullopt;
}

// "sensor A (COM5)", "sensor B (usb)".
std::string SensorLabel(char side, const std::string& port) {
    return std::string("sensor ") + side + " (" + (port == "usb" ? port : "COM" + port) + ")";
}

} // namespace

std::vector<CliCommand> CCliRelativeCommand::Commands() {
    return {{{"relative"},
             "--port A --port B --count K [--channel avg|peak|pulse] [--freq MHZ]",
             "Measure the channel of two sensors at once, K pairs; one line each: A (dBm), B (dBm), B - A "
             "(dB).",
             6,
             10,
             Relative}};
}

int CCliRelativeCommand::Relative(const CliContext& context) {
    CCliOptions::Values values;
    if (!CCliOptions::Parse(context, {"port", "count", "channel", "freq"}, values))
        return 2;
    const std::vector<std::string> ports = CCliOptions::Repeated(context, "port");
    int count = 0;
    std::array<int, 2> portNumbers{};
    if (ports.size() != 2 || !CCliOptions::ParsePort(ports[0], portNumbers[0]) ||
        !CCliOptions::ParsePort(ports[1], portNumbers[1]))
        return CCliOptions::Fail(context,
                                 "expected two ports: --port A --port B (a COM number 1..255 or usb)");
    if (!CCliOptions::ParseNumber(values["count"], 1, 1000000, count))
        return CCliOptions::Fail(context, "bad count '" + values["count"] + "' (1..1000000)");
    const std::string channelName = values.count("channel") ? values["channel"] : "avg";
    const std::optional<Channel> channel = ChannelNamed(channelName);
    if (!channel)
        return CCliOptions::Fail(context, "bad channel '" + channelName + "' (avg, peak or pulse)");
    std::optional<float> frequency;
    if (values.count("freq")) {
        double megahertz = 0.0;
        if (!CCliOptions::ParseReal(values["freq"], 0.0, CCliOptions::kMaxFrequencyMHz, megahertz) ||
            megahertz <= 0.0)
            return CCliOptions::Fail(context, "bad frequency '" + values["freq"] + "' (MHz)");
        frequency = static_cast<float>(megahertz);
    }

    std::array<std::unique_ptr<CPairedSensor>, 2> sensors;
    for (int side = 0; side < 2; ++side) {
        sensors[side] = std::make_unique<CPairedSensor>(SensorLabel(side == 0 ? 'A' : 'B', ports[side]));
        std::string reason;
        if (!sensors[side]->Open(portNumbers[side], *channel, frequency, reason))
            return CCliOptions::Fail(context, sensors[side]->Label() + ": " + reason);
    }
    // Both are asked at once; a pair is only made of readings of the same round.
    CRelativeReadout readout{std::chrono::milliseconds(kReadingWaitMs)};
    std::array<int, 2> missed{};
    for (int pairs = 0; pairs < count;) {
        for (auto& sensor : sensors)
            sensor->Ask();
        for (int side = 0; side < 2; ++side) {
            const std::optional<float> reading = sensors[side]->Await();
            readout.OnReading(static_cast<CRelativePairing::Side>(side), reading,
                              CRelativeReadout::Clock::now());
            missed[side] = reading ? 0 : missed[side] + 1;
            if (missed[side] == kMaxMissedInARow)
                return CCliOptions::Fail(
                    context,
                    sensors[side]->Label() + ": " +
                        CCliSensor::ExchangeFailure(sensors[side]->Engine(), "the sensor gave no reading"));
        }
        const auto now = CRelativeReadout::Clock::now();
        const std::optional<float> a = readout.Fresh(CRelativePairing::SideA, now);
        const std::optional<float> b = readout.Fresh(CRelativePairing::SideB, now);
        const std::optional<float> difference = readout.CurrentDb(now);
        if (!a || !b || !difference)
            continue;
        ++pairs;
        context.out << CTextFormat::Printf("%.2f %.2f %.2f", static_cast<double>(*a), static_cast<double>(*b),
                                           static_cast<double>(*difference))
                    << "\n"
                    << std::flush;
    }
    return 0;
}
