#include "protocol/CRequestTicket.h"

bool CRequestTicket::Answer() {
    State expected = State::Waiting;
    return m_state.compare_exchange_strong(expected, State::Answered);
}

bool CRequestTicket::Drop() {
    return m_state.exchange(State::Dropped) == State::Answered;
}
