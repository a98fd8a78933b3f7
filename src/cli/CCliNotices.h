#pragma once

#include "appcore/CScreenNotices.h"

#include <iosfwd>

// What a recording without a window tells about its measurement, on the error stream so that
// the output stays a table of readings. The screen controller reports a full record once.
class CCliNotices : public CScreenNotices {
public:
    explicit CCliNotices(std::ostream& err) : m_err(err) {}

    void ShowRecordFull(bool full) override;

private:
    std::ostream& m_err;
};
