#include "appcore/CPulseHandler.h"
#include "appcore/CMeasurementDisplay.h"
#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenNotices.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/CSettingProfile.h"
#include "platform/CMessageBeep.h"
#include "protocol/CMeterEngine.h"
#include "protocol/CRequestTicket.h"

#include "support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class PulseLink : public CMeasurementLink {
public:
    bool IsConnected() const override { return true; }
    std::shared_ptr<CRequestTicket> Request(std::span<const int32_t> kinds, int32_t argument,
                                            uint32_t /*timeoutMs*/) override {
        sent.push_back({kinds.front(), argument});
        return std::make_shared<CRequestTicket>();
    }
    void RunSetup(SetupJob job, SetupDone done) override {
        setups += job ? 1 : 0;
        done(true);
    }

    int setups = 0;
    std::vector<std::pair<int32_t, int32_t>> sent;
};

class AlarmLog : public CMeasurementDisplay {
public:
    void ShowAlarm(int quantity, bool alarm) override { alarms.push_back({quantity, alarm}); }
    std::vector<std::pair<int, bool>> alarms;
};

class CPulseHandlerTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        m_handler = std::make_unique<CPulseHandler>(Profile(), m_link, m_display, m_notices);
    }

    void TearDown() override {
        m_handler.reset();
        ProfileFixture::TearDown();
    }

    CScreenController& Controller() { return m_handler->Controller(); }
    const CRecordStore& Records() { return m_handler->Records(); }

    // One request and its reply.
    void Reading(int32_t power, int32_t value1, int32_t value2, int32_t value3, int32_t selector,
                 int32_t state = 1) {
        ASSERT_TRUE(Controller().Pump());
        m_handler->OnPulseReading(state, power, value1, value2, value3, selector);
    }

    PulseLink m_link;
    AlarmLog m_display;
    CScreenNotices m_notices;
    std::unique_ptr<CPulseHandler> m_handler;
};

} // namespace

TEST_F(CPulseHandlerTest, ReadingStoresCorrectedPulseDutyAndBurstWidth) {
    Profile().SetTechnology(0); // LTE-TDD
    Profile().SetFrequency(2000.0f);
    Profile().SetExtOffset(1.0f);
    Controller().Start();
    EXPECT_EQ(m_link.setups, 1) << "the pulse set-up goes out at Start";
    Reading(3000, 1, 4, 2, 8);
    ASSERT_EQ(m_link.sent.size(), 1u);
    EXPECT_EQ(m_link.sent[0], std::make_pair(static_cast<int32_t>(CMeterEngine::ModePulse), 200000));
    EXPECT_FALSE(Controller().IsAwaitingReply());
    EXPECT_NEAR(Records().Last(ChannelPulse), 30.0 - 1.5 - 0.45 + 1.0, 1e-5);
    EXPECT_FLOAT_EQ(Records().DutyCycle(), 25.0f);
    EXPECT_FLOAT_EQ(Records().BurstWidth(), 0.5f * 10.82f);

    Profile().SetPulseDuty(500); // a chosen duty wins over the reply
    Reading(3000, 1, 4, 2, 8);
    EXPECT_FLOAT_EQ(Records().DutyCycle(), 50.0f);
}

TEST_F(CPulseHandlerTest, ZeroCountsAreStoredAsNonFiniteValues) {
    Controller().Start();
    Reading(3000, 5, 0, 0, 1);
    EXPECT_TRUE(std::isinf(Records().DutyCycle()));
    EXPECT_TRUE(std::isinf(Records().BurstWidth()));
    EXPECT_EQ(Records().Count(ChannelPulse), 1);
}

TEST_F(CPulseHandlerTest, FailedOrUnrequestedRepliesStoreNothing) {
    Controller().Start();
    Reading(3000, 1, 2, 1, 1, 0);
    m_handler->OnPulseReading(1, 3000, 1, 2, 1, 1); // nothing was asked for any more
    EXPECT_EQ(Records().Count(ChannelPulse), 0);
}

TEST_F(CPulseHandlerTest, LimitCheckSetsThePulseAlarm) {
    Profile().SetLimits(ChannelPulse, 0.0f, 20.0f);
    Profile().SetLimitEnabled(ChannelPulse, true);
    Profile().SetAlarmOn(ChannelPulse, true);
    static int beeps = 0;
    CMessageBeep::SetPlayer([](BeepType) { ++beeps; });
    Controller().Start();
    Reading(3000, 1, 2, 1, 1);
    Reading(1000, 1, 2, 1, 1);
    CMessageBeep::SetPlayer(nullptr);
    const std::vector<std::pair<int, bool>> expected = {{ChannelPulse, true}, {ChannelPulse, false}};
    EXPECT_EQ(m_display.alarms, expected);
    EXPECT_EQ(beeps, 1);
}

TEST_F(CPulseHandlerTest, SaveWritesOnlyThePulseChannel) {
    Controller().Start();
    EXPECT_FALSE(Controller().CanSave());
    Reading(3000, 1, 2, 1, 1);
    Controller().Stop();
    ASSERT_TRUE(Controller().CanSave());
    ASSERT_TRUE(Controller().SaveHistory(File("pulse.psh")));
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(File("pulse.psh"), data).ok);
    EXPECT_EQ(data.Header().Mask(), 0x08);
    EXPECT_NEAR(data.Value(0, ChannelPulse), 30.0, 1e-6);
}
