#pragma once

#include <cstdint>

// State of the last decoded reply; screens act on a result only when it is a reading.
enum ReplyKind : int32_t {
    ReplyNone = 0,
    ReplyReading = 1,
    ReplySerialNumber = 2,
    ReplyFirmwareVersion = 3,
    ReplyIdentificationCode = 4,
    ReplyAcknowledged = 5,
};
