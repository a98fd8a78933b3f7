#pragma once

#include <cstdint>

// Validation and decoding of the sensor's fixed-length replies. Every function reads only
// the byte count it is given.
class CReplyParser {
public:
    static constexpr uint32_t kShortLength = 9;
    static constexpr uint32_t kAcknowledgementLength = 5;

    struct SShortReply {
        int32_t kind = 0;
        int32_t value = 0;
    };

    // A short reply or an acknowledgement: leading bytes before the first "[" are dropped,
    // then the head decides the kind. Returns 0 for a valid reply, -2 otherwise.
    static int32_t ParseShort(const uint8_t* bytes, uint32_t count, SShortReply& reply);

    // Length of a multi-value reply carrying valueCount values.
    static constexpr uint32_t MultiValueLength(uint32_t valueCount) { return 3 + 5 * valueCount - 1 + 2; }
    // A multi-value reply of exactly MultiValueLength(valueCount) bytes with the given
    // three-byte head ("[P," or "[G,"). Returns false when invalid (values untouched).
    static bool ParseMultiValue(const uint8_t* bytes, uint32_t count, const char* head, int32_t* values,
                                uint32_t valueCount);

    // Whether the bytes open with the head: what follows is read at fixed offsets from it.
    static bool StartsWithHead(const uint8_t* bytes, uint32_t count, const char* head);
};
