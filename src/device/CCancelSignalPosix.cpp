#include "device/CCancelSignal.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}
} // namespace

CCancelSignal::CCancelSignal() : m_eventFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CCancelSignal::~CCancelSignal() {
    if (m_eventFd >= 0)
        close(m_eventFd);
}

void CCancelSignal::Cancel() {
    m_cancelled = true;
    const uint64_t one = 1;
    if (m_eventFd >= 0)
        (void)!write(m_eventFd, &one, sizeof one);
}

void CCancelSignal::Reset() {
    uint64_t count = 0;
    if (m_eventFd >= 0)
        (void)!read(m_eventFd, &count, sizeof count);
    m_cancelled = false;
}

bool CCancelSignal::IsCancelled() const {
    return m_cancelled;
}

CCancelSignal::Outcome CCancelSignal::WaitFor(int fd, short events, int timeoutMs, short* revents) const {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    pollfd fds[2] = {{fd, events, 0}, {m_eventFd, POLLIN, 0}};
    for (;;) {
        if (m_cancelled)
            return Outcome::Cancelled;
        const int wait = timeoutMs < 0 ? -1 : RemainingMs(deadline);
        const int ready = poll(fds, 2, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return Outcome::Failed;
        if (m_cancelled || fds[1].revents != 0)
            return Outcome::Cancelled;
        if (ready == 0)
            return Outcome::TimedOut;
        if (revents)
            *revents = fds[0].revents;
        return Outcome::Ready;
    }
}

bool CCancelSignal::Sleep(int milliseconds) const {
    if (milliseconds <= 0)
        return !IsCancelled(); // no pause: no call into the system
    return WaitFor(-1, 0, milliseconds) == Outcome::TimedOut;
}
