#include "model/RangeLimitItem.h"

#include <vector>

#include <gtest/gtest.h>

static std::vector<BeepType> g_played;

static void RecordBeep(BeepType type) {
    g_played.push_back(type);
}

class RangeLimitItemTest : public testing::Test {
protected:
    void SetUp() override {
        g_played.clear();
        CMessageBeep::SetPlayer(RecordBeep);
        m_item = RangeLimitItem::FromRange(20.0f, 60.0f);
    }
    void TearDown() override { CMessageBeep::SetPlayer(nullptr); }

    std::vector<MeterThreshold> Bands() const {
        MeterThresholdCollection bands;
        bands.Append({}); // stale content must go
        m_item.BuildBands(bands);
        return {bands.begin(), bands.end()};
    }

    RangeLimitItem m_item;
};

static void ExpectBand(const MeterThreshold& band, uint32_t colour, double low, double high) {
    EXPECT_EQ(band.colour, colour);
    EXPECT_DOUBLE_EQ(band.low, low);
    EXPECT_DOUBLE_EQ(band.high, high);
}

TEST_F(RangeLimitItemTest, AlarmNeedsLimitAndAlarmSwitchedOn) {
    m_item.lowLimit = 30.0f;
    m_item.highLimit = 50.0f;
    m_item.limitEnabled = true;
    EXPECT_FALSE(m_item.IsAlarm(55.0f));
    EXPECT_FALSE(m_item.SoundAlarm(55.0f));
    EXPECT_TRUE(g_played.empty());

    m_item.alarmOn = true;
    EXPECT_TRUE(m_item.IsAlarm(55.0f));
    EXPECT_TRUE(m_item.IsAlarm(29.9f));
    EXPECT_FALSE(m_item.IsAlarm(50.0f));
    EXPECT_FALSE(m_item.IsAlarm(30.0f));

    m_item.limitEnabled = false;
    EXPECT_FALSE(m_item.IsAlarm(55.0f));
}

TEST_F(RangeLimitItemTest, ReversedLimitsAlarmOnEveryValue) {
    m_item.limitEnabled = m_item.alarmOn = true;
    m_item.lowLimit = 50.0f;
    m_item.highLimit = 30.0f;
    EXPECT_TRUE(m_item.IsAlarm(40.0f));
}

TEST_F(RangeLimitItemTest, SoundFollowsBeepChoice) {
    m_item.limitEnabled = m_item.alarmOn = true;
    const BeepType expected[] = {BeepType::Default, BeepType::Information, BeepType::Exclamation,
                                 BeepType::Stop, BeepType::Default};
    for (int choice = 0; choice < 5; ++choice) {
        m_item.beepSound = choice;
        EXPECT_TRUE(m_item.SoundAlarm(70.0f));
    }
    EXPECT_FALSE(m_item.SoundAlarm(40.0f));
    ASSERT_EQ(g_played.size(), 5u);
    for (int choice = 0; choice < 5; ++choice)
        EXPECT_EQ(g_played[choice], expected[choice]) << "choice " << choice;
}

TEST_F(RangeLimitItemTest, BandsClipLimitsToDisplayRange) {
    EXPECT_TRUE(Bands().empty()); // limits off

    m_item.limitEnabled = true;
    m_item.lowLimit = 30.0f;
    m_item.highLimit = 50.0f;
    auto bands = Bands();
    ASSERT_EQ(bands.size(), 3u);
    ExpectBand(bands[0], kBandRed, 20, 30);
    ExpectBand(bands[1], kBandGreen, 30, 50);
    ExpectBand(bands[2], kBandRed, 50, 60);

    m_item.lowLimit = 10.0f;
    m_item.highLimit = 70.0f;
    bands = Bands();
    ASSERT_EQ(bands.size(), 1u);
    ExpectBand(bands[0], kBandGreen, 20, 60);

    m_item.lowLimit = 10.0f;
    m_item.highLimit = 40.0f;
    bands = Bands();
    ASSERT_EQ(bands.size(), 2u);
    ExpectBand(bands[0], kBandGreen, 20, 40);
    ExpectBand(bands[1], kBandRed, 40, 60);
}

TEST_F(RangeLimitItemTest, LimitsOutsideDisplayGiveOneRedBand) {
    m_item.limitEnabled = true;
    for (const auto& limits : {std::pair{60.0f, 70.0f}, std::pair{0.0f, 20.0f}}) {
        m_item.lowLimit = limits.first;
        m_item.highLimit = limits.second;
        const auto bands = Bands();
        ASSERT_EQ(bands.size(), 1u);
        ExpectBand(bands[0], kBandRed, 20, 60);
    }
}
