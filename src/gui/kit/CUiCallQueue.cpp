#include "gui/kit/CUiCallQueue.h"

#include <QMetaObject>

CUiCallQueue::CUiCallQueue() : m_shared(std::make_shared<Shared>()) {
    m_shared->target = this;
}

CUiCallQueue::~CUiCallQueue() {
    std::deque<std::function<void()>> dropped;
    std::lock_guard lock(m_shared->mutex);
    m_shared->target = nullptr;
    dropped.swap(m_shared->calls);
}

CUiCallQueue::PostFunction CUiCallQueue::Poster() const {
    return [shared = m_shared](std::function<void()> call) { Post(shared, std::move(call)); };
}

void CUiCallQueue::Post(const std::shared_ptr<Shared>& shared, std::function<void()> call) {
    std::lock_guard lock(shared->mutex);
    if (shared->target == nullptr)
        return;
    shared->calls.push_back(std::move(call));
    // Under the lock, so that the queue cannot go meanwhile. By name: a method pointer would
    // make Qt allocate a slot object here and free it on the other thread inside our own code,
    // where the sanitizer cannot see Qt's lock.
    QMetaObject::invokeMethod(shared->target, "RunOne", Qt::QueuedConnection);
}

void CUiCallQueue::RunOne() {
    std::function<void()> call;
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->calls.empty())
            return;
        call = std::move(m_shared->calls.front());
        m_shared->calls.pop_front();
    }
    call();
}
