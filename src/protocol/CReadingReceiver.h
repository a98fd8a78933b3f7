#pragma once

#include "model/PowerHistogram.h"

#include <cstdint>

// What a screen offers the acquisition engine: one handler per measurement mode. The engine
// calls the sink registered for the mode's kind of screen (CReadingSinks) on its worker
// thread; the user interface's sinks forward the call to the user-interface thread. State is
// the decoded reply kind (1 = a reading), 0 after a failed exchange, and every value is -1
// then. Values are hundredths of a dBm.
class CReadingReceiver {
public:
    virtual ~CReadingReceiver() = default;
    // The readings between these come from one request and may be handed on together.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
    virtual void OnAvgReading(int32_t /*state*/, int32_t /*value*/) {}
    virtual void OnForwardReverseReading(int32_t /*state*/, int32_t /*forward*/, int32_t /*reverse*/) {}
    virtual void OnPeakReading(int32_t /*state*/, int32_t /*value*/) {}
    virtual void OnRevReading(int32_t /*state*/, int32_t /*value*/) {}
    virtual void OnPulseReading(int32_t /*state*/, int32_t /*pulsePower*/, int32_t /*value1*/,
                                int32_t /*value2*/, int32_t /*value3*/, int32_t /*value4*/) {}
    // The histogram is empty after a failed exchange.
    virtual void OnCcdfData(int32_t /*state*/, const PowerHistogram& /*histogram*/) {}
};
