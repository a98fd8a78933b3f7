#include "protocol/CRequestTicket.h"

bool CRequestTicket::Answer(int handed) {
    int expected = kWaiting;
    return m_state.compare_exchange_strong(expected, handed);
}

int CRequestTicket::Drop() {
    const int before = m_state.exchange(kDropped);
    return before > 0 ? before : 0;
}
