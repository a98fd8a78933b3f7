#pragma once

#include <atomic>

// The answer to one measurement request, shared by whoever asked and the engine's worker: the
// worker marks it answered as it hands the result over, the asker drops it when it wants no
// result any more. A late result of a dropped ticket is never handed over, and no two askers
// share one, so a closed or replaced screen cannot take another's reading.
class CRequestTicket {
public:
    // Worker: the result is about to be handed over; false when the ticket was dropped.
    bool Answer();
    // No result is taken for it any more. True when it had already been answered, so that its
    // result is still on its way to the asker.
    bool Drop();
    bool IsAnswered() const { return m_state.load() == State::Answered; }
    bool IsDropped() const { return m_state.load() == State::Dropped; }

private:
    enum class State { Waiting, Answered, Dropped };

    std::atomic<State> m_state{State::Waiting};
};
