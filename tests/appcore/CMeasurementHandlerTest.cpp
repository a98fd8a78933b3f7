#include "appcore/CMeasurementHandler.h"
#include "appcore/CMeasurementDisplay.h"
#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenNotices.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "platform/CMessageBeep.h"
#include "protocol/CRequestTicket.h"

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
};

class ScriptedLink : public CMeasurementLink {
public:
    bool IsConnected() const override { return connected; }
    std::shared_ptr<CRequestTicket> Request(std::span<const int32_t> kinds, int32_t argument,
                                            uint32_t timeoutMs) override {
        if (!accepts)
            return nullptr;
        sent.push_back({kinds.front(), argument, timeoutMs});
        asked.assign(kinds.begin(), kinds.end());
        ticket = std::make_shared<CRequestTicket>();
        return ticket;
    }
    void RunSetup(SetupJob job, SetupDone done) override {
        setups += job ? 1 : 0;
        done(setupAcknowledged);
    }

    bool connected = true;
    bool accepts = true;
    std::shared_ptr<CRequestTicket> ticket; // of the last request
    bool setupAcknowledged = true;
    int setups = 0;
    std::vector<SentRequest> sent;
    std::vector<int32_t> asked; // the kinds of the last request
};

class RecordingDisplay : public CMeasurementDisplay {
public:
    void ShowAlarm(int quantity, bool alarm) override { alarms[quantity] = alarm; }
    void ShowNewValue() override { ++newValues; }
    void RedrawAll() override { ++redraws; }

    std::map<int, bool> alarms;
    int newValues = 0;
    int redraws = 0;
};

class RecordingNotices : public CScreenNotices {
public:
    void ShowWarning(const std::string& text) override { warning = text; }
    void ShowRecordFull(bool full) override { recordFull = full; }
    std::string warning;
    bool recordFull = false;
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
        m_handler = std::make_unique<CMeasurementHandler>(Profile(), m_link, m_display, m_notices);
    }

    void TearDown() override {
        CMessageBeep::SetPlayer(nullptr);
        m_handler.reset();
        ProfileFixture::TearDown();
    }

    void StartModel(int model) {
        Profile().SetModelNumber(model);
        m_handler->ConfigureForModel();
        Controller().Start();
    }

    CScreenController& Controller() { return m_handler->Controller(); }
    // The timer sends the next request and the handler receives its reply.
    void Tick() { ASSERT_TRUE(Controller().Pump()); }

    CRecordStore& Records() { return Controller().Recording().Records(); }

    ScriptedLink m_link;
    RecordingDisplay m_display;
    RecordingNotices m_notices;
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
        {0, {0, 2, 3}}, {2, {0, 2, 3}}, {4, {0, 2}}, {9, {0, 2}}, {5, {1, 2}},
        {3, {2}},       {8, {2}},       {1, {0}},    {6, {0}},
    };
    for (const auto& [model, kinds] : expected) {
        Controller().Stop();
        StartModel(model);
        Tick();
        EXPECT_EQ(m_link.asked, kinds) << "model " << model;
        m_link.ticket->Drop(); // unanswered: the next tick asks for the same again
        Tick();
        EXPECT_EQ(m_link.asked, kinds) << "model " << model;
    }
}

TEST_F(MeasurementHandlerTest, TimerSendsOnlyWhenConnectedRunningAndNothingPending) {
    Profile().SetModelNumber(1);
    Profile().SetFrequency(2400.567f);
    m_handler->ConfigureForModel();
    EXPECT_FALSE(Controller().Pump()) << "not running";
    Controller().Start();
    m_link.connected = false;
    EXPECT_FALSE(Controller().Pump()) << "not connected";
    m_link.connected = true;

    ASSERT_TRUE(Controller().Pump());
    ASSERT_EQ(m_link.sent.size(), 1u);
    EXPECT_EQ(m_link.sent[0].argument, 240056) << "frequency in 10 kHz, truncated";
    EXPECT_EQ(m_link.sent[0].timeoutMs, 500u);
    EXPECT_FALSE(Controller().Pump()) << "one request at a time";

    m_link.ticket->Drop();
    m_link.accepts = false;
    EXPECT_FALSE(Controller().Pump());
    EXPECT_FALSE(Controller().IsAwaitingReply()) << "a refused request leaves nothing awaited";
}

TEST_F(MeasurementHandlerTest, OnlyTheReplyOfTheRequestInFlightIsTaken) {
    StartModel(1);
    m_handler->OnAvgReading(1, 1000);
    EXPECT_EQ(Records().Count(ChannelAvg), 0) << "a reply nobody waits for is dropped";

    Tick();
    m_handler->OnAvgReading(0, -1);
    EXPECT_EQ(Records().Count(ChannelAvg), 0);
    EXPECT_FALSE(Controller().IsAwaitingReply()) << "a failed reply frees the timer to ask again";

    Tick();
    m_link.ticket->Answer(1); // handed over, still on its way to the screen
    Controller().Stop();
    Controller().Start();
    EXPECT_TRUE(m_link.ticket->IsDropped()) << "Start gives the request up";
    Tick();
    Controller().Stop();
    m_handler->OnAvgReading(1, 999);
    EXPECT_EQ(Records().Count(ChannelAvg), 0) << "the late reply of the request given up";
    m_handler->OnAvgReading(1, 1234);
    EXPECT_EQ(Records().Count(ChannelAvg), 1) << "a reply requested before Stop is still stored";
    EXPECT_FALSE(Controller().IsAwaitingReply());
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
    Controller().Reset();
    Tick();
    m_handler->OnPeakReading(1, 2750);
    EXPECT_TRUE(Records().IsEmpty(ChannelVswr)) << "no ratio to an average not measured";

    m_link.sent.clear();
    Controller().Stop();
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
    EXPECT_EQ(m_notices.warning, "");

    Tick();
    m_handler->OnPeakReading(1, 4500);
    Tick();
    m_handler->OnForwardReverseReading(1, 1000, 1500);
    EXPECT_EQ(m_notices.warning, Text("S_SETTING_WARNING_POWER"));
    EXPECT_FLOAT_EQ(Records().Last(ChannelVswr), 65.0f);

    Tick();
    m_handler->OnPeakReading(1, 4500);
    Tick();
    m_handler->OnForwardReverseReading(1, 3000, 1000);
    EXPECT_EQ(m_notices.warning, "") << "the next normal reply clears the warning";
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
    for (const SensorModel& row : CModelTable::Rows()) {
        const int model = row.number;
        m_link.setups = 0;
        Controller().Stop();
        Records().AddValue(ChannelPeak, 1.0f);
        StartModel(model);
        EXPECT_EQ(m_link.setups, CModelTable::SetsAveragingOnStart(model) ? 1 : 0) << "model " << model;
        EXPECT_TRUE(Records().IsEmpty(ChannelPeak));
        EXPECT_FALSE(Controller().IsAwaitingReply());
        EXPECT_TRUE(Controller().IsRunning());
    }
    Controller().Stop();
    m_link.setupAcknowledged = false;
    StartModel(5);
    EXPECT_TRUE(Controller().IsRunning()) << "a refused set-up still measures";
    EXPECT_NE(Records().StartTime(), 0) << "and keeps a start time";
}

TEST_F(MeasurementHandlerTest, SingleSweepCompletesOneRequestCycleAndStops) {
    Profile().SetSingleSweep(true);
    StartModel(1);
    Tick();
    m_handler->OnAvgReading(1, 2000);
    EXPECT_FALSE(Controller().IsRunning());
    EXPECT_EQ(Records().Count(ChannelAvg), 1);
    EXPECT_FALSE(Controller().Pump());

    m_link.sent.clear();
    StartModel(5);
    Tick();
    m_handler->OnForwardReverseReading(1, 4000, 2000);
    EXPECT_TRUE(Controller().IsRunning()) << "PEAK is still to come";
    Tick();
    m_handler->OnPeakReading(0, -1);
    Tick();
    m_handler->OnPeakReading(1, 4500);
    EXPECT_EQ(SentKinds(m_link), (std::vector<int32_t>{1, 2, 2})) << "a failed reply is asked for again";
    EXPECT_FALSE(Controller().IsRunning());
    Controller().Stop();
    ASSERT_TRUE(Controller().SaveHistory(File("sweep.psh")));
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(File("sweep.psh"), data).ok);
    EXPECT_EQ(data.Series(ChannelPeak), (std::vector<double>{45.0}));
    EXPECT_EQ(data.Series(ChannelAvg).size(), 1u);
}

TEST_F(MeasurementHandlerTest, AFullChannelIsToldAndTheOthersRecordOn) {
    StartModel(0);
    for (int index = 0; index < CChannelRecord::kCapacity; ++index)
        Records().AddValue(ChannelAvg, 1.0f);
    Tick();
    m_handler->OnAvgReading(1, 2000);
    EXPECT_TRUE(m_notices.recordFull);
    EXPECT_EQ(Records().Current(ChannelAvg), 20.0f) << "the readout shows the new reading";
    Tick();
    m_handler->OnPeakReading(1, 2500);
    EXPECT_EQ(Records().Count(ChannelPeak), 1);
    Controller().Stop();
    Controller().Start();
    EXPECT_FALSE(m_notices.recordFull);
}

TEST_F(MeasurementHandlerTest, UnsavedMeasurementAndSaving) {
    StartModel(3);
    EXPECT_FALSE(Controller().StartDiscardsUnsaved()) << "nothing measured yet";
    Tick();
    m_handler->OnPeakReading(1, 2500);
    Tick();
    m_handler->OnPeakReading(1, 2600);
    EXPECT_TRUE(Controller().StartDiscardsUnsaved());
    EXPECT_FALSE(Controller().CanSave()) << "still running";
    Controller().Stop();
    ASSERT_TRUE(Controller().CanSave());

    EXPECT_FALSE(Controller().SaveHistory(File("missing/dir/a.psh")));
    EXPECT_TRUE(Controller().CanSave()) << "a failed save keeps the record unsaved";

    ASSERT_TRUE(Controller().SaveHistory(File("peak.psh")));
    EXPECT_FALSE(Controller().CanSave());
    EXPECT_FALSE(Controller().StartDiscardsUnsaved());
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(File("peak.psh"), data).ok);
    EXPECT_EQ(data.Header().Mask(), 0x02);
    EXPECT_EQ(data.Series(ChannelPeak), (std::vector<double>{25.0, 26.0}));
}

TEST_F(MeasurementHandlerTest, SaveMaskAndMainChannelByModel) {
    for (const SensorModel& row : CModelTable::Rows()) {
        const int model = row.number;
        const int mask = CModelTable::IsAvgOnly(model) ? 0x01 : CModelTable::IsPeakOnly(model) ? 0x02 : 0x13;
        EXPECT_EQ(CMeasurementHandler::SaveMask(model), mask) << model;
        if (CModelTable::IsPeakOnly(model)) {
            EXPECT_EQ(CMeasurementHandler::MainChannel(model), ChannelPeak) << model;
        }
    }
}

TEST_F(MeasurementHandlerTest, ResetEmptiesEveryChannelButKeepsRunning) {
    StartModel(0);
    Tick();
    m_handler->OnAvgReading(1, 2000);
    Controller().Reset();
    EXPECT_TRUE(Records().IsEmpty(ChannelAvg));
    EXPECT_TRUE(Controller().IsRunning());
    EXPECT_EQ(m_display.redraws, 2);
}
