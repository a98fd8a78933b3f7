#include "platform/CAutoResetEvent.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {
std::mutex s_mutex;
std::condition_variable s_changed;
} // namespace

void CAutoResetEvent::Set() {
    {
        std::lock_guard lock(s_mutex);
        m_signalled = true;
    }
    s_changed.notify_all();
}

bool CAutoResetEvent::Wait(int timeoutMs) {
    return WaitAny({this}, timeoutMs) == 0;
}

int CAutoResetEvent::WaitAny(std::initializer_list<CAutoResetEvent*> events, int timeoutMs) {
    int taken = -1;
    auto takeFirstSignalled = [&] {
        int index = 0;
        for (auto* event : events) {
            if (event->m_signalled) {
                event->m_signalled = false;
                taken = index;
                return true;
            }
            ++index;
        }
        return false;
    };
    std::unique_lock lock(s_mutex);
    if (timeoutMs < 0)
        s_changed.wait(lock, takeFirstSignalled);
    else
        s_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), takeFirstSignalled);
    return taken;
}
