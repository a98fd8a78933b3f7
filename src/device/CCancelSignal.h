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

#ifdef _WIN32
    // The manual-reset event that Cancel signals, for WaitForMultipleObjects beside an I/O event.
    void* NativeHandle() const {
        return m_event;
    }
#else
    // Waits until fd reports one of the poll events (or an error/hang-up), the time-out
    // passes (milliseconds, negative = infinite) or the signal is cancelled. A negative fd
    // waits for the time-out or the cancel only. The reported poll events go to *revents.
    Outcome WaitFor(int fd, short events, int timeoutMs, short* revents = nullptr) const;
#endif
    // Sleeps unless cancelled; false when the sleep was cut short by Cancel.
    bool Sleep(int milliseconds) const;

private:
#ifdef _WIN32
    void* m_event = nullptr;
#else
    int m_eventFd = -1;
#endif
    std::atomic<bool> m_cancelled{false};
};
