#include "app/CUiCallQueue.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

CUiCallQueue& CUiCallQueue::Instance() {
    // Never destroyed: calls still queued at exit may hold objects that are gone by then.
    static CUiCallQueue* const queue = [] {
        auto* created = new CUiCallQueue;
        if (const QCoreApplication* app = QCoreApplication::instance())
            created->moveToThread(app->thread());
        return created;
    }();
    return *queue;
}

void CUiCallQueue::Post(std::function<void()> call) {
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
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
