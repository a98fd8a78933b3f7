#include "cli/CCliRecordCommand.h"

#include "cli/CCliSensor.h"

#include "cli/CCliNotices.h"
#include "cli/CCliOptions.h"

#include "appcore/CEngineMeasurementLink.h"
#include "appcore/CMeasurementDisplay.h"
#include "appcore/CMeasurementHandler.h"
#include "appcore/CPulseHandler.h"
#include "appcore/CSettingValidation.h"
#include "history/CHistoryChannels.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "platform/CAutoResetEvent.h"
#include "platform/CTextFormat.h"
#include "protocol/CMeterEngine.h"
#include "protocol/ReplyKind.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

namespace {

constexpr int kMaxCount = 100000;
// Without a single new value for this long the sensor is taken to have stopped answering.
constexpr int kStallMs = 10000;
// Failed exchanges in a row after which the sensor is taken to be lost; a single miss is retried.
constexpr int kMaxMissedInARow = 3;
constexpr int kTechnologyCount = 8;

struct RecordOptions {
    int port = 0;
    std::vector<std::string> ports; // every --port given; several record at once
    int count = 0;
    std::string out;
    bool pulse = false;
    std::optional<float> frequency;
    std::optional<float> offset;
    std::optional<int> technology;
};

// The profile settings a run may override, put back before the profile saves itself.
struct ProfileSettings {
    float frequency;
    float offset;
    int technology;

    static ProfileSettings Of(const CSettingProfile& profile) {
        return {profile.GetFrequency(), profile.GetExtOffset(), profile.GetTechnology()};
    }
    void ApplyTo(CSettingProfile& profile) const {
        profile.SetFrequency(frequency);
        profile.SetExtOffset(offset);
        profile.SetTechnology(technology);
    }
};

// What differs between the screens the command can measure as.
void Configure(CMeasurementHandler& handler) {
    handler.ConfigureForModel();
}
void Configure(CPulseHandler& /*handler*/) {}

uint8_t SaveMask(const CMeasurementHandler& /*handler*/, int modelNumber) {
    return CMeasurementHandler::SaveMask(modelNumber);
}
uint8_t SaveMask(const CPulseHandler& /*handler*/, int /*modelNumber*/) {
    return CPulseHandler::kSaveMask;
}

CReadingSinks::Kind SinkKind(const CMeasurementHandler& /*handler*/) {
    return CReadingSinks::Kind::Measurement;
}
CReadingSinks::Kind SinkKind(const CPulseHandler& /*handler*/) {
    return CReadingSinks::Kind::Pulse;
}

// A connected sensor measured through a screen's handler. Readings arrive on the engine's
// worker and are queued to the thread that runs the request cycle, like the screen's are.
template <typename Handler> class CRecordSession : public CReadingReceiver {
public:
    CRecordSession(const RecordOptions& options, std::ostream& out, std::ostream& err)
        : m_options(options), m_out(out), m_notices(err), m_handler(m_profile, m_link, m_display, m_notices),
          m_controller(m_handler.Controller()) {}

    ~CRecordSession() override {
        m_engine.Disconnect();
        m_engine.Sinks().Clear();
        DrainQueue(); // handler calls that arrived before the disconnect; harmless now
        if (m_saved)
            m_saved->ApplyTo(m_profile);
    }

    bool Open(std::string& reason) {
        // Sensors recording at once do not share a model's settings file.
        m_profile.KeepOwnFile(m_options.ports.size() > 1);
        if (!CCliSensor::ConnectAndIdentify(m_engine, m_options.port, m_profile, reason))
            return false;
        if (m_options.pulse && !CModelTable::HasPulseAndCcdf(m_profile.GetModelNumber())) {
            reason = CCliSensor::LacksScreen(m_profile, "PULSE");
            return false;
        }
        ApplyOverrides();
        m_engine.Sinks().Set(SinkKind(m_handler), this);
        return true;
    }

    // Runs the request cycle until `count` rows are recorded, the measurement stops by itself
    // (single sweep) or the sensor stops answering; the number of rows recorded.
    int Measure() {
        Configure(m_handler);
        m_controller.Start();
        int rows = 0;
        int idleMs = 0;
        while (m_controller.IsRunning() && rows < m_options.count && idleMs < kStallMs &&
               m_missedInARow.load() < kMaxMissedInARow) {
            m_controller.Pump();
            m_arrived.Wait(static_cast<int>(CMeasurementLink::kPaceMs));
            DrainQueue();
            const int recorded = RowsRecorded();
            idleMs = recorded > rows ? 0 : idleMs + static_cast<int>(CMeasurementLink::kPaceMs);
            rows = recorded;
        }
        m_stalled = idleMs >= kStallMs || m_missedInARow.load() >= kMaxMissedInARow;
        m_controller.Close();
        return rows;
    }

    bool Stalled() const { return m_stalled; }
    bool Save(std::string& reason) { return m_controller.SaveHistory(m_options.out, &reason); }
    const CSettingProfile& Profile() const { return m_profile; }
    const CMeterEngine& Engine() const { return m_engine; }

    void OnAvgReading(int32_t state, int32_t value) override {
        Note(state);
        Post([=, this] { m_handler.OnAvgReading(state, value); });
    }
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override {
        Note(state);
        Post([=, this] { m_handler.OnForwardReverseReading(state, forward, reverse); });
    }
    void OnPeakReading(int32_t state, int32_t value) override {
        Note(state);
        Post([=, this] { m_handler.OnPeakReading(state, value); });
    }
    void OnRevReading(int32_t state, int32_t value) override {
        Note(state);
        Post([=, this] { m_handler.OnRevReading(state, value); });
    }
    void OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2, int32_t value3,
                        int32_t value4) override {
        Note(state);
        Post([=, this] {
            const int before = m_handler.Records().Count(ChannelPulse);
            m_handler.OnPulseReading(state, pulsePower, value1, value2, value3, value4);
            if (m_handler.Records().Count(ChannelPulse) > before)
                PrintPulse();
        });
    }

private:
    void ApplyOverrides() {
        m_saved = ProfileSettings::Of(m_profile);
        if (m_options.frequency)
            m_profile.SetFrequency(*m_options.frequency);
        if (m_options.offset)
            m_profile.SetExtOffset(*m_options.offset);
        if (m_options.technology)
            m_profile.SetTechnology(*m_options.technology);
    }

    // The stored pulse power, the duty cycle and the burst width of the reading just taken.
    void PrintPulse() {
        const CRecordStore& records = m_handler.Records();
        m_out << CTextFormat::Printf("%.2f %.2f %.3f", static_cast<double>(records.Last(ChannelPulse)),
                                     static_cast<double>(records.DutyCycle()),
                                     static_cast<double>(records.BurstWidth()))
              << "\n";
    }

    void Note(int32_t state) {
        if (state == ReplyReading)
            m_missedInARow.store(0);
        else
            m_missedInARow.fetch_add(1);
    }

    void Post(std::function<void()> call) {
        {
            std::lock_guard lock(m_queueLock);
            m_queue.push_back(std::move(call));
        }
        m_arrived.Set();
    }

    void DrainQueue() {
        std::deque<std::function<void()>> calls;
        {
            std::lock_guard lock(m_queueLock);
            calls.swap(m_queue);
        }
        for (const auto& call : calls)
            call();
    }

    // Rows a saved history holds: the shortest of its channels.
    int RowsRecorded() const {
        const uint8_t mask = SaveMask(m_handler, m_profile.GetModelNumber());
        int rows = kMaxCount;
        for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
            if (mask & CHistoryChannels::MaskBit(channel))
                rows = std::min(rows, m_handler.Records().Count(channel));
        }
        return rows;
    }

    const RecordOptions& m_options;
    std::ostream& m_out;
    CMeterEngine m_engine;
    CSettingProfile m_profile;
    std::optional<ProfileSettings> m_saved;
    CEngineMeasurementLink m_link{m_engine, m_profile,
                                  [this](std::function<void()> call) { Post(std::move(call)); }};
    CMeasurementDisplay m_display;
    CCliNotices m_notices;
    Handler m_handler;
    CScreenController& m_controller;
    std::mutex m_queueLock;
    std::deque<std::function<void()>> m_queue;
    CAutoResetEvent m_arrived;
    std::atomic<int> m_missedInARow{0};
    bool m_stalled = false;
};

std::optional<int> TechnologyIndex(const std::string& name) {
    for (int technology = 0; technology < kTechnologyCount; ++technology) {
        if (CSettingProfile::TechnologyName(technology) == name)
            return technology;
    }
    return std::nullopt;
}

// The optional settings of a run; false (after reporting why) for a bad one.
bool ParseOverrides(const CliContext& context, CCliOptions::Values& values, RecordOptions& options) {
    double number = 0.0;
    if (values.count("freq")) {
        if (!CCliOptions::ParseReal(values["freq"], 0.0, CCliOptions::kMaxFrequencyMHz, number) ||
            number <= 0.0) {
            CCliOptions::Fail(context, "bad frequency '" + values["freq"] + "' (MHz)");
            return false;
        }
        options.frequency = static_cast<float>(number);
    }
    if (values.count("offset")) {
        if (!CCliOptions::ParseReal(values["offset"], -1e6, 1e6, number) ||
            !CSettingValidation::IsOffsetInRange(number)) {
            CCliOptions::Fail(context, "bad offset '" + values["offset"] + "' (dB, -100..100)");
            return false;
        }
        options.offset = static_cast<float>(number);
    }
    if (values.count("tech")) {
        options.technology = TechnologyIndex(values["tech"]);
        if (!options.technology) {
            CCliOptions::Fail(context, "unknown technology '" + values["tech"] +
                                           "' (LTE-TDD, WCDMA, CDMA, WiMAX, TDS-CDMA, EV-DO, GSM or etc)");
            return false;
        }
    }
    return true;
}

bool ParseOptions(const CliContext& context, RecordOptions& options) {
    CCliOptions::Values values;
    if (!CCliOptions::Parse(context, {"port", "count", "out", "screen", "freq", "offset", "tech"}, values))
        return false;
    if (!CCliOptions::ParsePort(values["port"], options.port) ||
        !CCliOptions::ParseNumber(values["count"], 1, kMaxCount, options.count) || values["out"].empty()) {
        CCliOptions::Fail(context, "expected --port N|usb (N 1..255), --count K (1.." +
                                       std::to_string(kMaxCount) + ") and --out FILE.psh");
        return false;
    }
    options.out = values["out"];
    options.ports = CCliOptions::Repeated(context, "port");
    const std::string screen = values.count("screen") ? values["screen"] : "avgpeak";
    if (screen != "avgpeak" && screen != "pulse") {
        CCliOptions::Fail(context, "unknown screen '" + screen + "' (avgpeak or pulse)");
        return false;
    }
    options.pulse = screen == "pulse";
    return ParseOverrides(context, values, options);
}

template <typename Handler> int RecordAs(const CliContext& context, const RecordOptions& options) {
    CRecordSession<Handler> session(options, context.out, context.err);
    std::string reason;
    if (!session.Open(reason))
        return CCliOptions::Fail(context, reason);
    const int rows = session.Measure();
    if (rows == 0)
        return CCliOptions::Fail(
            context, CCliSensor::ExchangeFailure(session.Engine(), "the sensor delivered no readings"));
    if (!session.Save(reason))
        return CCliOptions::Fail(context, "the history was not saved: " + reason);
    // The pulse lines alone go to the output, so that it can be read as a table.
    std::ostream& summary = options.pulse ? context.err : context.out;
    summary << "recorded " << rows << " rows from " << session.Profile().ModelName() << " into "
            << options.out << "\n";
    if (session.Stalled())
        return CCliOptions::Fail(
            context, CCliSensor::ExchangeFailure(session.Engine(), "the sensor stopped answering") +
                         "; the history holds what came before");
    return 0;
}

// "run.psh" for port "5" gives "run-5.psh".
std::string PathForPort(const std::string& path, const std::string& port) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    const bool hasSuffix = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasSuffix ? path.substr(0, dot) + "-" + port + path.substr(dot) : path + "-" + port;
}

// Several sensors record at once, each on its own thread and into its own file; their output
// follows in the order of the ports, each error naming its port.
template <typename Handler> int RecordSeveral(const CliContext& context, const RecordOptions& options) {
    struct SRun {
        RecordOptions options;
        std::ostringstream out;
        std::ostringstream err;
        int status = 0;
    };
    std::vector<std::unique_ptr<SRun>> runs;
    for (const std::string& port : options.ports) {
        auto run = std::make_unique<SRun>();
        run->options = options;
        run->options.out = PathForPort(options.out, port);
        if (!CCliOptions::ParsePort(port, run->options.port))
            return CCliOptions::Fail(context, "bad port '" + port + "' (a COM number 1..255 or usb)");
        runs.push_back(std::move(run));
    }
    std::vector<std::thread> threads;
    for (auto& run : runs)
        threads.emplace_back([&run] {
            const std::vector<std::string> none;
            run->status = RecordAs<Handler>({none, run->out, run->err}, run->options);
        });
    for (std::thread& thread : threads)
        thread.join();
    int status = 0;
    for (size_t index = 0; index < runs.size(); ++index) {
        context.out << runs[index]->out.str();
        std::istringstream errors(runs[index]->err.str());
        for (std::string line; std::getline(errors, line);)
            context.err << (line.starts_with("pelmora-cli: ")
                                ? "pelmora-cli: port " + options.ports[index] + ": " + line.substr(13)
                                : line)
                        << "\n";
        status = status != 0 ? status : runs[index]->status;
    }
    return status;
}

} // namespace

std::vector<CliCommand> CCliRecordCommand::Commands() {
    return {{{"record"},
             "--port N|usb [--port N|usb]... --count K --out FILE.psh [--screen avgpeak|pulse] [--freq MHZ] "
             "[--offset DB] [--tech NAME]",
             "Measure as the AVG & PEAK (default) or PULSE screen does until K values are recorded, and save "
             "the history. The PULSE screen prints each reading: pulse power (dBm), duty cycle (%) and burst "
             "width (us). Several sensors record at once, each into FILE-PORT.psh.",
             6,
             20,
             Record}};
}

int CCliRecordCommand::Record(const CliContext& context) {
    RecordOptions options;
    if (!ParseOptions(context, options))
        return 2;
    if (options.ports.size() > 1)
        return options.pulse ? RecordSeveral<CPulseHandler>(context, options)
                             : RecordSeveral<CMeasurementHandler>(context, options);
    return options.pulse ? RecordAs<CPulseHandler>(context, options)
                         : RecordAs<CMeasurementHandler>(context, options);
}
