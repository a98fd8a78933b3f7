#include "platform/CAutoResetEvent.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {
std::mutex s_mutex;
} // namespace

struct CAutoResetEvent::Waiter {
    std::condition_variable woken;
};

// One wait's entry in one event's list of waits; lives on the waiting thread's stack.
struct CAutoResetEvent::Link {
    Waiter* waiter = nullptr;
    Link* next = nullptr;
};

void CAutoResetEvent::Set() {
    std::lock_guard lock(s_mutex);
    m_signalled = true;
    for (Link* link = m_waiters; link != nullptr; link = link->next)
        link->waiter->woken.notify_one();
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
            if (++index == kMaxWaitEvents)
                break;
        }
        return false;
    };
    Waiter waiter;
    std::array<Link, kMaxWaitEvents> links{};
    std::unique_lock lock(s_mutex);
    if (takeFirstSignalled())
        return taken;
    std::size_t registered = 0;
    for (auto* event : events) {
        if (registered == links.size())
            break;
        links[registered] = {&waiter, event->m_waiters};
        event->m_waiters = &links[registered++];
    }
    if (timeoutMs < 0)
        waiter.woken.wait(lock, takeFirstSignalled);
    else
        waiter.woken.wait_for(lock, std::chrono::milliseconds(timeoutMs), takeFirstSignalled);
    std::size_t index = 0;
    for (auto* event : events) {
        if (index == registered)
            break;
        Link** slot = &event->m_waiters;
        while (*slot != &links[index])
            slot = &(*slot)->next;
        *slot = links[index].next;
        ++index;
    }
    return taken;
}
