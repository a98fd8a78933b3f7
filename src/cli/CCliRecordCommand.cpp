#include "cli/CCliRecordCommand.h"

#include "cli/CCliOptions.h"

#include "history/CHistoryChannels.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "platform/CAutoResetEvent.h"
#include "protocol/CMeterEngine.h"
#include "screens/CEngineMeasurementLink.h"
#include "screens/CMeasurementDisplay.h"
#include "screens/CMeasurementHandler.h"
#include "screens/CScreenNotices.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>

namespace {

constexpr int kMaxCount = 100000;
// Without a single new value for this long the sensor is taken to have stopped answering.
constexpr int kStallMs = 10000;

} // namespace

// A connected sensor measured through the screen's handler. Readings arrive on the engine's
// worker and are queued to the thread that runs the request cycle, like the screen's are.
class CCliRecordCommand::CSession : public CReadingReceiver {
public:
    CSession() : m_handler(m_profile, m_link, m_display, m_notices), m_controller(m_handler.Controller()) {}

    ~CSession() override {
        CMeterEngine::Instance().Disconnect();
        CMeterEngine::Instance().Sinks().Clear();
        DrainQueue(); // handler calls that arrived before the disconnect; harmless now
    }

    bool Open(int port, std::string& reason) {
        CMeterEngine& engine = CMeterEngine::Instance();
        if (engine.Connect(port) != 0) {
            reason = "the sensor did not connect";
            return false;
        }
        const SensorModel* model = CModelTable::FindByCode(engine.GetIdentificationCode());
        if (model == nullptr) {
            reason = "the sensor is not a supported model";
            return false;
        }
        m_profile.SetDevice(model->number, engine.GetSerialNumber(), engine.GetFirmwareVersion());
        engine.Sinks().Set(CReadingSinks::Kind::Measurement, this);
        return true;
    }

    // Runs the request cycle until `count` rows are recorded, the measurement stops by itself
    // (single sweep) or the sensor stops answering; the number of rows recorded.
    int Measure(int count) {
        m_handler.ConfigureForModel();
        m_controller.Start();
        int rows = 0;
        int idleMs = 0;
        while (m_controller.IsRunning() && rows < count && idleMs < kStallMs) {
            m_controller.OnTimer();
            m_arrived.Wait(CScreenController::kTimerMs);
            DrainQueue();
            const int recorded = RowsRecorded();
            idleMs = recorded > rows ? 0 : idleMs + CScreenController::kTimerMs;
            rows = recorded;
        }
        m_stalled = idleMs >= kStallMs;
        m_controller.Close();
        return rows;
    }

    bool Stalled() const { return m_stalled; }

    bool Save(const std::string& path, std::string& reason) {
        return m_controller.SaveHistory(path, &reason);
    }
    const CSettingProfile& Profile() const { return m_profile; }

    void OnAvgReading(int32_t state, int32_t value) override {
        Post([=, this] { m_handler.OnAvgReading(state, value); });
    }
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override {
        Post([=, this] { m_handler.OnForwardReverseReading(state, forward, reverse); });
    }
    void OnPeakReading(int32_t state, int32_t value) override {
        Post([=, this] { m_handler.OnPeakReading(state, value); });
    }
    void OnRevReading(int32_t state, int32_t value) override {
        Post([=, this] { m_handler.OnRevReading(state, value); });
    }

private:
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
        const uint8_t mask = CMeasurementHandler::SaveMask(m_profile.GetModelNumber());
        int rows = kMaxCount;
        for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
            if (mask & CHistoryChannels::MaskBit(channel))
                rows = std::min(rows, m_profile.Records().Count(channel));
        }
        return rows;
    }

    CSettingProfile m_profile;
    CEngineMeasurementLink m_link{m_profile, [this](std::function<void()> call) { Post(std::move(call)); }};
    CMeasurementDisplay m_display;
    CScreenNotices m_notices;
    CMeasurementHandler m_handler;
    CScreenController& m_controller;
    std::mutex m_queueLock;
    std::deque<std::function<void()>> m_queue;
    CAutoResetEvent m_arrived;
    bool m_stalled = false;
};

std::vector<CliCommand> CCliRecordCommand::Commands() {
    return {{{"record"},
             "--port N|usb --count K --out FILE.psh",
             "Measure as the AVG & PEAK screen does until K values are recorded, and save the history.",
             6,
             6,
             Record}};
}

bool CCliRecordCommand::ParseOptions(const CliContext& context, SOptions& options) {
    CCliOptions::Values values;
    if (!CCliOptions::Parse(context, {"port", "count", "out"}, values))
        return false;
    if (!CCliOptions::ParsePort(values["port"], options.port) ||
        !CCliOptions::ParseNumber(values["count"], 1, kMaxCount, options.count) || values["out"].empty()) {
        CCliOptions::Fail(context, "expected --port N|usb (N 1..255), --count K (1.." +
                                       std::to_string(kMaxCount) + ") and --out FILE.psh");
        return false;
    }
    options.out = values["out"];
    return true;
}

int CCliRecordCommand::Record(const CliContext& context) {
    SOptions options;
    if (!ParseOptions(context, options))
        return 2;
    CSession session;
    std::string reason;
    if (!session.Open(options.port, reason))
        return CCliOptions::Fail(context, reason);
    const int rows = session.Measure(options.count);
    if (rows == 0)
        return CCliOptions::Fail(context, "the sensor delivered no readings");
    if (!session.Save(options.out, reason))
        return CCliOptions::Fail(context, "the history was not saved: " + reason);
    context.out << "recorded " << rows << " rows from " << session.Profile().ModelName() << " into "
                << options.out << "\n";
    if (session.Stalled())
        return CCliOptions::Fail(context, "the sensor stopped answering; the history holds what came before");
    return 0;
}
