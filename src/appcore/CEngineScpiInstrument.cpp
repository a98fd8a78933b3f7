#include "appcore/CEngineScpiInstrument.h"

#include "appcore/CLinkFailureTexts.h"
#include "appcore/CMeasurementHandler.h"
#include "appcore/CScpiErrorQueue.h"
#include "appcore/CSettingValidation.h"
#include "ccdf/CCcdfAcquisition.h"
#include "ccdf/CCcdfTexts.h"
#include "model/CModelTable.h"
#include "model/CPowerMath.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/ReplyKind.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

// The sensor's reply time-out, as the screens ask.
constexpr uint32_t kReplyTimeoutMs = 500;

const char* NameOf(CScpiInstrument::Quantity quantity) {
    switch (quantity) {
    case CScpiInstrument::Quantity::Average:
        return "average power";
    case CScpiInstrument::Quantity::Peak:
        return "peak power";
    case CScpiInstrument::Quantity::Reverse:
        return "reverse power";
    case CScpiInstrument::Quantity::Vswr:
        break;
    }
    return "VSWR";
}

} // namespace

// Where the worker hands one exchange's result; shared with the job, so that a result that
// comes after the wait gave up still has somewhere to go.
class CEngineScpiInstrument::CReply : public CReadingReceiver {
public:
    bool Wait(int timeoutMs) {
        std::unique_lock lock(m_lock);
        return m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_answered; });
    }
    // After Wait: 1 for a reading.
    int32_t State() const { return m_state; }
    const Values& RawValues() const { return m_values; }
    const PowerHistogram& Histogram() const { return m_histogram; }

    void Keep(int32_t state, Values values) {
        std::lock_guard lock(m_lock);
        m_state = state;
        m_values = values;
        m_answered = true;
        m_arrived.notify_all();
    }

    void OnAvgReading(int32_t state, int32_t value) override { Keep(state, {value}); }
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override {
        Keep(state, {forward, reverse});
    }
    void OnPeakReading(int32_t state, int32_t value) override { Keep(state, {value}); }
    void OnRevReading(int32_t state, int32_t value) override { Keep(state, {value}); }
    void OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2, int32_t value3,
                        int32_t value4) override {
        Keep(state, {pulsePower, value1, value2, value3, value4});
    }
    void OnCcdfData(int32_t state, const PowerHistogram& histogram) override {
        {
            std::lock_guard lock(m_lock);
            m_histogram = histogram;
        }
        Keep(state, {});
    }

private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    bool m_answered = false;
    int32_t m_state = 0;
    Values m_values{};
    PowerHistogram m_histogram;
};

CEngineScpiInstrument::SSetup CEngineScpiInstrument::SetupOf(const CSettingProfile& profile,
                                                             int identificationCode) {
    SSetup setup;
    setup.modelNumber = profile.GetModelNumber();
    setup.identificationCode = identificationCode;
    setup.identity = profile.ModelName() + "," + profile.GetSerialText() + "," + profile.GetFirmwareText();
    setup.readings = CReadingValues::Of(profile);
    setup.ccdfRate = profile.GetCcdfRate();
    float low = 0.0f;
    float high = 0.0f;
    profile.GetLimits(CMeasurementHandler::MainChannel(setup.modelNumber), low, high);
    setup.lowerLimit = low;
    setup.upperLimit = high;
    return setup;
}

CEngineScpiInstrument::CEngineScpiInstrument(CMeterEngine& engine, SSetup setup)
    : m_engine(engine), m_setup(std::move(setup)) {
    Reset();
}

void CEngineScpiInstrument::Reset() {
    m_settings = m_setup.readings;
    // Hertz of the frequency as the user typed it: 2450.7 MHz is 2450700000 Hz, not the float's
    // nearest neighbour.
    const std::optional<double> mhz =
        CSettingValidation::ParseNumber(CSettingValidation::FormatNumber(m_settings.frequencyMHz));
    m_frequencyHz = std::round(mhz.value_or(m_settings.frequencyMHz) * 1e6);
    m_latest.clear();
    m_latestPulse.reset();
    m_latestCcdf.reset();
}

CScpiInstrument::SOutcome CEngineScpiInstrument::SetFrequencyHz(double hz) {
    if (!CSettingValidation::IsFrequencyInRange(m_setup.modelNumber, hz / 1e6))
        return {CScpiErrorQueue::DataOutOfRange, "frequency outside the sensor's range"};
    m_frequencyHz = hz;
    m_settings.frequencyMHz = static_cast<float>(hz / 1e6);
    return {};
}

CScpiInstrument::SOutcome CEngineScpiInstrument::SetOffsetDb(double db) {
    if (!CSettingValidation::IsOffsetInRange(db))
        return {CScpiErrorQueue::DataOutOfRange, "offset outside the settings' range"};
    m_settings.extOffset = static_cast<float>(db);
    return {};
}

CScpiInstrument::SOutcome CEngineScpiInstrument::Measure(Quantity quantity, bool fresh, double& value) {
    if (fresh) {
        if (const SOutcome outcome = MeasurePowers(quantity); outcome.error != 0)
            return outcome;
    }
    const auto latest = m_latest.find(quantity);
    if (latest == m_latest.end())
        return {CScpiErrorQueue::DataStale, "no reading of the " + std::string(NameOf(quantity)) + " yet"};
    value = latest->second;
    return {};
}

CScpiInstrument::SOutcome CEngineScpiInstrument::MeasurePowers(Quantity quantity) {
    const CReadingValues::SSettings& settings = m_settings;
    Values values{};
    if (Cycles(CMeterEngine::ModeForwardReverse) && quantity != Quantity::Peak) {
        if (SOutcome outcome = Exchange(CMeterEngine::ModeForwardReverse, values); outcome.error != 0)
            return outcome;
        m_latest[Quantity::Average] = CReadingValues::ForwardReversePower(values[0], settings);
        m_latest[Quantity::Reverse] = CReadingValues::ForwardReversePower(values[1], settings);
        m_latest[Quantity::Vswr] = CPowerMath::VswrFromRawPowers(values[0], values[1]);
        return {};
    }
    const bool vswr = quantity == Quantity::Vswr;
    const int32_t mode = quantity == Quantity::Peak      ? CMeterEngine::ModePeak
                         : quantity == Quantity::Reverse ? CMeterEngine::ModeRev
                                                         : CMeterEngine::ModeAvg;
    // The VSWR channel takes the peak-to-average ratio on the models that report one.
    const bool par = CModelTable::ReportsPar(m_setup.modelNumber);
    const int32_t second = par ? CMeterEngine::ModePeak : CMeterEngine::ModeRev;
    if (!Cycles(mode) || (vswr && !Cycles(second)))
        return Lacks(NameOf(quantity));
    if (SOutcome outcome = Exchange(mode, values); outcome.error != 0)
        return outcome;
    const float power = CReadingValues::Power(values[0], settings);
    m_latest[vswr ? Quantity::Average : quantity] = power;
    if (!vswr)
        return {};
    // The average power first, as the screen's cycle takes them.
    if (SOutcome outcome = Exchange(second, values); outcome.error != 0)
        return outcome;
    const float other = CReadingValues::Power(values[0], settings);
    m_latest[par ? Quantity::Peak : Quantity::Reverse] = other;
    m_latest[Quantity::Vswr] =
        par ? CPowerMath::PeakToAverage(other, power) : CPowerMath::VswrFromReturnLoss(power - other);
    return {};
}

CScpiInstrument::SOutcome CEngineScpiInstrument::MeasurePulse(bool fresh, SPulse& pulse) {
    if (!CModelTable::HasPulseAndCcdf(m_setup.modelNumber))
        return Lacks("pulse");
    if (fresh) {
        Values values{};
        if (SOutcome outcome = Exchange(CMeterEngine::ModePulse, values); outcome.error != 0)
            return outcome;
        const CReadingValues::SPulse measured =
            CReadingValues::Pulse(values[0], values[1], values[2], values[3], values[4], m_settings);
        m_latestPulse = SPulse{measured.powerDbm, measured.dutyPercent, measured.widthUs};
    }
    if (!m_latestPulse)
        return {CScpiErrorQueue::DataStale, "no pulse reading yet"};
    pulse = *m_latestPulse;
    return {};
}

CScpiInstrument::SOutcome CEngineScpiInstrument::MeasureCcdf(bool fresh, SCcdf& ccdf) {
    if (!CModelTable::HasPulseAndCcdf(m_setup.modelNumber))
        return Lacks("CCDF");
    if (fresh) {
        SCcdf measured;
        if (SOutcome outcome = MeasureHistograms(measured); outcome.error != 0)
            return outcome;
        m_latestCcdf = std::move(measured);
    }
    if (!m_latestCcdf)
        return {CScpiErrorQueue::DataStale, "no CCDF measurement yet"};
    ccdf = *m_latestCcdf;
    return {};
}

// A full acquisition window of histograms, each its own job so that the screens' exchanges can
// go between them.
CScpiInstrument::SOutcome CEngineScpiInstrument::MeasureHistograms(SCcdf& ccdf) {
    const int technology = m_settings.technology;
    auto acknowledged = std::make_shared<CReply>();
    m_engine.Run<bool>([&engine = m_engine, technology] { return engine.SetTechnology(technology); },
                       [acknowledged](bool ok) { acknowledged->Keep(ok ? ReplyReading : 0, {}); }, false);
    if (!Await(*acknowledged, kReadingWaitMs) || acknowledged->State() != ReplyReading)
        return Failed("the sensor did not take the technology");
    CCcdfAcquisition acquisition;
    const CCcdfAcquisition::SSettings settings{m_setup.ccdfRate, true, technology};
    // A sensor that keeps sending empty histograms must not hold the client forever.
    const uint32_t attempts = 2 * CCcdfWindow::LengthForRate(m_setup.ccdfRate);
    for (uint32_t i = 0; i < attempts && !acquisition.IsSweepComplete(settings); ++i) {
        auto reply = std::make_shared<CReply>();
        Values values{};
        if (SOutcome outcome = Exchange(CMeterEngine::ModeCcdf, values, reply); outcome.error != 0)
            return outcome;
        acquisition.Add(acquisition.Generation(), reply->Histogram(), settings);
    }
    const CCcdfResult& result = acquisition.Result();
    if (!result.measured)
        return Failed("the sensor delivered no histogram with samples");
    ccdf.averageDbm = CCcdfTexts::DisplayedAverage(result, m_setup.identificationCode);
    ccdf.peakDbm = result.peakPower;
    ccdf.crestDb = result.crestFactor;
    ccdf.samples = result.total;
    for (const CcdfPoint& point : result.curve)
        ccdf.curve.emplace_back(point.x, 100.0 * std::pow(10.0, point.y));
    return {};
}

CScpiInstrument::SOutcome CEngineScpiInstrument::Exchange(int32_t mode, Values& values,
                                                          const std::shared_ptr<CReply>& given) {
    if (m_abandoned)
        return {CScpiErrorQueue::HardwareError, "serving ended"};
    if (!m_engine.IsConnected())
        return {CScpiErrorQueue::HardwareError, "no sensor connected"};
    // Nothing is queued meanwhile: the worker reopens the link only while it has nothing to do.
    if (m_engine.IsLinkLost())
        return Failed({});
    const std::shared_ptr<CReply> reply = given ? given : std::make_shared<CReply>();
    const CMeterEngine::SRequest request{mode, CMeterCommand::Hundredths(m_settings.frequencyMHz),
                                         kReplyTimeoutMs, m_setup.modelNumber,
                                         CMeterCommand::Hundredths(m_settings.extOffset)};
    m_engine.Run<bool>(
        [&engine = m_engine, request, reply] {
            engine.ExchangeFor(request, *reply);
            return true;
        },
        [reply](bool ran) {
            if (!ran)
                reply->Keep(0, {});
        },
        false);
    const int waitMs = mode == CMeterEngine::ModeCcdf ? kHistogramWaitMs : kReadingWaitMs;
    if (!Await(*reply, waitMs))
        return {CScpiErrorQueue::HardwareError,
                m_abandoned ? "serving ended" : "the sensor did not answer in time"};
    if (reply->State() != ReplyReading)
        return Failed("the sensor gave no reading");
    values = reply->RawValues();
    return {};
}

bool CEngineScpiInstrument::Await(CReply& reply, int timeoutMs) const {
    constexpr int kSliceMs = 50;
    for (int waited = 0; waited < timeoutMs && !m_abandoned; waited += kSliceMs) {
        if (reply.Wait(kSliceMs))
            return true;
    }
    return false;
}

CScpiInstrument::SOutcome CEngineScpiInstrument::Failed(const std::string& fallback) const {
    if (m_engine.IsLinkLost())
        return {CScpiErrorQueue::HardwareError, "the sensor is lost; reconnecting"};
    return {CScpiErrorQueue::HardwareError, CLinkFailureTexts::Reason(m_engine.GetLastFailure(), fallback)};
}

CScpiInstrument::SOutcome CEngineScpiInstrument::Lacks(const std::string& measurement) const {
    const SensorModel* model = CModelTable::FindByNumber(m_setup.modelNumber);
    const std::string name = model ? model->name : "sensor";
    return {CScpiErrorQueue::SettingsConflict, "the " + name + " has no " + measurement + " measurement"};
}

bool CEngineScpiInstrument::Cycles(int32_t mode) const {
    const std::vector<int32_t> cycle = CMeasurementHandler::RequestCycle(m_setup.modelNumber);
    return std::ranges::find(cycle, mode) != cycle.end();
}
