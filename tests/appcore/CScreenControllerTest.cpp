#include "appcore/CScreenController.h"
#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenNotices.h"
#include "appcore/CommandIds.h"
#include "history/CHistoryFile.h"
#include "model/CSettingProfile.h"
#include "protocol/CRequestTicket.h"

#include "support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

// Holds the set-up job back until the test finishes it, as the engine's worker would.
class DeferringLink : public CMeasurementLink {
public:
    bool IsConnected() const override { return true; }
    bool IsLinkLost() const override { return lost; }
    bool IsOtherSensorOnPort() const override { return other; }
    int32_t SerialNumber() const override { return serial; }
    std::shared_ptr<CRequestTicket> Request(std::span<const int32_t> kinds, int32_t, uint32_t) override {
        ++requests;
        asked.assign(kinds.begin(), kinds.end());
        ticket = std::make_shared<CRequestTicket>(batches ? static_cast<int>(kinds.size()) : 1);
        return ticket;
    }
    void RunSetup(SetupJob, SetupDone done) override { setups.push_back(std::move(done)); }

    bool lost = false;
    bool other = false;
    int32_t serial = 7;
    int requests = 0;
    bool batches = false; // runs every kind asked for, as the engine does
    std::vector<int32_t> asked;
    std::shared_ptr<CRequestTicket> ticket; // of the last request
    std::vector<SetupDone> setups;
};

class ScreenStub : public CScreenBehaviour {
public:
    int MainChannel() const override { return mainChannel; }
    uint8_t SaveMask() const override { return saveMask; }
    void ResetData() override {}
    CMeasurementLink::SetupJob StartSetup() override {
        if (!withSetup)
            return {};
        return [](CMeterEngine&) { return true; };
    }
    bool KeepsStartAfterRefusedSetup() const override { return keepsStart; }
    void OnSetupDone(bool) override { ++setupsDone; }

    int mainChannel = ChannelAvg;
    int setupsDone = 0;
    uint8_t saveMask = 0x01;
    bool withSetup = false;
    bool keepsStart = true;
};

class NoticeLog : public CScreenNotices {
public:
    void ShowStalled(bool on) override { stalled.push_back(on); }
    void ShowSetupRefused(bool on) override { refused = on; }
    void ShowNotResponding(bool on) override { lost.push_back(on); }
    void ShowOtherSensor(bool on) override { other.push_back(on); }
    std::vector<bool> stalled;
    std::vector<bool> lost;
    std::vector<bool> other;
    bool refused = false;
};

class CScreenControllerTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        m_controller = std::make_unique<CScreenController>(Profile(), m_link, m_screen, m_notices);
        m_controller->SetRequestCycle({0});
    }
    void TearDown() override {
        m_controller.reset();
        ProfileFixture::TearDown();
    }

    // One request out and its reply handled as a reading handler does.
    void Exchange(int32_t state) {
        ASSERT_TRUE(m_controller->Pump());
        if (m_controller->TakeResult(state))
            m_controller->FinishResult();
    }

    CRecordStore& Records() { return m_controller->Recording().Records(); }
    void Record(int channel, std::initializer_list<float> values) {
        for (const float value : values)
            Records().AddValue(channel, value);
    }

    DeferringLink m_link;
    ScreenStub m_screen;
    NoticeLog m_notices;
    std::unique_ptr<CScreenController> m_controller;
};

} // namespace

TEST_F(CScreenControllerTest, FailedExchangesAreRetriedAndAStallIsReportedUntilReadingsResume) {
    m_controller->Start();
    Exchange(0);
    Exchange(0);
    EXPECT_TRUE(m_notices.stalled.empty()) << "two failures are not yet a stall";
    Exchange(0);
    Exchange(0);
    EXPECT_EQ(m_notices.stalled, std::vector<bool>{true}) << "reported once";
    EXPECT_TRUE(m_controller->IsStalled());
    Exchange(1);
    EXPECT_EQ(m_notices.stalled, (std::vector<bool>{true, false}));
    EXPECT_EQ(m_link.requests, 5) << "every tick after a failure asked again";

    for (int failure = 0; failure < CScreenController::kStallFailures; ++failure)
        Exchange(0);
    m_controller->Stop();
    EXPECT_FALSE(m_controller->IsStalled()) << "a stopped screen asks nothing";
    EXPECT_EQ(m_notices.stalled.back(), false);
}

TEST_F(CScreenControllerTest, ABatchIsInFlightUntilItsLastReplyAndAFailureEndsIt) {
    using Kinds = std::vector<int32_t>;
    m_link.batches = true;
    m_controller->SetRequestCycle({0, 2, 3});
    m_controller->Start();
    const auto take = [this](int32_t state) {
        const bool taken = m_controller->TakeResult(state);
        if (taken)
            m_controller->FinishResult();
        return taken;
    };
    ASSERT_TRUE(m_controller->Pump());
    EXPECT_EQ(m_link.asked, (Kinds{0, 2, 3}));
    EXPECT_TRUE(take(1) && take(1));
    EXPECT_FALSE(m_controller->Pump()) << "the batch's last reply is still on its way";
    EXPECT_TRUE(take(1));

    ASSERT_TRUE(m_controller->Pump());
    EXPECT_TRUE(take(1));
    EXPECT_FALSE(take(0));
    ASSERT_TRUE(m_controller->Pump()) << "the engine stops a batch at its failure";
    EXPECT_EQ(m_link.asked, Kinds{3}) << "the cycle goes on after the failed kind";
    EXPECT_TRUE(take(1));

    ASSERT_TRUE(m_controller->Pump());
    m_link.ticket->Answer(3);
    EXPECT_TRUE(take(1));
    m_controller->Stop();
    m_controller->Start(); // gives up the batch with two replies still on their way
    EXPECT_FALSE(take(1));
    EXPECT_FALSE(take(1));
    ASSERT_TRUE(m_controller->Pump());
    EXPECT_EQ(m_link.asked, (Kinds{0, 2, 3}));
    EXPECT_TRUE(take(1));
}

TEST_F(CScreenControllerTest, AReadingOfAnotherSensorNeverJoinsTheRecord) {
    m_controller->Start();
    ASSERT_TRUE(m_controller->Pump());
    m_link.serial = 8; // another sensor took the port while the reply was on its way
    EXPECT_FALSE(m_controller->TakeResult(1));
    EXPECT_FALSE(m_controller->IsAwaitingReply()) << "the next request may go out";
    EXPECT_EQ(m_controller->Recording().MadeBy(), (SensorIdentity{-1, 7}));

    m_controller->Stop();
    m_controller->Start();
    ASSERT_TRUE(m_controller->Pump());
    EXPECT_TRUE(m_controller->TakeResult(1)) << "a new measurement belongs to the sensor now connected";
}

TEST_F(CScreenControllerTest, NoRequestGoesOutWhileTheStartSetupRuns) {
    m_screen.withSetup = true;
    m_controller->Start();
    EXPECT_TRUE(m_controller->IsSettingUp());
    EXPECT_FALSE(m_controller->Pump());
    ASSERT_EQ(m_link.setups.size(), 1u);

    m_link.setups[0](false);
    EXPECT_TRUE(m_notices.refused);
    EXPECT_NE(Records().StartTime(), 0) << "a refused set-up still measures";
    EXPECT_TRUE(m_controller->Pump());

    m_controller->Close();
    m_controller->Start();
    EXPECT_FALSE(m_notices.refused) << "a new Start clears the notice";
    EXPECT_FALSE(m_controller->IsAwaitingReply());
}

TEST_F(CScreenControllerTest, AScreenMayRefuseToStartAfterARefusedSetup) {
    m_screen.withSetup = true;
    m_screen.keepsStart = false;
    m_controller->Start();
    m_controller->Stop();
    m_controller->Start();
    ASSERT_EQ(m_link.setups.size(), 2u);
    m_link.setups[1](false);
    m_link.setups[0](true); // late answer to the first Start
    EXPECT_EQ(Records().StartTime(), 0);
    EXPECT_TRUE(m_controller->IsRunning());
    EXPECT_TRUE(m_controller->Pump());
}

TEST_F(CScreenControllerTest, OnlyTheLatestSetupIsTheScreensAnswer) {
    m_screen.withSetup = true;
    m_controller->Start();
    m_link.lost = true;
    m_controller->Pump();
    m_link.lost = false;
    EXPECT_FALSE(m_controller->Pump()) << "the set-up is sent again, no request yet";
    ASSERT_EQ(m_link.setups.size(), 2u);

    m_link.setups[0](true); // the answer to Start, after the set-up that replaced it was sent
    EXPECT_EQ(m_screen.setupsDone, 0) << "the replaced set-up's job may still be running";
    EXPECT_TRUE(m_controller->IsSettingUp());
    EXPECT_NE(Records().StartTime(), 0) << "Start still takes its start time";
    m_link.setups[1](true);
    EXPECT_EQ(m_screen.setupsDone, 1);
    EXPECT_TRUE(m_controller->Pump());
}

TEST_F(CScreenControllerTest, CommandRules) {
    CCommandState start;
    CCommandState save;
    m_controller->Start();
    ASSERT_TRUE(m_controller->UpdateCommand(ID_MEASURE_START, start));
    EXPECT_TRUE(start.enabled && start.checked);
    Exchange(1);
    Records().AddValue(ChannelAvg, 1.0f);
    m_controller->UpdateCommand(ID_FILE_SAVE, save);
    EXPECT_FALSE(save.enabled) << "not while running";
    m_controller->Stop();
    m_controller->UpdateCommand(ID_FILE_SAVE, save);
    EXPECT_TRUE(save.enabled);

    m_screen.mainChannel = -1; // a screen that keeps no history
    m_controller->UpdateCommand(ID_FILE_SAVE, save);
    EXPECT_FALSE(save.enabled);
    EXPECT_FALSE(m_controller->StartDiscardsUnsaved());
    CCommandState other;
    EXPECT_FALSE(m_controller->UpdateCommand(ID_VIEW_FULLSCREEN, other));
}

TEST_F(CScreenControllerTest, ALostSensorLeavesRowsWithoutAReadingAndTheMeasurementResumesByItself) {
    m_screen.saveMask = 0x03; // AVG and PEAK
    m_controller->Start();
    Record(ChannelAvg, {1.0f, 2.0f});
    Record(ChannelPeak, {5.0f}); // the cycle was cut short after AVG

    m_link.lost = true;
    EXPECT_FALSE(m_controller->Pump()) << "nothing is asked of a lost sensor";
    EXPECT_EQ(m_notices.lost, std::vector<bool>{true});
    const CRecordStore& records = Records();
    ASSERT_EQ(records.Count(ChannelAvg), 3);
    ASSERT_EQ(records.Count(ChannelPeak), 3) << "rows stay aligned";
    EXPECT_TRUE(std::isnan(records.Last(ChannelAvg)));
    EXPECT_TRUE(std::isnan(records.Series(ChannelPeak)[1]));
    EXPECT_FLOAT_EQ(records.Maximum(ChannelAvg), 2.0f) << "no reading is no statistic";
    CCommandState start;
    CCommandState stop;
    m_controller->UpdateCommand(ID_MEASURE_START, start);
    m_controller->UpdateCommand(ID_MEASURE_STOP, stop);
    EXPECT_FALSE(start.enabled || start.checked) << "waiting for the sensor is not measuring";
    EXPECT_TRUE(stop.enabled && !stop.checked);
    m_link.other = true;
    m_controller->Pump();
    EXPECT_EQ(m_notices.other, std::vector<bool>{true}) << "another sensor is named, not taken";

    m_link.lost = false;
    EXPECT_TRUE(m_controller->Pump());
    EXPECT_EQ(m_notices.lost, (std::vector<bool>{true, false}));
    EXPECT_EQ(m_notices.other, (std::vector<bool>{true, false}));
    m_controller->UpdateCommand(ID_MEASURE_START, start);
    EXPECT_TRUE(start.enabled && start.checked);
}

TEST_F(CScreenControllerTest, JournalTakesWhatTheRecordsCannotHoldAndGoesWithTheSave) {
    m_controller->Recording().KeepJournalIn(File("journal"));
    m_controller->Start();
    for (int value = 0; value < CChannelRecord::kCapacity + 5; ++value)
        Records().AddValue(ChannelAvg, static_cast<float>(value % 100));
    m_controller->Stop();
    const std::string journal = m_controller->Recording().Journal().Path();
    ASSERT_TRUE(std::filesystem::exists(journal));

    CMeasurementRecording::SaveReport report;
    ASSERT_TRUE(m_controller->SaveHistory(File("all.psh"), nullptr, &report));
    EXPECT_TRUE(report.fromJournal);
    EXPECT_EQ(report.rows, CChannelRecord::kCapacity + 5);
    CHistoryData saved;
    ASSERT_TRUE(CHistoryFile::LoadHistory(File("all.psh"), saved).ok);
    EXPECT_EQ(saved.RowCount(), CChannelRecord::kCapacity + 5);
    EXPECT_DOUBLE_EQ(saved.Value(CChannelRecord::kCapacity + 4, ChannelAvg), 4.0);
    EXPECT_FALSE(std::filesystem::exists(journal)) << "a saved measurement needs no journal";
}

TEST_F(CScreenControllerTest, AnUnsavedMeasurementKeepsItsJournalWhenTheScreenCloses) {
    m_controller->Recording().KeepJournalIn(File("journal"));
    m_controller->Start();
    Record(ChannelAvg, {1.0f, 2.0f});
    m_controller->Close();
    m_controller.reset();
    const std::vector<std::string> left = CRecordJournal::Orphans(File("journal"));
    ASSERT_EQ(left.size(), 1u);
    CRecordJournal::Content content;
    EXPECT_EQ(CRecordJournal::Read(left[0], content), CRecordJournal::ReadResult::Complete);
    EXPECT_EQ(content.RowCount(), 2u);
}

// Without a timer of its own, the cycle goes on only because the controller says when a request
// may go out: after a reading, after a failed reply, after a set-up answered.
TEST_F(CScreenControllerTest, TheControllerSaysWhenTheNextRequestMayGoOut) {
    int ready = 0;
    m_controller->SetReadyHandler([&ready] { ++ready; });
    m_screen.withSetup = true;
    m_controller->Start();
    EXPECT_EQ(ready, 0) << "the set-up comes first";
    m_link.setups[0](true);
    EXPECT_EQ(ready, 1);
    Exchange(1);
    EXPECT_EQ(ready, 2);
    Exchange(0);
    EXPECT_EQ(ready, 3);
    ASSERT_TRUE(m_controller->Pump());
    m_controller->Close();
    EXPECT_FALSE(m_controller->TakeResult(1)) << "a closed screen takes no late reply";
    EXPECT_EQ(ready, 3);
}
