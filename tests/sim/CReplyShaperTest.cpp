#include <filesystem>

#include <gtest/gtest.h>

#include "CRawHost.h"
#include "sim/CReplyShaper.h"
#include "sim/CVirtualSensor.h"
#include "support/CDeviceSandbox.h"

namespace {
class CReplyShaperTest : public ::testing::Test {
protected:
    CDeviceSandbox m_devices;

    std::unique_ptr<CRawHost> Connect(FaultSetting fault) {
        VirtualSensorConfig config;
        config.fault = fault;
        m_sensor = std::make_unique<CVirtualSensor>(config);
        m_com = m_sensor->StartSerial();
        EXPECT_GT(m_com, 0) << m_sensor->LastError();
        return std::make_unique<CRawHost>(CRawHost::Kind::Serial, m_devices.PortLink(m_com));
    }

    // Waits until the sensor has dealt with the command, so a missing reply is really missing.
    std::vector<uint8_t> AskAndCollect(CRawHost& host, size_t expected) {
        const uint64_t before = m_sensor->CommandsReceived();
        host.Send(CRawHost::Plain("GD"));
        EXPECT_TRUE(m_sensor->WaitForCommands(before + 1, 2000));
        return host.Receive(expected, 50);
    }

    const std::vector<uint8_t> kIdentity = {'[', 'D', ',', 10, 0, 0, 0, ']', 0x0D};
    std::unique_ptr<CVirtualSensor> m_sensor;
    int m_com = -1;
};
} // namespace

TEST_F(CReplyShaperTest, SilenceAnswersTheGivenNumberOfCommands) {
    auto host = Connect({SensorFault::Silence, 1});
    EXPECT_EQ(AskAndCollect(*host, 9), kIdentity);
    EXPECT_TRUE(AskAndCollect(*host, 9).empty());
    EXPECT_EQ(m_sensor->RepliesSent(), 1u);

    m_sensor->SetFault({});
    EXPECT_EQ(AskAndCollect(*host, 9), kIdentity);
}

TEST_F(CReplyShaperTest, GarbagePrecedesTheFrame) {
    auto host = Connect({SensorFault::Garbage, 4});
    const auto reply = AskAndCollect(*host, 13);
    ASSERT_EQ(reply.size(), 13u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NE(reply[i], '[');
    EXPECT_EQ(std::vector<uint8_t>(reply.begin() + 4, reply.end()), kIdentity);
}

TEST_F(CReplyShaperTest, CorruptionAndWrongHeadChangeOneByte) {
    auto host = Connect({SensorFault::CorruptByte, -1});
    auto expected = kIdentity;
    expected[7] = static_cast<uint8_t>(~']');
    EXPECT_EQ(AskAndCollect(*host, 9), expected);

    m_sensor->SetFault({SensorFault::CorruptByte, 1});
    expected = kIdentity;
    expected[1] = static_cast<uint8_t>(~'D');
    EXPECT_EQ(AskAndCollect(*host, 9), expected);

    m_sensor->SetFault({SensorFault::WrongHead, -1, 1});
    EXPECT_EQ(AskAndCollect(*host, 9), kIdentity) << "the first reply goes out unharmed";
    expected = kIdentity;
    expected[1] = 'X';
    EXPECT_EQ(AskAndCollect(*host, 9), expected);
}

TEST_F(CReplyShaperTest, SplitReplyArrivesWhole) {
    auto host = Connect({SensorFault::Split, 2});
    EXPECT_EQ(AskAndCollect(*host, 9), kIdentity);
}

TEST_F(CReplyShaperTest, SplitCutsIntoThreePieces) {
    CReplyShaper shaper(1);
    shaper.SetFault({SensorFault::Split, 7});
    const std::vector<uint8_t> reply = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const ReplyPlan plan = shaper.Shape(reply);
    ASSERT_EQ(plan.pieces.size(), 3u);
    EXPECT_EQ(plan.gap, std::chrono::milliseconds(7));
    std::vector<uint8_t> joined;
    for (const auto& piece : plan.pieces) {
        EXPECT_FALSE(piece.empty());
        joined.insert(joined.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(joined, reply);
    EXPECT_EQ(shaper.Shape({0x5B}).pieces.size(), 1u) << "a one-byte reply cannot be split";
}

TEST_F(CReplyShaperTest, DisconnectHangsUpAfterTheGivenReplies) {
    auto host = Connect({SensorFault::Disconnect, 2});
    EXPECT_EQ(AskAndCollect(*host, 9), kIdentity);
    EXPECT_TRUE(m_sensor->IsLinkUp());
    // The last reply is read while the sensor waits for it to be taken before hanging up.
    EXPECT_EQ(host->Exchange(CRawHost::Plain("GD"), 9), kIdentity);
    EXPECT_TRUE(host->LinkEnded());
    ASSERT_TRUE(m_sensor->WaitForCommands(2, 2000));
    EXPECT_FALSE(m_sensor->IsLinkUp());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(m_devices.PortLink(m_com))));
    EXPECT_TRUE(m_sensor->PublishedPath().empty());
}

TEST_F(CReplyShaperTest, DisconnectWithoutRepliesHangsUpAtTheNextCommand) {
    auto host = Connect({});
    EXPECT_EQ(AskAndCollect(*host, 9), kIdentity);
    m_sensor->SetFault({SensorFault::Disconnect, -1});
    EXPECT_TRUE(AskAndCollect(*host, 9).empty());
    EXPECT_FALSE(m_sensor->IsLinkUp());
}
