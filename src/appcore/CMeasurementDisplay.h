#pragma once

// Where the measurement logic shows its results. The defaults show nothing, which is what a
// recording without a window needs.
class CMeasurementDisplay {
public:
    virtual ~CMeasurementDisplay() = default;
    // The limit check's verdict for the readouts that show this quantity.
    virtual void ShowAlarm(int /*quantity*/, bool /*alarm*/) {}
    // A new value was taken: readouts and graph show it.
    virtual void ShowNewValue() {}
    // The records were reset: everything redraws.
    virtual void RedrawAll() {}
};
