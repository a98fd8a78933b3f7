#pragma once

#include <array>
#include <cstdint>

// The bytes of every command the sensor understands, and the encodings of their arguments.
class CMeterCommand {
public:
    static constexpr uint32_t kParameterLength = 8;
    static constexpr uint32_t kPlainLength = 4;
    static constexpr uint32_t kStatusLength = 5;

    // "[" mnemonic, 32-bit little-endian argument, "]".
    static std::array<uint8_t, kParameterLength> Parameter(const char mnemonic[3], int32_t argument);
    // "[" mnemonic "]".
    static std::array<uint8_t, kPlainLength> Plain(const char mnemonic[3]);
    // The logging status request "[AS]" plus a backslash.
    static std::array<uint8_t, kStatusLength> StatusRequest();

    // A setting in MHz or dB in the hundredths the sensor takes (CPowerMath::Hundredths).
    static int32_t Hundredths(double value);
    // Sensor code of the profile's technology index.
    static int32_t TechnologyCode(int32_t technologyIndex);
    // Sensor code of a pulse period index: 1, 2, 4, 8 for 0..3, 16 otherwise.
    static int32_t PeriodCode(int32_t periodIndex);
    // Pulse reference in hundredths of a dB: magnitude clamped to 400..1000, 600 for automatic (0).
    static int32_t ReferenceArgument(int32_t reference);
};
