#pragma once

#include "appcore/CScpiInstrument.h"

#include <string>

// A sensor of fixed readings with the range 10 MHz .. 6 GHz and no reverse channel.
class CFixedScpiInstrument : public CScpiInstrument {
public:
    std::string Identity() override { return "Model 1,1234,1.05"; }
    void Reset() override { frequency = 1e9; }
    double FrequencyHz() const override { return frequency; }
    SOutcome SetFrequencyHz(double hz) override {
        if (hz < 10e6 || hz > 6e9)
            return {-222, {}};
        frequency = hz;
        return {};
    }
    double OffsetDb() const override { return offset; }
    SOutcome SetOffsetDb(double db) override {
        offset = db;
        return {};
    }
    std::pair<double, double> DefaultLimits() const override { return {-10.0, 20.0}; }
    SOutcome Measure(Quantity quantity, bool fresh, double& value) override {
        if (quantity == Quantity::Reverse)
            return {-221, {}};
        if (!responding)
            return {-240, "sensor not responding"};
        exchanges += fresh ? 1 : 0;
        value = reading;
        return {};
    }
    SOutcome MeasurePulse(bool, SPulse& pulse) override {
        pulse = {12.5, 25.0, 577.0};
        return {};
    }
    SOutcome MeasureCcdf(bool, SCcdf& ccdf) override {
        ccdf = {3.0, 11.5, 8.5, 90000, {{0.0, 50.0}, {8.5, 0.01}}};
        return {};
    }

    double frequency = 1e9;
    double offset = 0.0;
    double reading = 12.345;
    bool responding = true;
    int exchanges = 0;
};
