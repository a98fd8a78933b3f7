#pragma once

#include "gui/kit/CUiCallQueue.h"
#include "protocol/CReadingReceiver.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

// What the engine's worker thread calls in place of a screen: every reading is posted to the
// user-interface thread and handed to the screen's own handler there, a batch's readings in one
// call. Calls still queued when the context object is destroyed are dropped, so a closed screen
// never receives a reading.
class CQueuedReceiver : public CReadingReceiver {
public:
    // Hands the readings of one call to the handler (the function given) and may do more
    // around them, on the user-interface thread.
    using Around = std::function<void(const std::function<void()>& handle)>;

    // On the user-interface thread. The handler must live as long as the context object
    // (usually the screen itself); so must `around`, when given.
    CQueuedReceiver(QObject* context, CReadingReceiver& handler, Around around = {});

    void BeginBatch() override;
    void EndBatch() override;
    void OnAvgReading(int32_t state, int32_t value) override;
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override;
    void OnPeakReading(int32_t state, int32_t value) override;
    void OnRevReading(int32_t state, int32_t value) override;
    void OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2, int32_t value3,
                        int32_t value4) override;
    void OnCcdfData(int32_t state, const PowerHistogram& histogram) override;

private:
    using Call = std::function<void(CReadingReceiver&)>;

    void Post(Call call);
    void PostNow(std::vector<Call> calls);

    // Made on the user-interface thread; the worker only copies it.
    QPointer<QObject> m_context;
    CReadingReceiver& m_handler;
    Around m_around;
    CUiCallQueue m_queue;
    // The batch being collected; the worker's alone.
    bool m_batching = false;
    std::vector<Call> m_batch;
};
