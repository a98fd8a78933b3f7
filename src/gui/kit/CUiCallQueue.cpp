#include "gui/kit/CUiCallQueue.h"

#include <QMetaObject>

CUiCallQueue& CUiCallQueue::Instance() {
    // Never destroyed: calls still queued at exit may hold objects that are gone by then.
    static CUiCallQueue* const queue = new CUiCallQueue;
    return *queue;
}

void CUiCallQueue::Post(std::function<void()> call) {
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    // By name: a method pointer would make Qt allocate a slot object here and free it on the
    // other thread inside our own code, where the sanitizer cannot see Qt's lock.
    QMetaObject::invokeMethod(this, "RunQueued", Qt::QueuedConnection);
}

void CUiCallQueue::RunQueued() {
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(m_mutex);
            if (m_calls.empty())
                return;
            call = std::move(m_calls.front());
            m_calls.pop_front();
        }
        call();
    }
}
