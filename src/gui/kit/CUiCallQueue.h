#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// Hands calls from any thread to the user-interface thread. The calls wait in a queue of its
// own under a lock the thread sanitizer sees; Qt's event queue only carries a wake-up without
// data, because its lock sits in an uninstrumented library and a functor passed through it
// would be reported as a race. One wake-up runs one call, so that calls of all queues run in
// the order they were posted, also in a nested event loop that a call opens.
// Each owner has a queue of its own: calls waiting when it is destroyed, or posted afterwards,
// are dropped, so that none reaches an owner that is gone.
class CUiCallQueue : public QObject {
    Q_OBJECT

public:
    using PostFunction = std::function<void(std::function<void()>)>;

    // On the user-interface thread, where the calls then run.
    CUiCallQueue();
    ~CUiCallQueue() override;

    // Posts a call (from any thread); the function stays safe to call after the queue is gone.
    PostFunction Poster() const;
    void Post(std::function<void()> call) const { Post(m_shared, std::move(call)); }

private:
    struct Shared {
        std::mutex mutex;
        std::deque<std::function<void()>> calls;
        QObject* target = nullptr; // cleared under the lock when the queue goes
    };

    static void Post(const std::shared_ptr<Shared>& shared, std::function<void()> call);
    Q_INVOKABLE void RunOne();

    std::shared_ptr<Shared> m_shared;
};
