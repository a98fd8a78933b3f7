#include "protocol/CReplyParser.h"
#include "protocol/ReplyKind.h"

#include "CReplyBytes.h"

#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

static int32_t Parse(const Bytes& bytes, CReplyParser::SShortReply& reply) {
    return CReplyParser::ParseShort(bytes.data(), static_cast<uint32_t>(bytes.size()), reply);
}

TEST(ReplyParser, ShortRepliesDecodeByHead) {
    CReplyParser::SShortReply reply;
    ASSERT_EQ(Parse({0x5B, 0x50, 0x2C, 0x2E, 0xFB, 0xFF, 0xFF, 0x5D, 0x0D}, reply), 0);
    EXPECT_EQ(reply.kind, ReplyReading);
    EXPECT_EQ(reply.value, -1234);

    const std::pair<char, int32_t> heads[] = {{'W', ReplyReading},
                                              {'V', ReplyFirmwareVersion},
                                              {'S', ReplySerialNumber},
                                              {'D', ReplyIdentificationCode}};
    for (const auto& [letter, kind] : heads) {
        ASSERT_EQ(Parse(CReplyBytes::Short(letter, -1234), reply), 0) << letter;
        EXPECT_EQ(reply.kind, kind);
        EXPECT_EQ(reply.value, -1234);
    }
    ASSERT_EQ(Parse(CReplyBytes::Acknowledgement(), reply), 0);
    EXPECT_EQ(reply.kind, ReplyAcknowledged);
    EXPECT_EQ(reply.value, 0);
}

TEST(ReplyParser, MalformedShortRepliesAreRejectedAndLeaveTheReplyAlone) {
    Bytes lineFeedAck{'[', 'T', ',', ']', 0x0A};
    Bytes unknownHead = CReplyBytes::Short('X', 5);
    Bytes noCloser = CReplyBytes::Short('P', 5);
    noCloser[7] = ')';
    Bytes shifted = CReplyBytes::Short('P', 5);
    shifted.insert(shifted.begin(), 0x00);
    shifted.pop_back(); // one stray byte in front pushes the carriage return out of the read
    const Bytes noBracket(9, 'a');
    const Bytes cases[] = {lineFeedAck, unknownHead, noCloser, shifted, noBracket, Bytes{'['}, Bytes{}};

    for (const Bytes& bytes : cases) {
        CReplyParser::SShortReply reply{7, 7};
        EXPECT_EQ(Parse(bytes, reply), -2);
        EXPECT_EQ(reply.kind, 7);
        EXPECT_EQ(reply.value, 7);
    }
}

TEST(ReplyParser, LeadingBytesBeforeTheFrameAreDropped) {
    Bytes bytes{'x', 'y'};
    const Bytes ack = CReplyBytes::Acknowledgement();
    bytes.insert(bytes.end(), ack.begin(), ack.end());
    CReplyParser::SShortReply reply;
    EXPECT_EQ(Parse(bytes, reply), 0);
    EXPECT_EQ(reply.kind, ReplyAcknowledged);
}

TEST(ReplyParser, MultiValueRepliesAreCheckedAtTheirEnds) {
    EXPECT_EQ(CReplyParser::MultiValueLength(2), 14u);
    EXPECT_EQ(CReplyParser::MultiValueLength(5), 29u);
    EXPECT_EQ(CReplyParser::MultiValueLength(11), 59u);

    const std::vector<int32_t> expected{-5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    Bytes bytes = CReplyBytes::MultiValue('P', expected);
    int32_t values[11] = {};
    ASSERT_TRUE(CReplyParser::ParseMultiValue(bytes.data(), 59, "[P,", values, 11));
    EXPECT_EQ(std::vector<int32_t>(values, values + 11), expected);

    EXPECT_FALSE(CReplyParser::ParseMultiValue(bytes.data(), 59, "[G,", values, 11));
    EXPECT_FALSE(CReplyParser::ParseMultiValue(bytes.data(), 58, "[P,", values, 11));
    bytes[57] = 'x';
    values[0] = 99;
    EXPECT_FALSE(CReplyParser::ParseMultiValue(bytes.data(), 59, "[P,", values, 11));
    EXPECT_EQ(values[0], 99);
}

// Values sit at fixed offsets from the head: a reply behind stray bytes would be read shifted,
// even when the shifted bytes happen to end in "]" and a carriage return.
TEST(ReplyParser, HeadMustOpenTheReply) {
    const Bytes bytes{'a', 0, '[', 'C', 1};
    EXPECT_FALSE(CReplyParser::StartsWithHead(bytes.data(), 5, "[C"));
    EXPECT_TRUE(CReplyParser::StartsWithHead(bytes.data() + 2, 3, "[C"));
    EXPECT_FALSE(CReplyParser::StartsWithHead(bytes.data() + 2, 1, "[C"));

    Bytes shifted{'x', 'y'};
    const Bytes reply = CReplyBytes::MultiValue('P', {4000, 0x0D5D0000});
    shifted.insert(shifted.end(), reply.begin(), reply.end());
    int32_t values[2] = {};
    EXPECT_FALSE(CReplyParser::ParseMultiValue(shifted.data(), 14, "[P,", values, 2));
}
