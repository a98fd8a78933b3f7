#include "protocol/CReplyParser.h"

#include "platform/CLittleEndian.h"
#include "protocol/ReplyKind.h"

#include <algorithm>
#include <cstring>

static constexpr uint8_t kCarriageReturn = 0x0D;

static int32_t KindOfValueHead(const uint8_t* bytes, uint32_t remaining) {
    if (CReplyParser::StartsWithHead(bytes, remaining, "[P,") ||
        CReplyParser::StartsWithHead(bytes, remaining, "[W,"))
        return ReplyReading;
    if (CReplyParser::StartsWithHead(bytes, remaining, "[V,"))
        return ReplyFirmwareVersion;
    if (CReplyParser::StartsWithHead(bytes, remaining, "[S,"))
        return ReplySerialNumber;
    if (CReplyParser::StartsWithHead(bytes, remaining, "[D,"))
        return ReplyIdentificationCode;
    return ReplyNone;
}

int32_t CReplyParser::ParseShort(const uint8_t* bytes, uint32_t count, SShortReply& reply) {
    const uint8_t* end = bytes + count;
    const uint8_t* frame = std::find(bytes, end, '[');
    const auto remaining = static_cast<uint32_t>(end - frame);
    if (remaining == 0)
        return -2;

    if (CReplyParser::StartsWithHead(frame, remaining, "[T,") && remaining > 4) {
        if (frame[3] != ']' || frame[4] != kCarriageReturn)
            return -2;
        reply = {ReplyAcknowledged, 0};
        return 0;
    }
    const int32_t kind = KindOfValueHead(frame, remaining);
    if (kind == ReplyNone || remaining <= 8)
        return -2;
    if (frame[7] != ']' || frame[8] != kCarriageReturn)
        return -2;
    reply = {kind, CLittleEndian::ReadInt32(frame + 3)};
    return 0;
}

bool CReplyParser::ParseMultiValue(const uint8_t* bytes, uint32_t count, const char* head, int32_t* values,
                                   uint32_t valueCount) {
    const uint32_t length = MultiValueLength(valueCount);
    if (valueCount == 0 || count != length)
        return false;
    if (!StartsWithHead(bytes, count, head))
        return false;
    if (bytes[length - 2] != ']' || bytes[length - 1] != kCarriageReturn)
        return false;
    for (uint32_t i = 0; i < valueCount; ++i)
        values[i] = CLittleEndian::ReadInt32(bytes + 3 + 5 * i);
    return true;
}

bool CReplyParser::StartsWithHead(const uint8_t* bytes, uint32_t count, const char* head) {
    const size_t headLength = std::strlen(head);
    return count >= headLength && std::memcmp(bytes, head, headLength) == 0;
}
