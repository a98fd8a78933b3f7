#include "protocol/CLineLock.h"

void CLineLock::unlock() {
    {
        std::lock_guard lock(m_mutex);
        m_held = false;
    }
    m_released.notify_one();
}
