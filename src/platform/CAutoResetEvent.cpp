#include "platform/CAutoResetEvent.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kSpinTime = std::chrono::microseconds(CAutoResetEvent::kSpinMicroseconds);

std::mutex s_mutex;
} // namespace

struct CAutoResetEvent::Waiter {
    std::condition_variable woken;
    // Sets that picked this waiter and have yet to notify it; it outlives them.
    std::atomic<int> notifying{0};
};

// One wait's entry in one event's list of waits; lives on the waiting thread's stack.
struct CAutoResetEvent::Link {
    Waiter* waiter = nullptr;
    Link* next = nullptr;
};

// The flag is set before the sleepers are counted, and a sleeper registers before it looks at
// the flag (both sequentially consistent): either this Set sees the sleeper or the sleeper sees
// the flag. The sleepers are notified after the lock is let go, so that they do not wake up only
// to wait for it.
void CAutoResetEvent::Set() {
    m_signalled.store(true);
    if (m_sleepers.load() == 0)
        return;
    std::array<Waiter*, kMaxWaitEvents> picked{};
    std::size_t count = 0;
    {
        std::lock_guard lock(s_mutex);
        for (Link* link = m_waiters; link != nullptr; link = link->next) {
            if (count == picked.size()) {
                link->waiter->woken.notify_one();
                continue;
            }
            link->waiter->notifying.fetch_add(1);
            picked[count++] = link->waiter;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        picked[i]->woken.notify_one();
        picked[i]->notifying.fetch_sub(1);
    }
}

bool CAutoResetEvent::Wait(int timeoutMs) {
    return WaitAny({this}, timeoutMs) == 0;
}

int CAutoResetEvent::WaitAny(std::initializer_list<CAutoResetEvent*> events, int timeoutMs) {
    if (const int taken = TakeFirstSignalled(events); taken >= 0 || timeoutMs == 0)
        return taken;
    const auto start = Clock::now();
    int taken = ShouldSpin(events, timeoutMs) ? Spin(events) : -1;
    if (taken < 0)
        taken = Sleep(events, timeoutMs);
    if (taken >= 0)
        events.begin()[taken]->m_cameQuickly.store(Clock::now() - start < kSpinTime);
    return taken;
}

int CAutoResetEvent::TakeFirstSignalled(std::initializer_list<CAutoResetEvent*> events) {
    int index = 0;
    for (auto* event : events) {
        if (index == kMaxWaitEvents)
            break;
        if (event->m_signalled.load() && event->m_signalled.exchange(false))
            return index;
        ++index;
    }
    return -1;
}

// A wait shorter than the spin would end sooner by sleeping.
bool CAutoResetEvent::ShouldSpin(std::initializer_list<CAutoResetEvent*> events, int timeoutMs) {
    if (timeoutMs >= 0 && std::chrono::milliseconds(timeoutMs) < kSpinTime)
        return false;
    for (auto* event : events) {
        if (event->m_cameQuickly.load())
            return true;
    }
    return false;
}

// Yields between looks, so that on a busy core the thread that is to set the event gets to run.
int CAutoResetEvent::Spin(std::initializer_list<CAutoResetEvent*> events) {
    const auto end = Clock::now() + kSpinTime;
    do {
        std::this_thread::yield();
        if (const int taken = TakeFirstSignalled(events); taken >= 0)
            return taken;
    } while (Clock::now() < end);
    return -1;
}

int CAutoResetEvent::Sleep(std::initializer_list<CAutoResetEvent*> events, int timeoutMs) {
    int taken = -1;
    const auto takeFirstSignalled = [&] {
        taken = TakeFirstSignalled(events);
        return taken >= 0;
    };
    Waiter waiter;
    std::array<Link, kMaxWaitEvents> links{};
    std::unique_lock lock(s_mutex);
    std::size_t registered = 0;
    for (auto* event : events) {
        if (registered == links.size())
            break;
        links[registered] = {&waiter, event->m_waiters};
        event->m_waiters = &links[registered++];
        event->m_sleepers.fetch_add(1);
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
        event->m_sleepers.fetch_sub(1);
        ++index;
    }
    lock.unlock();
    while (waiter.notifying.load() != 0)
        std::this_thread::yield();
    return taken;
}
