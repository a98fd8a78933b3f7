// Short replies, acknowledgements and multi-value replies of any content and length.
#include "protocol/CReplyParser.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so any read past the reply is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const auto count = static_cast<uint32_t>(bytes.size());
    CReplyParser::SShortReply reply;
    CReplyParser::ParseShort(bytes.data(), count, reply);
    int32_t values[11];
    for (uint32_t valueCount : {2u, 5u, 11u}) {
        CReplyParser::ParseMultiValue(bytes.data(), count, "[P,", values, valueCount);
        CReplyParser::ParseMultiValue(bytes.data(), count, "[G,", values, valueCount);
    }
    return 0;
}
