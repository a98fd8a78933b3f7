#pragma once

#include <atomic>
#include <initializer_list>

// An automatic-reset event: Set wakes one waiter (or the next one to wait) and the
// event resets as that wait returns. All events share one lock, which keeps WaitAny simple;
// the program has only a handful of events. Set wakes only the threads waiting for that event.
//
// Hand-overs in quick succession (a caller asking again as soon as it has its answer) would pay
// a sleep and a wake-up each, so a wait spins briefly before it sleeps when the last wait on one
// of its events ended within that time; a slow pace, such as a screen's 50 requests a second,
// never spins. A Set that finds nobody asleep and a wait that finds its event set take no lock.
// So a wait may return while the Set that ended it is still running: an event must outlive the
// threads that set it (they are joined before it goes), not just the waits on it.
class CAutoResetEvent {
public:
    // The most events one WaitAny can watch.
    static constexpr int kMaxWaitEvents = 8;
    // How long a wait spins before it sleeps (when its events have come that quickly before).
    static constexpr int kSpinMicroseconds = 50;

    void Set();
    // True when the event was signalled within the time-out (milliseconds; negative = infinite).
    bool Wait(int timeoutMs);

    // Waits for the first of several events (at most kMaxWaitEvents); returns its index, or -1
    // on time-out. When several are signalled the lowest index wins and only that one is reset.
    static int WaitAny(std::initializer_list<CAutoResetEvent*> events, int timeoutMs);

private:
    struct Waiter;
    struct Link;

    static int TakeFirstSignalled(std::initializer_list<CAutoResetEvent*> events);
    static bool ShouldSpin(std::initializer_list<CAutoResetEvent*> events, int timeoutMs);
    static int Spin(std::initializer_list<CAutoResetEvent*> events);
    static int Sleep(std::initializer_list<CAutoResetEvent*> events, int timeoutMs);

    std::atomic<bool> m_signalled{false};
    std::atomic<int> m_sleepers{0};         // registered waits; a Set with none takes no lock
    std::atomic<bool> m_cameQuickly{false}; // the last wait that took this event ended within the spin
    Link* m_waiters = nullptr;              // the waits registered on this event, under the shared lock
};
