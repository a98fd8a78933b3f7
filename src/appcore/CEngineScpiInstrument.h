#pragma once

#include "appcore/CReadingValues.h"
#include "appcore/CScpiInstrument.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

class CMeterEngine;
class CSettingProfile;

// The remote control's sensor: every MEASure is an exchange of its own, queued as a job on the
// engine's worker, whose result comes back to this instrument alone. So the screens' request
// cycle and records never see it, and the line is never shared mid-exchange. Values are made
// from the raw replies exactly as a screen records them (CReadingValues). FETCh gives what the
// last MEASure of the quantity found. Every member runs on the serving thread.
class CEngineScpiInstrument : public CScpiInstrument {
public:
    // What serving starts from: the identity and settings of the sensor's profile, taken on the
    // thread that owns the profile. The client's changes stay with the instrument.
    struct SSetup {
        int modelNumber = 0;
        int identificationCode = -1;
        std::string identity; // "model name,serial,firmware"
        CReadingValues::SSettings readings;
        int ccdfRate = 0;
        double lowerLimit = 0.0; // dBm, the profile's limits of the model's main channel
        double upperLimit = 0.0;
    };

    // How long a query waits for its exchange, which may first wait for a screen's.
    static constexpr int kReadingWaitMs = 5000;
    // A histogram may take up to 50 s.
    static constexpr int kHistogramWaitMs = 65000;

    static SSetup SetupOf(const CSettingProfile& profile, int identificationCode);

    CEngineScpiInstrument(CMeterEngine& engine, SSetup setup);

    std::string Identity() override { return m_setup.identity; }
    void Reset() override;
    double FrequencyHz() const override { return m_frequencyHz; }
    SOutcome SetFrequencyHz(double hz) override;
    double OffsetDb() const override { return m_settings.extOffset; }
    SOutcome SetOffsetDb(double db) override;
    std::pair<double, double> DefaultLimits() const override {
        return {m_setup.lowerLimit, m_setup.upperLimit};
    }
    SOutcome Measure(Quantity quantity, bool fresh, double& value) override;
    SOutcome MeasurePulse(bool fresh, SPulse& pulse) override;
    SOutcome MeasureCcdf(bool fresh, SCcdf& ccdf) override;
    void Abandon() override { m_abandoned = true; }

private:
    class CReply;
    using Values = std::array<int32_t, 5>;

    // One exchange of the mode on the worker; `values` (or `reply`) hold its raw result.
    SOutcome Exchange(int32_t mode, Values& values, const std::shared_ptr<CReply>& reply = nullptr);
    SOutcome MeasurePowers(Quantity quantity);
    SOutcome MeasureHistograms(SCcdf& ccdf);
    // Waits for the reply while serving goes on; false when it did not come in time.
    bool Await(CReply& reply, int timeoutMs) const;
    SOutcome Failed(const std::string& fallback) const;
    SOutcome Lacks(const std::string& measurement) const;
    bool Cycles(int32_t mode) const;

    CMeterEngine& m_engine;
    const SSetup m_setup;
    CReadingValues::SSettings m_settings; // with the client's frequency and offset
    double m_frequencyHz = 0.0;
    std::map<Quantity, double> m_latest;
    std::optional<SPulse> m_latestPulse;
    std::optional<SCcdf> m_latestCcdf;
    std::atomic<bool> m_abandoned{false};
};
