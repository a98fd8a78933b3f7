#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What the remote control asks of a sensor. The SCPI session parses and answers; an
// implementation of this interface does the sensor's part.
class CScpiInstrument {
public:
    enum class Quantity { Average, Peak, Reverse, Vswr };

    // error: 0, or an SCPI error code (-221 a quantity the model lacks, -222 out of range,
    // -240 the sensor failed) with the reason that follows the error's text.
    struct SOutcome {
        int32_t error = 0;
        std::string reason;
    };

    struct SPulse {
        double powerDbm = 0.0;
        double dutyPercent = 0.0;
        double widthUs = 0.0;
    };

    struct SCcdf {
        double averageDbm = 0.0;
        double peakDbm = 0.0;
        double crestDb = 0.0;
        uint64_t samples = 0;
        std::vector<std::pair<double, double>> curve; // (dB above average, probability in %)
    };

    virtual ~CScpiInstrument() = default;

    // "model name,serial,firmware x.yy".
    virtual std::string Identity() = 0;
    // Settings back to what they were when serving began.
    virtual void Reset() = 0;
    virtual double FrequencyHz() const = 0;
    virtual SOutcome SetFrequencyHz(double hz) = 0;
    virtual double OffsetDb() const = 0;
    virtual SOutcome SetOffsetDb(double db) = 0;
    // (lower, upper) in dBm that apply until the client sets its own.
    virtual std::pair<double, double> DefaultLimits() const = 0;
    // fresh: a new exchange with the sensor; otherwise the latest reading.
    virtual SOutcome Measure(Quantity quantity, bool fresh, double& value) = 0;
    virtual SOutcome MeasurePulse(bool fresh, SPulse& pulse) = 0;
    virtual SOutcome MeasureCcdf(bool fresh, SCcdf& ccdf) = 0;
    // Serving ends: a query waiting for the sensor gives up at once (-240), as do later ones.
    // Any thread may call it.
    virtual void Abandon() {}
};
