#pragma once

#include <atomic>

// The answer to one measurement request, shared by whoever asked and the engine's worker: the
// worker marks it answered as it hands the readings over, the asker drops it when it wants no
// result any more. A late result of a dropped ticket is never handed over, and no two askers
// share one, so a closed or replaced screen cannot take another's reading.
//
// A request may ask for several readings run back to back (a screen's request cycle); they are
// handed over together, and fewer than asked when an exchange failed (the failed one last).
class CRequestTicket {
public:
    explicit CRequestTicket(int readings = 1) : m_readings(readings) {}

    // How many readings were asked for.
    int Readings() const { return m_readings; }
    // Worker: `handed` readings are about to be handed over; false when the ticket was dropped.
    bool Answer(int handed);
    // No result is taken for it any more. The number of readings handed over before (0 when
    // none), which are still on their way to the asker unless it took them.
    int Drop();
    bool IsAnswered() const { return m_state.load() >= 0; }
    bool IsDropped() const { return m_state.load() == kDropped; }

private:
    // Waiting or dropped, else the number of readings handed over.
    static constexpr int kWaiting = -1;
    static constexpr int kDropped = -2;

    const int m_readings;
    std::atomic<int> m_state{kWaiting};
};
