#pragma once

#include <optional>
#include <string_view>

// Numeric parameters of SCPI commands: a decimal number with an optional exponent, followed
// by an optional unit suffix of the kind the command expects.
class CScpiNumber {
public:
    enum class Unit { Hertz, Decibel, DecibelMilliwatt, None };

    enum class Status { Valid, NotANumber, WrongSuffix };

    struct SResult {
        Status status = Status::NotANumber;
        double value = 0.0; // in the unit's base (Hz, dB, dBm)
    };

    static SResult Parse(std::string_view text, Unit unit);

private:
    static std::optional<double> SuffixFactor(std::string_view suffix, Unit unit);
};
