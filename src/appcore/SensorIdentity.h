#pragma once

#include <cstdint>

// Which sensor answered: its identification code and serial number (-1 where not known).
struct SensorIdentity {
    int32_t code = -1;
    int32_t serial = -1;

    bool operator==(const SensorIdentity&) const = default;
};
