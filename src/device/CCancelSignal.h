#pragma once

#include <atomic>

// A sticky cancellation flag that blocking waits poll alongside their descriptor, so that
// another thread can end a wait at once. Once cancelled it stays so until Reset.
class CCancelSignal {
public:
    enum class Outcome { Ready, TimedOut, Cancelled, Failed };

    CCancelSignal();
    ~CCancelSignal();
    CCancelSignal(const CCancelSignal&) = delete;
    CCancelSignal& operator=(const CCancelSignal&) = delete;

    // Safe to call from any thread.
    void Cancel();
    void Reset();
    bool IsCancelled() const;

    // Waits until fd reports one of the poll events (or an error/hang-up), the time-out
    // passes (milliseconds, negative = infinite) or the signal is cancelled. A negative fd
    // waits for the time-out or the cancel only. The reported poll events go to *revents.
    Outcome WaitFor(int fd, short events, int timeoutMs, short* revents = nullptr) const;
    // Sleeps unless cancelled; false when the sleep was cut short by Cancel.
    bool Sleep(int milliseconds) const;

private:
    int m_eventFd = -1;
    std::atomic<bool> m_cancelled{false};
};
