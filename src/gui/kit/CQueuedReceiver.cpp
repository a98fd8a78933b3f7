#include "gui/kit/CQueuedReceiver.h"

#include <QObject>

#include <utility>

CQueuedReceiver::CQueuedReceiver(QObject* context, CReadingReceiver& handler, Around around)
    : m_context(context), m_handler(handler), m_around(std::move(around)) {}

void CQueuedReceiver::BeginBatch() {
    m_batching = true;
}

void CQueuedReceiver::EndBatch() {
    m_batching = false;
    PostNow(std::exchange(m_batch, {}));
}

void CQueuedReceiver::Post(Call call) {
    if (m_batching)
        m_batch.push_back(std::move(call));
    else
        PostNow({std::move(call)});
}

void CQueuedReceiver::PostNow(std::vector<Call> calls) {
    if (calls.empty())
        return;
    m_queue.Post([context = m_context, handler = &m_handler, around = &m_around, calls = std::move(calls)] {
        const auto handleAll = [&] {
            // A handler may close the screen (a message box runs the event loop).
            for (const Call& call : calls)
                if (context)
                    call(*handler);
        };
        if (!context)
            return;
        if (*around)
            (*around)(handleAll);
        else
            handleAll();
    });
}

void CQueuedReceiver::OnAvgReading(int32_t state, int32_t value) {
    Post([=](CReadingReceiver& handler) { handler.OnAvgReading(state, value); });
}

void CQueuedReceiver::OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) {
    Post([=](CReadingReceiver& handler) { handler.OnForwardReverseReading(state, forward, reverse); });
}

void CQueuedReceiver::OnPeakReading(int32_t state, int32_t value) {
    Post([=](CReadingReceiver& handler) { handler.OnPeakReading(state, value); });
}

void CQueuedReceiver::OnRevReading(int32_t state, int32_t value) {
    Post([=](CReadingReceiver& handler) { handler.OnRevReading(state, value); });
}

void CQueuedReceiver::OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2,
                                     int32_t value3, int32_t value4) {
    Post([=](CReadingReceiver& handler) {
        handler.OnPulseReading(state, pulsePower, value1, value2, value3, value4);
    });
}

void CQueuedReceiver::OnCcdfData(int32_t state, const PowerHistogram& histogram) {
    // The copy travels with the call: the worker's result is gone by the time it runs.
    Post([state, histogram](CReadingReceiver& handler) { handler.OnCcdfData(state, histogram); });
}
