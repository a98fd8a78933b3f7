#pragma once

#include <initializer_list>

// An automatic-reset event: Set wakes one waiter (or the next one to wait) and the
// event resets as that wait returns. All events share one lock, which keeps WaitAny simple;
// the program has only a handful of events. Set wakes only the threads waiting for that event.
class CAutoResetEvent {
public:
    // The most events one WaitAny can watch.
    static constexpr int kMaxWaitEvents = 8;

    void Set();
    // True when the event was signalled within the time-out (milliseconds; negative = infinite).
    bool Wait(int timeoutMs);

    // Waits for the first of several events (at most kMaxWaitEvents); returns its index, or -1
    // on time-out. When several are signalled the lowest index wins and only that one is reset.
    static int WaitAny(std::initializer_list<CAutoResetEvent*> events, int timeoutMs);

private:
    struct Waiter;
    struct Link;

    bool m_signalled = false;
    Link* m_waiters = nullptr; // the waits registered on this event, under the shared lock
};
