#include "screens/CMeasurementHandler.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/CSettingProfile.h"
#include "platform/CMessageBeep.h"
#include "screens/CMeasurementDisplay.h"
#include "screens/CMeasurementLink.h"

#include "support/ProfileFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

struct SentRequest {
    int32_t kind;
    int32_t argument;
    uint32_t timeoutMs;
    bool pendingWhenSent;
};

class ScriptedLink : public CMeasurementLink {
public:
    bool IsConnected() const override { return connected; }
    bool Request(int32_t kind, int32_t argument, uint32_t timeoutMs) override {
        if (!accepts)
            return false;
        sent.push_back({kind, argument, timeoutMs, pending});
        return true;
    }
    bool IsPending() const override { return pending; }
    void SetPending(bool flag) override { pending = flag; }
    bool SetAveraging() override {
        ++averagingCalls;
        return averagingAcknowledged;
    }

    bool connected = true;
    bool accepts = true;
    bool pending = false;
    bool averagingAcknowledged = true;
    int averagingCalls = 0;
    std::vector<SentRequest> sent;
};

class RecordingDisplay : public CMeasurementDisplay {
public:
    void ShowAlarm(int quantity, bool alarm) override { alarms[quantity] = alarm; }
    void ShowNewValue() override { ++newValues; }
    void RedrawAll() override { ++redraws; }
    void ShowReverseWarning(bool warning) override { reverseWarning = warning; }

    std::map<int, bool> alarms;
    int newValues = 0;
    int redraws = 0;
    bool reverseWarning = false;
};

std::vector<BeepType> g_beeps;

void RecordBeep(BeepType type) {
    g_beeps.push_back(type);
}

class MeasurementHandlerTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        g_beeps.clear();
        CMessageBeep::SetPlayer(RecordBeep);
        m_handler = std::make_unique<CMeasurementHandler>(Profile(), m_link, m_display);
    }

    void TearDown() override {
        CMessageBeep::SetPlayer(nullptr);
        m_handler.reset();
        ProfileFixture::TearDown();
    }

    void StartModel(int model) {
        Profile().SetModelNumber(model);
        m_handler->ConfigureForModel();
        m_handler->Start();
    }

    // The timer sends the next request and the handler receives its reply.
    void Tick() { ASSERT_TRUE(m_handler->OnTimer()); }

    CRecordStore& Records() { return Profile().Records(); }

    ScriptedLink m_link;
    RecordingDisplay m_display;
    std::unique_ptr<CMeasurementHandler> m_handler;
};

std::vector<int32_t> SentKinds(const ScriptedLink& link) {
    std::vector<int32_t> kinds;
    for (const SentRequest& request : link.sent)
        kinds.push_back(request.kind);
    return kinds;
}

} // namespace

TEST_F(MeasurementHandlerTest, RequestCycleFollowsTheModel) {
    const std::map<int, std::vector<int32_t>> expected = {
        {0, {0, 2, 3, 0, 2, 3, 0}}, {2, {0, 2, 3, 0, 2, 3, 0}}, {4, {0, 2, 0, 2, 0, 2, 0}},
        {9, {0, 2, 0, 2, 0, 2, 0}}, {5, {1, 2, 1, 2, 1, 2, 1}}, {3, {2, 2, 2, 2, 2, 2, 2}},
        {8, {2, 2, 2, 2, 2, 2, 2}}, {1, {0, 0, 0, 0, 0, 0, 0}}, {6, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [model, kinds] : expected) {
        m_link.sent.clear();
        m_handler->Stop();
        StartModel(model);
        for (size_t tick = 0; tick < kinds.size(); ++tick) {
            Tick();
            m_link.pending = false; // the reply was taken
        }
        EXPECT_EQ(SentKinds(m_link), kinds) << "model " << model;
    }
}

TEST_F(MeasurementHandlerTest, TimerSendsOnlyWhenConnectedRunningAndNothingPending) {
    Profile().SetModelNumber(1);
    Profile().SetFrequency(2400.567f);
    m_handler->ConfigureForModel();
    EXPECT_FALSE(m_handler->OnTimer()) << "not running";
    m_handler->Start();
    m_link.connected = false;
    EXPECT_FALSE(m_handler->OnTimer()) << "not connected";
    m_link.connected = true;

    ASSERT_TRUE(m_handler->OnTimer());
    ASSERT_EQ(m_link.sent.size(), 1u);
    EXPECT_EQ(m_link.sent[0].argument, 240056) << "frequency in 10 kHz, truncated";
    EXPECT_EQ(m_link.sent[0].timeoutMs, 500u);
    EXPECT_TRUE(m_link.sent[0].pendingWhenSent) << "a fast reply must find the flag raised";
    EXPECT_FALSE(m_handler->OnTimer()) << "one request at a time";

    m_link.pending = false;
    m_link.accepts = false;
    EXPECT_FALSE(m_handler->OnTimer());
    EXPECT_FALSE(m_link.pending) << "a refused request leaves nothing pending";
}

TEST_F(MeasurementHandlerTest, PendingFlagDecidesWhichRepliesAreTaken) {
    StartModel(1);
    m_handler->OnAvgReading(1, 1000);
    EXPECT_EQ(Records().Count(ChannelAvg), 0) << "a reply nobody waits for is dropped";

    Tick();
    m_handler->OnAvgReading(0, -1);
    EXPECT_EQ(Records().Count(ChannelAvg), 0);
    EXPECT_TRUE(m_link.pending) << "a failed reply leaves the flag set";
    EXPECT_FALSE(m_handler->OnTimer());

    m_handler->Stop();
    m_handler->Start();
    EXPECT_FALSE(m_link.pending) << "Start clears the flag";
    Tick();
    m_handler->Stop();
    m_handler->OnAvgReading(1, 1234);
    EXPECT_EQ(Records().Count(ChannelAvg), 1) << "a reply requested before Stop is still stored";
    EXPECT_FALSE(m_link.pending);
    EXPECT_EQ(m_display.newValues, 1);
}

TEST_F(MeasurementHandlerTest, ReadingsAreScaledAndOffset) {
    Profile().SetExtOffset(10.0f);
    StartModel(0);
    Tick();
    m_handler->OnAvgReading(1, 3000);
    Tick();
    m_handler->OnPeakReading(1, 3812);
    Tick();
    m_handler->OnRevReading(1, 1000);

    EXPECT_FLOAT_EQ(Records().Last(ChannelAvg), 40.0f);
    EXPECT_FLOAT_EQ(Records().Last(ChannelPeak), 48.12f);
    EXPECT_FLOAT_EQ(Records().Last(ChannelRev), 20.0f);
    EXPECT_NEAR(Records().Last(ChannelVswr), 1.2272f, 1e-4) << "20 dB return loss; the offset cancels";
}

TEST_F(MeasurementHandlerTest, ParIsPeakMinusCurrentAverage) {
    StartModel(4);
    Tick();
    m_handler->OnAvgReading(1, 2000);
    Tick();
    m_handler->OnPeakReading(1, 2750);
    EXPECT_FLOAT_EQ(Records().Last(ChannelVswr), 7.5f);

    m_link.sent.clear();
    m_handler->Stop();
    StartModel(0);
    Tick();
    m_handler->OnAvgReading(1, 2000);
    Tick();
    m_handler->OnPeakReading(1, 2750);
    EXPECT_EQ(Records().Count(ChannelVswr), 0) << "VSWR models take no PAR";
}

TEST_F(MeasurementHandlerTest, Model5CorrectsPowersButNotVswrAndWarnsOfReversePower) {
    Profile().SetTechnology(0);
    Profile().SetFrequency(2400.0f);
    Profile().SetExtOffset(1.0f);
    StartModel(5);
    Tick();
    m_handler->OnForwardReverseReading(1, 4000, 2000);
    EXPECT_NEAR(Records().Last(ChannelAvg), 40.0f - 1.3f + 1.0f, 1e-4);
    EXPECT_NEAR(Records().Last(ChannelRev), 20.0f - 1.3f + 1.0f, 1e-4);
    EXPECT_NEAR(Records().Last(ChannelVswr), 1.2272f, 1e-4);
    EXPECT_FALSE(m_display.reverseWarning);

    Tick();
    m_handler->OnPeakReading(1, 4500);
    Tick();
    m_handler->OnForwardReverseReading(1, 1000, 1500);
    EXPECT_TRUE(m_display.reverseWarning);
    EXPECT_FLOAT_EQ(Records().Last(ChannelVswr), 65.0f);

    Tick();
    m_handler->OnPeakReading(1, 4500);
    Tick();
    m_handler->OnForwardReverseReading(1, 3000, 1000);
    EXPECT_FALSE(m_display.reverseWarning) << "the next normal reply clears the warning";
}

TEST_F(MeasurementHandlerTest, LimitsDecideAlarmAndSoundButNotForReversePower) {
    Profile().SetLimits(ChannelAvg, 10.0f, 30.0f);
    Profile().SetLimitEnabled(ChannelAvg, true);
    Profile().SetAlarmOn(ChannelAvg, true);
    Profile().SetBeepSound(ChannelAvg, 2);
    Profile().SetLimits(ChannelRev, 0.0f, 1.0f);
    Profile().SetLimitEnabled(ChannelRev, true);
    Profile().SetAlarmOn(ChannelRev, true);
    StartModel(0);

    Tick();
    m_handler->OnAvgReading(1, 3100);
    EXPECT_TRUE(m_display.alarms[ChannelAvg]);
    EXPECT_THAT(g_beeps, ::testing::ElementsAre(BeepType::Exclamation));

    Tick();
    m_handler->OnPeakReading(1, 3500);
    Tick();
    m_handler->OnRevReading(1, 1000);
    EXPECT_EQ(g_beeps.size(), 1u) << "reverse power is never checked";
    EXPECT_FALSE(m_display.alarms[ChannelVswr]);

    Tick();
    m_handler->OnAvgReading(1, 3000);
    EXPECT_FALSE(m_display.alarms[ChannelAvg]) << "a value on the limit is inside";
    EXPECT_EQ(g_beeps.size(), 1u);

    Profile().SetAlarmOn(ChannelAvg, false);
    Tick();
    m_handler->OnPeakReading(1, 3500);
    Tick();
    m_handler->OnRevReading(1, 1000);
    Tick();
    m_handler->OnAvgReading(1, 5000);
    EXPECT_FALSE(m_display.alarms[ChannelAvg]) << "alarm off: neither red nor sound";
    EXPECT_EQ(g_beeps.size(), 1u);
}

TEST_F(MeasurementHandlerTest, StartResetsAndSetsUpAveragingOnlyWhereNeeded) {
    for (int model : {0, 1, 2, 3, 4, 5, 6, 8, 9}) {
        m_link.averagingCalls = 0;
        m_handler->Stop();
        Records().AddValue(ChannelPeak, 1.0f);
        m_link.pending = true;
        StartModel(model);
        const bool sendsAveraging = model == 5 || model == 6 || model == 9;
        EXPECT_EQ(m_link.averagingCalls, sendsAveraging ? 1 : 0) << "model " << model;
        EXPECT_TRUE(Records().IsEmpty(ChannelPeak));
        EXPECT_FALSE(m_link.pending);
        EXPECT_TRUE(m_handler->IsRunning());
    }
    m_handler->Stop();
    m_link.averagingAcknowledged = false;
    StartModel(5);
    EXPECT_TRUE(m_handler->IsRunning()) << "a refused set-up still measures";
    EXPECT_NE(Records().StartTime(), 0) << "and keeps a start time";
}

TEST_F(MeasurementHandlerTest, SingleSweepTakesOneValueAndStops) {
    Profile().SetSingleSweep(true);
    StartModel(1);
    Tick();
    m_handler->OnAvgReading(1, 2000);
    EXPECT_FALSE(m_handler->IsRunning());
    EXPECT_EQ(Records().Count(ChannelAvg), 1);
    EXPECT_FALSE(m_handler->OnTimer());
}

TEST_F(MeasurementHandlerTest, UnsavedMeasurementAndSaving) {
    StartModel(3);
    EXPECT_FALSE(m_handler->StartDiscardsUnsaved()) << "nothing measured yet";
    Tick();
    m_handler->OnPeakReading(1, 2500);
    Tick();
    m_handler->OnPeakReading(1, 2600);
    EXPECT_TRUE(m_handler->StartDiscardsUnsaved());
    EXPECT_FALSE(m_handler->CanSave()) << "still running";
    m_handler->Stop();
    ASSERT_TRUE(m_handler->CanSave());

    EXPECT_FALSE(m_handler->SaveHistory(File("missing/dir/a.psh")));
    EXPECT_TRUE(m_handler->CanSave()) << "a failed save keeps the record unsaved";

    ASSERT_TRUE(m_handler->SaveHistory(File("peak.psh")));
    EXPECT_FALSE(m_handler->CanSave());
    EXPECT_FALSE(m_handler->StartDiscardsUnsaved());
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(File("peak.psh"), data).ok);
    EXPECT_EQ(data.Header().Mask(), 0x02);
    EXPECT_EQ(data.Series(ChannelPeak), (std::vector<double>{25.0, 26.0}));
}

TEST_F(MeasurementHandlerTest, SaveMaskAndMainChannelByModel) {
    for (int model : {0, 2, 4, 5, 9})
        EXPECT_EQ(CMeasurementHandler::SaveMask(model), 0x13) << model;
    for (int model : {1, 6})
        EXPECT_EQ(CMeasurementHandler::SaveMask(model), 0x01) << model;
    for (int model : {3, 8}) {
        EXPECT_EQ(CMeasurementHandler::SaveMask(model), 0x02) << model;
        EXPECT_EQ(CMeasurementHandler::MainChannel(model), ChannelPeak) << model;
    }
}

TEST_F(MeasurementHandlerTest, ResetEmptiesEveryChannelButKeepsRunning) {
    StartModel(0);
    Tick();
    m_handler->OnAvgReading(1, 2000);
    m_handler->Reset();
    EXPECT_TRUE(Records().IsEmpty(ChannelAvg));
    EXPECT_TRUE(m_handler->IsRunning());
    EXPECT_EQ(m_display.redraws, 2);
}
