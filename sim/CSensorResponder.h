#pragma once

#include <cstdint>
#include <vector>

#include "sim/CHistogramFormat.h"
#include "sim/CLoggingMemory.h"
#include "sim/CSignalModel.h"

struct SensorCommand;

// What the sensor answers to each command, and the settings the commands leave behind.
class CSensorResponder {
public:
    explicit CSensorResponder(const VirtualSensorConfig& config);

    int ModelNumber() const { return m_modelNumber; }
    int IdentificationCode() const { return m_identificationCode; }
    void SetSignal(const SignalSetting& signal);

    // The reply bytes; empty when the sensor does not answer (unknown command).
    std::vector<uint8_t> Respond(const SensorCommand& command);

private:
    std::vector<uint8_t> Measure(const SensorCommand& command);
    std::vector<uint8_t> Configure(const SensorCommand& command);
    std::vector<uint8_t> ConfigureLogging(const SensorCommand& command);
    void EraseLogIf(bool erase);

    int m_modelNumber;
    int m_identificationCode;
    int32_t m_serialNumber;
    int32_t m_firmwareVersion;
    CHistogramFormat m_histogramFormat;
    CSignalModel m_signal;
    CLoggingMemory m_logging;
    int32_t m_periodCode = 1;
};
