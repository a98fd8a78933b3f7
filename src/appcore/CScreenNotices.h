#pragma once

#include <string>

// Where a screen reports, in the status bar, what the user should know about its measurement.
// The defaults report nothing, which is what a recording without a window needs.
class CScreenNotices {
public:
    virtual ~CScreenNotices() = default;
    // A warning about the signal, such as more reverse than forward power; empty clears it.
    virtual void ShowWarning(const std::string& /*text*/) {}
    // Several exchanges in a row failed; false once readings arrive again.
    virtual void ShowStalled(bool /*stalled*/) {}
    // The sensor stopped answering and the link is being reopened; false once it answers again.
    virtual void ShowNotResponding(bool /*lost*/) {}
    // Meanwhile another sensor answers on the port, which the measurement does not take.
    virtual void ShowOtherSensor(bool /*other*/) {}
    // The sensor refused the set-up sent at Start; false when the next Start begins.
    virtual void ShowSetupRefused(bool /*refused*/) {}
    // A channel of the record is full and records no more; false once the record is cleared.
    virtual void ShowRecordFull(bool /*full*/) {}
};
