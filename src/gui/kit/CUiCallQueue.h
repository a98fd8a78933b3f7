#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

// Hands calls from any thread to the user-interface thread, in the order they were posted.
// The calls wait in a queue of its own under a lock the thread sanitizer sees; Qt's event
// queue only carries a wake-up without data, because its lock sits in an uninstrumented
// library and a functor passed through it would be reported as a race.
class CUiCallQueue : public QObject {
    Q_OBJECT

public:
    // The one queue. It must first be taken on the user-interface thread, where it then lives:
    // the posters and receivers that use it take it when they are made.
    static CUiCallQueue& Instance();

    // From any thread; the call runs on the user-interface thread's event loop.
    void Post(std::function<void()> call);

private:
    CUiCallQueue() = default;

    // Runs every call queued so far, one at a time, so that a call that opens a nested event
    // loop leaves the rest to that loop in order.
    Q_INVOKABLE void RunQueued();

    std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
};
