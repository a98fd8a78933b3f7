#pragma once

#include <array>
#include <chrono>
#include <optional>

// Pairs the readings of two sensors by time: the latest reading of each, taken only while it is
// no older than one cycle, so that a difference is never made with an old value of a sensor
// that stopped answering.
class CRelativePairing {
public:
    using Clock = std::chrono::steady_clock;
    enum Side { SideA = 0, SideB = 1 };
    struct SPair {
        float a = 0.0f; // dBm
        float b = 0.0f; // dBm
    };

    explicit CRelativePairing(Clock::duration maxAge) : m_maxAge(maxAge) {}

    void SetMaxAge(Clock::duration maxAge) { m_maxAge = maxAge; }
    Clock::duration MaxAge() const { return m_maxAge; }
    // A reading of one side; none after a failed exchange, which leaves that side without a
    // value until its next reading.
    void Note(Side side, std::optional<float> dbm, Clock::time_point at);
    void Clear();
    // The side's latest reading while it is fresh at `now`.
    std::optional<float> Fresh(Side side, Clock::time_point now) const;
    // Both sides fresh at `now`; none when either is missing or stale.
    std::optional<SPair> Pair(Clock::time_point now) const;

private:
    struct SLatest {
        std::optional<float> dbm;
        Clock::time_point at;
    };

    Clock::duration m_maxAge;
    std::array<SLatest, 2> m_latest;
};
