#include "protocol/CMeterEngine.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "platform/CAppPaths.h"
#include "platform/CLittleEndian.h"
#include "platform/CLocalTime.h"
#include "protocol/CLoggingDownload.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CReplyParser.h"

#include "CRecordingReceiver.h"
#include "CReplyBytes.h"
#include "CScriptedDevice.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <thread>

using Bytes = std::vector<uint8_t>;

// A sensor that answers every command correctly unless a reply is overridden.
struct SScriptedSensor {
    int32_t code = 10;
    int32_t firmware = 295;
    std::vector<int32_t> peakValues = std::vector<int32_t>(11, -3000);
    std::vector<int32_t> statusWords = std::vector<int32_t>(11, 0);
    Bytes loggedData = CReplyBytes::Blocks('D', 512);
    std::map<std::string, Bytes> overrides;

    Bytes Answer(const Bytes& frame) const {
        const std::string mnemonic(frame.begin() + 1, frame.begin() + 3);
        if (auto found = overrides.find(mnemonic); found != overrides.end())
            return found->second;
        if (mnemonic == "GD")
            return CReplyBytes::Short('D', code);
        if (mnemonic == "GV")
            return CReplyBytes::Short('V', firmware);
        if (mnemonic == "GS")
            return CReplyBytes::Short('S', 4711);
        if (mnemonic == "GA")
            return CReplyBytes::Short('P', 1234);
        if (mnemonic == "GF")
            return CReplyBytes::Short('P', 2000);
        if (mnemonic == "GR")
            return CReplyBytes::Short('W', 500);
        if (mnemonic == "GE")
            return CReplyBytes::MultiValue('P', {3000, 1000});
        if (mnemonic == "GP")
            return CReplyBytes::MultiValue('P', peakValues);
        if (mnemonic == "GU")
            return CReplyBytes::MultiValue('P', {-100, 1, 2, 3, 4});
        if (mnemonic == "GK")
            return Histogram();
        if (mnemonic == "AS")
            return CReplyBytes::MultiValue('G', statusWords);
        if (mnemonic == "AD")
            return loggedData;
        return CReplyBytes::Acknowledgement();
    }

    Bytes Histogram() const {
        const uint32_t size = firmware > 294 ? 1536 : firmware >= 291 ? 7680 : 6144;
        Bytes bytes = CReplyBytes::Blocks('C', size);
        CReplyBytes::PutWord(bytes, 2, 5);
        CReplyBytes::PutWord(bytes, 4, 7);
        return bytes;
    }
};

class MeterEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        CAppPaths::OverrideExecutableDirectory(m_directory.Path());
        m_profile = std::make_unique<CSettingProfile>();
        m_receiver.RegisterAsEveryScreen();
        m_engine.SetTransportFactory([this](int32_t) {
            auto answer = [this](const Bytes& frame) {
                m_heard.emplace_back(frame.begin() + 1, frame.begin() + 3);
                if (m_heard.back() == m_gatedMnemonic) {
                    m_gatedMnemonic.clear();
                    m_gateEntered.set_value();
                    m_gateRelease.get_future().wait();
                }
                return m_sensor.Answer(frame);
            };
            auto device = std::make_unique<CScriptedDevice>(answer, m_opens);
            m_device = device.get();
            return device;
        });
    }

    void TearDown() override {
        m_engine.Disconnect();
        m_profile.reset();
        CAppPaths::OverrideExecutableDirectory("");
    }

    void ConnectModel(int32_t model, int32_t code) {
        m_sensor.code = code;
        ASSERT_EQ(m_engine.Connect(3), 0);
        m_profile->SetModelNumber(model);
    }

    // A request as the screens make it, for the profile's sensor.
    std::shared_ptr<CRequestTicket> Request(int32_t mode, int32_t argument, uint32_t timeoutMs) {
        return m_engine.Request({mode, argument, timeoutMs, m_profile->GetModelNumber(),
                                 CMeterCommand::Hundredths(m_profile->GetExtOffset())});
    }

    // Runs one requested exchange and returns the receiver's record of it.
    std::string Exchange(int32_t mode, uint32_t timeoutMs = 200) {
        const size_t before = m_receiver.Calls().size();
        EXPECT_NE(Request(mode, 245000, timeoutMs), nullptr);
        if (!m_receiver.WaitFor(before + 1, 5000))
            return "no hand-over";
        return m_receiver.Calls().back();
    }

    bool WaitForFrames(size_t count) {
        for (int i = 0; i < 2500; ++i) {
            if (m_device->Frames().size() >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    // A histogram asked for that never comes: the worker waits out the 50-second time-out of
    // the older firmware; true once the request is on the line.
    bool StartUnansweredHistogram() {
        m_sensor.firmware = 290;
        m_sensor.overrides["GK"] = {};
        ConnectModel(0, 4);
        return Request(CMeterEngine::ModeCcdf, 1, 500) != nullptr && WaitForFrames(5);
    }

    CTempDirectory m_directory;
    std::unique_ptr<CSettingProfile> m_profile;
    SScriptedSensor m_sensor;
    bool m_opens = true;
    std::vector<std::string> m_heard; // only read once the worker is stopped
    // The answer to this command waits until the test releases it.
    std::string m_gatedMnemonic;
    std::promise<void> m_gateEntered;
    std::promise<void> m_gateRelease;
    CMeterEngine m_engine;
    CRecordingReceiver m_receiver{m_engine};
    CScriptedDevice* m_device = nullptr;
};

static int32_t ArgumentOf(const Bytes& frame) {
    return frame.size() == 8 ? CLittleEndian::ReadInt32(frame.data() + 3) : 0;
}

TEST_F(MeterEngineTest, ConnectIdentifiesTheSensorAndDisconnectForgetsIt) {
    ConnectModel(5, 10);
    EXPECT_TRUE(m_engine.IsConnected());
    EXPECT_EQ(m_engine.GetIdentificationCode(), 10);
    EXPECT_EQ(m_engine.GetFirmwareVersion(), 295);
    EXPECT_EQ(m_engine.GetSerialNumber(), 4711);
    EXPECT_EQ(m_device->Mnemonics(), (std::vector<std::string>{"GD", "GV", "GS"}));

    EXPECT_EQ(m_engine.Connect(3), -1);
    EXPECT_EQ(m_engine.GetSerialNumber(), 4711);

    m_engine.Disconnect();
    EXPECT_FALSE(m_engine.IsConnected());
    EXPECT_EQ(m_engine.GetIdentificationCode(), -1);
    EXPECT_EQ(m_engine.GetSerialNumber(), -1);
    EXPECT_EQ(Request(0, 1, 10), nullptr);
}

TEST_F(MeterEngineTest, UnknownIdentificationCodeOrWrongReplyKindRefusesTheSensor) {
    m_sensor.code = 9;
    EXPECT_EQ(m_engine.Connect(3), -3);
    EXPECT_FALSE(m_engine.IsConnected());
    EXPECT_EQ(m_heard, (std::vector<std::string>{"GD"}));

    m_sensor.code = 10;
    m_sensor.overrides["GV"] = CReplyBytes::Short('S', 295);
    EXPECT_EQ(m_engine.Connect(3), -3);
    m_sensor.overrides.clear();
    EXPECT_EQ(m_engine.Connect(3), 0);
}

TEST_F(MeterEngineTest, FailedOpenLeavesNoTransportAndALaterConnectSucceeds) {
    m_opens = false;
    EXPECT_EQ(m_engine.Connect(7), -2);
    EXPECT_FALSE(m_engine.IsConnected());
    EXPECT_EQ(Request(0, 1, 10), nullptr);
    m_opens = true;
    EXPECT_EQ(m_engine.Connect(7), 0);
}

TEST_F(MeterEngineTest, ExchangesFollowTheModelsCommandTable) {
    ConnectModel(0, 4);
    EXPECT_EQ(Exchange(CMeterEngine::ModeAvg), "avg 1 1234");
    EXPECT_EQ(Exchange(CMeterEngine::ModePeak), "peak 1 2000");
    EXPECT_EQ(Exchange(CMeterEngine::ModeRev), "rev 1 500");
    EXPECT_EQ(Exchange(CMeterEngine::ModePulse), "pulse 1 -100 1 2 3 4");
    EXPECT_EQ(Exchange(CMeterEngine::ModeForwardReverse), "fwdrev 0 -1 -1");

    m_profile->SetModelNumber(5);
    EXPECT_EQ(Exchange(CMeterEngine::ModeForwardReverse), "fwdrev 1 3000 1000");
    EXPECT_EQ(Exchange(CMeterEngine::ModeAvg), "avg 0 -1");

    const std::vector<std::string> sent = m_device->Mnemonics();
    EXPECT_EQ(std::vector<std::string>(sent.begin() + 3, sent.end()),
              (std::vector<std::string>{"GA", "GF", "GR", "GU", "GE"}));
    EXPECT_EQ(ArgumentOf(m_device->Frames()[3]), 245000);
}

TEST_F(MeterEngineTest, PeakOfModelFiveIsSelectedAcrossExchanges) {
    ConnectModel(5, 10);
    m_sensor.peakValues[0] = -500;
    EXPECT_EQ(Exchange(CMeterEngine::ModePeak), "peak 1 -1");
    EXPECT_EQ(Exchange(CMeterEngine::ModePeak), "peak 1 -500");
    EXPECT_EQ(m_device->Mnemonics().back(), "GP");
}

TEST_F(MeterEngineTest, FailedOrInvalidRepliesReachTheScreenAsNoReading) {
    ConnectModel(0, 4);
    m_sensor.overrides["GA"] = {};
    EXPECT_EQ(Exchange(CMeterEngine::ModeAvg, 20), "avg 0 -1");
    m_sensor.overrides["GA"] = CReplyBytes::Short('X', 5);
    EXPECT_EQ(Exchange(CMeterEngine::ModeAvg), "avg 0 -1");
    Bytes peak = CReplyBytes::MultiValue('P', std::vector<int32_t>(11, 1));
    peak[57] = 'x';
    m_profile->SetModelNumber(5);
    m_sensor.overrides["GP"] = peak;
    EXPECT_EQ(Exchange(CMeterEngine::ModePeak), "peak 0 -1");
}

TEST_F(MeterEngineTest, ConnectAndJobsRunOnTheWorkerWithoutHoldingUpTheCaller) {
    m_sensor.code = 4;
    m_gatedMnemonic = "GD";
    std::promise<int32_t> connected;
    m_engine.ConnectAsync(3, [&connected](int32_t result) { connected.set_value(result); });
    m_gateEntered.get_future().wait(); // the caller got here while the sensor is still silent
    // The line is busy: a sender from outside the worker gives up after its limit.
    EXPECT_FALSE(m_engine.SetTechnology(0));
    m_gateRelease.set_value();
    ASSERT_EQ(connected.get_future().get(), 0);

    std::promise<bool> acknowledged;
    m_engine.Run<bool>([this] { return m_engine.SetLoggingMode(0); },
                       [&acknowledged](bool ok) { acknowledged.set_value(ok); }, false);
    EXPECT_TRUE(acknowledged.get_future().get());
    EXPECT_EQ(m_device->Mnemonics().back(), "AR");

    m_engine.Disconnect();
    bool abandoned = true;
    m_engine.Run<bool>([] { return true; }, [&abandoned](bool ok) { abandoned = ok; }, false);
    EXPECT_FALSE(abandoned);
}

TEST_F(MeterEngineTest, OnlyARequestWhoseTicketIsKeptIsHandedOverAndOnlyToAnOpenScreen) {
    ConnectModel(0, 4);
    m_gatedMnemonic = "GA";
    const auto dropped = Request(CMeterEngine::ModeAvg, 1, 1000);
    ASSERT_NE(dropped, nullptr);
    m_gateEntered.get_future().wait();
    const auto replaced = Request(CMeterEngine::ModeRev, 1, 200);
    const auto kept = Request(CMeterEngine::ModePeak, 1, 200);
    EXPECT_TRUE(replaced->IsDropped()) << "replaced before the worker took it: never answered";
    EXPECT_FALSE(dropped->Drop()) << "the screen was switched while the reply was on its way";
    m_gateRelease.set_value();
    ASSERT_TRUE(m_receiver.WaitFor(1, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(m_receiver.Calls(), (std::vector<std::string>{"peak 1 2000"}));
    EXPECT_TRUE(kept->IsAnswered());

    m_engine.Sinks().Set(CReadingSinks::Kind::Measurement, nullptr);
    const auto unheard = Request(CMeterEngine::ModeAvg, 1, 200);
    ASSERT_NE(unheard, nullptr);
    for (int i = 0; i < 2500 && !unheard->IsDropped(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_TRUE(unheard->IsDropped()) << "nobody took it, so its asker may ask again";
    EXPECT_EQ(Exchange(CMeterEngine::ModePulse), "pulse 1 -100 1 2 3 4");
    EXPECT_EQ(m_receiver.Calls().size(), 2u);
}

TEST_F(MeterEngineTest, HistogramFormatFollowsTheFirmware) {
    m_sensor.firmware = 290;
    ConnectModel(0, 4);
    EXPECT_EQ(Exchange(CMeterEngine::ModeCcdf), "ccdf 1");
    EXPECT_EQ(m_receiver.LastHistogram(), (PowerHistogram{{2176, 5}, {2177, 7}}));
    const std::vector<Bytes> frames = m_device->Frames();
    EXPECT_EQ(frames[frames.size() - 2], (Bytes{'[', 'G', 'C', 0x08, 0xBD, 0x03, 0x00, ']'}));
    EXPECT_EQ(frames.back(), (Bytes{'[', 'G', 'K', ']'}));
    m_engine.Disconnect();

    m_sensor.firmware = 295;
    ConnectModel(5, 10);
    m_profile->SetExtOffset(1.5f);
    EXPECT_EQ(Exchange(CMeterEngine::ModeCcdf), "ccdf 1");
    EXPECT_EQ(m_receiver.LastHistogram(), (PowerHistogram{{150, 5}, {160, 7}}));

    m_sensor.overrides["GK"] = CReplyBytes::Blocks('D', 1536);
    EXPECT_EQ(Exchange(CMeterEngine::ModeCcdf), "ccdf 0");
    EXPECT_TRUE(m_receiver.LastHistogram().empty());

    // An unacknowledged frequency would give the histogram of the wrong signal: no "[GK]".
    m_sensor.overrides["GC"] = CReplyBytes::Short('P', 1);
    const size_t sent = m_device->Frames().size();
    EXPECT_EQ(Exchange(CMeterEngine::ModeCcdf), "ccdf 0");
    EXPECT_EQ(m_device->Frames().size(), sent + 1);
}

TEST_F(MeterEngineTest, DisconnectEndsALongHistogramWaitWithinFiveSeconds) {
    ASSERT_TRUE(StartUnansweredHistogram());

    const auto start = std::chrono::steady_clock::now();
    m_engine.Disconnect();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5000));
    EXPECT_FALSE(m_engine.IsConnected());
    EXPECT_TRUE(m_receiver.Calls().empty());
    // The engine is usable again: the cancelled transport is gone.
    m_sensor.overrides.clear();
    ConnectModel(0, 4);
    EXPECT_EQ(Exchange(CMeterEngine::ModeAvg), "avg 1 1234");
}

TEST_F(MeterEngineTest, DisconnectAsyncReturnsWhileTheExchangeEndsAndTellsWhenThePortIsFree) {
    ASSERT_TRUE(StartUnansweredHistogram());

    std::promise<std::thread::id> released;
    m_engine.DisconnectAsync([&released] { released.set_value(std::this_thread::get_id()); });
    // The worker still waits for the histogram until the grace is over.
    EXPECT_TRUE(m_engine.IsDisconnecting());
    EXPECT_FALSE(m_engine.IsConnected());
    std::future<std::thread::id> done = released.get_future();
    ASSERT_EQ(done.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_NE(done.get(), std::this_thread::get_id());
    EXPECT_FALSE(m_engine.IsDisconnecting());
    m_sensor.overrides.clear();
    ConnectModel(0, 4);
    EXPECT_EQ(Exchange(CMeterEngine::ModeAvg), "avg 1 1234");
}

TEST_F(MeterEngineTest, LoggingSetUpSendsEveryCommandEvenAfterAFailure) {
    ConnectModel(5, 10);
    CLoggingSequence::StartValues values;
    values.offsetHundredths = -150;
    values.frequencyHundredths = 240000;
    values.channelMask = 0x05;
    values.intervalSeconds = 40;
    values.recordCount = 225;
    values.technologyIndex = 1;
    values.periodIndex = 2;
    values.reference = -300;
    m_sensor.overrides["AT"] = {'[', 'T', ',', ']', 0x0A};
    EXPECT_FALSE(m_engine.StartLogging(values));

    const std::vector<Bytes> frames = m_device->Frames();
    const std::vector<Bytes> logging(frames.begin() + 3, frames.end());
    const std::vector<CLoggingSequence::Step> expected = CLoggingSequence::Start(values);
    ASSERT_EQ(logging.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto frame = CMeterCommand::Parameter(expected[i].mnemonic, expected[i].argument);
        EXPECT_EQ(logging[i], Bytes(frame.begin(), frame.end())) << expected[i].mnemonic;
    }
    m_sensor.overrides.clear();
    EXPECT_TRUE(m_engine.StartLogging(values));
}

TEST_F(MeterEngineTest, SetUpSendersAndTheReversePowerCheck) {
    ConnectModel(5, 10);
    EXPECT_TRUE(m_engine.SetAveraging(5, 4));
    EXPECT_TRUE(m_engine.SetAveraging(6, 4));
    EXPECT_TRUE(m_engine.SetPulsePeriodAndReference(7, 0));
    const std::vector<Bytes> frames = m_device->Frames();
    std::vector<std::string> sent;
    for (size_t i = 3; i < frames.size(); ++i)
        sent.push_back(std::string(frames[i].begin() + 1, frames[i].begin() + 3) + " " +
                       std::to_string(ArgumentOf(frames[i])));
    EXPECT_EQ(sent, (std::vector<std::string>{"ST 8", "SN 2000", "SZ 4", "SO 0", "SZ 4", "SU 16", "SR 600"}));

    EXPECT_EQ(m_engine.CheckReversePower(245000).verdict, CMeterEngine::ReverseBelowForward);
    m_sensor.overrides["GE"] = CReplyBytes::MultiValue('P', {1000, 1200});
    const CMeterEngine::SReverseCheck above = m_engine.CheckReversePower(245000);
    EXPECT_EQ(above.verdict, CMeterEngine::ReverseAboveForward);
    EXPECT_EQ(above.forward, 1000);
    EXPECT_EQ(above.reverse, 1200);
    // A reading that fails is reported as such, not as the comparison of the last good one.
    m_sensor.overrides["GE"] = CReplyBytes::Short('P', 1);
    const CMeterEngine::SReverseCheck failed = m_engine.CheckReversePower(245000);
    EXPECT_EQ(failed.verdict, CMeterEngine::ReverseCheckFailed);
    EXPECT_EQ(failed.forward, -1);
    m_sensor.overrides["SO"] = CReplyBytes::Short('P', 1);
    EXPECT_FALSE(m_engine.SetTechnology(0));
}

TEST_F(MeterEngineTest, DownloadDistributesTheLoggedSamplesOverTheChannels) {
    ConnectModel(5, 10);
    m_sensor.statusWords[0] = 0x15; // a bit beyond the four logging bits names nothing logged
    m_sensor.statusWords[6] = 3;
    CReplyBytes::PutWord(m_sensor.loggedData, 2, 4000);
    CReplyBytes::PutWord(m_sensor.loggedData, 4, 1000);
    CReplyBytes::PutWord(m_sensor.loggedData, 6, 4100);
    CRecordStore records;
    records.AddValue(ChannelPeak, 1.0f);

    const auto status = m_engine.ReadLoggingStatus();
    ASSERT_TRUE(status);
    CLoggingDownload download(m_engine, *status);
    EXPECT_EQ(download.LoggedChannelMask(), 0x05);
    EXPECT_TRUE(download.CanFetch());
    EXPECT_EQ(download.Download(records, false), CLoggingDownload::Downloaded);
    EXPECT_EQ(m_device->Mnemonics().back(), "AD");
    EXPECT_EQ(ArgumentOf(m_device->Frames().back()), 1);

    EXPECT_EQ(records.Count(ChannelPeak), 0);
    ASSERT_EQ(records.Count(ChannelAvg), 2);
    EXPECT_FLOAT_EQ(records.Series(ChannelAvg)[1], 41.0f);
    ASSERT_EQ(records.Count(ChannelRev), 1);
    EXPECT_FLOAT_EQ(records.Series(ChannelRev)[0], 10.0f);
    // The history starts when the data came, not at the last live Start.
    EXPECT_GE(records.StartTime(), CLocalTime::Now() - 60);
}

TEST_F(MeterEngineTest, DownloadRefusalsLeaveTheRecordsAlone) {
    ConnectModel(5, 10);
    CRecordStore records;
    records.AddValue(ChannelAvg, 1.0f);
    const auto withStatus = [&](int32_t mask, int32_t samples) {
        m_sensor.statusWords[0] = mask;
        m_sensor.statusWords[6] = samples;
        const auto status = m_engine.ReadLoggingStatus();
        EXPECT_TRUE(status);
        return CLoggingDownload(m_engine, status.value_or(CSensorLine::StatusWords{}));
    };

    m_sensor.statusWords[1] = 1;
    CLoggingDownload held = withStatus(0x01, 0);
    EXPECT_EQ(held.Download(records, false), CLoggingDownload::NothingLogged);
    EXPECT_FALSE(held.CanFetch());
    m_sensor.statusWords[1] = 0;
    EXPECT_EQ(withStatus(0x01, -4).Download(records, false), CLoggingDownload::NothingLogged);
    CLoggingDownload noChannel = withStatus(0x10, 5);
    EXPECT_EQ(noChannel.Download(records, false), CLoggingDownload::NothingLogged);
    EXPECT_FALSE(noChannel.CanFetch());
    // Beyond the reply buffer.
    EXPECT_EQ(withStatus(0x01, 250 * 600).Download(records, false), CLoggingDownload::Failed);
    EXPECT_EQ(m_device->Mnemonics().back(), "AS");
    EXPECT_EQ(records.Count(ChannelAvg), 1);

    // A reply that fails to decode leaves the records as they were too.
    m_sensor.loggedData = CReplyBytes::Blocks('C', 512);
    EXPECT_EQ(withStatus(0x01, 5).Download(records, false), CLoggingDownload::Failed);
    EXPECT_EQ(m_device->Mnemonics().back(), "AD");
    EXPECT_EQ(records.Count(ChannelAvg), 1);
}

TEST(LoggingDownloadTest, SerialTimeOutGrowsWithTheByteCount) {
    EXPECT_EQ(CLoggingDownload::TimeoutFor(1024, false), 1000u);
    EXPECT_EQ(CLoggingDownload::TimeoutFor(1024, true), 1000u + 2048u);
    // The default set-up logs 900 samples: 4 blocks, beyond what 1000 ms carries at 9600 baud.
    EXPECT_GT(CLoggingDownload::TimeoutFor(4 * 512, true), 4 * 512 * 10 * 1000 / 9600);
}

// A screen's request cycle runs as one batch, handed over together and cut short by a failure.
TEST_F(MeterEngineTest, ABatchRunsBackToBackAndEndsAtItsFirstFailure) {
    ConnectModel(0, 4);
    CMeterEngine::SRequest cycle{
        CMeterEngine::ModeAvg, 245000, 200, 0, 0, 0, {CMeterEngine::ModePeak, CMeterEngine::ModeRev}};
    const auto whole = m_engine.Request(cycle);
    ASSERT_TRUE(m_receiver.WaitForBatches(1, 5000));
    EXPECT_EQ(m_receiver.Calls(), (std::vector<std::string>{"avg 1 1234", "peak 1 2000", "rev 1 500"}));
    EXPECT_EQ(m_receiver.BatchEnds(), std::vector<size_t>{3});
    EXPECT_EQ(whole->Drop(), 3);

    m_sensor.overrides["GF"] = {};
    const auto cut = m_engine.Request(cycle);
    ASSERT_TRUE(m_receiver.WaitForBatches(2, 5000));
    EXPECT_EQ(m_receiver.BatchEnds(), (std::vector<size_t>{3, 5}));
    EXPECT_EQ(m_receiver.Calls().back(), "peak 0 -1");
    EXPECT_EQ(m_device->Mnemonics().back(), "GF") << "nothing asked after the failure";
    EXPECT_EQ(cut->Drop(), 2);

    cycle.followedBy = {CMeterEngine::ModePulse, -1};
    EXPECT_EQ(m_engine.Request(cycle), nullptr) << "one screen takes a batch";
}

// The worker paces a measuring screen: each exchange begins no sooner than the pace after the
// previous one, while a set-up queued meanwhile is not held back by it.
TEST_F(MeterEngineTest, TheWorkerPacesExchangesButNotJobs) {
    ConnectModel(0, 4);
    const auto paced = [this] {
        const size_t before = m_receiver.Calls().size();
        EXPECT_NE(m_engine.Request({CMeterEngine::ModeAvg, 245000, 200, 0, 0, 150}), nullptr);
        return m_receiver.WaitFor(before + 1, 5000);
    };
    ASSERT_TRUE(paced());
    const auto first = std::chrono::steady_clock::now();
    ASSERT_TRUE(paced());
    EXPECT_GE(std::chrono::steady_clock::now() - first, std::chrono::milliseconds(140));

    EXPECT_NE(m_engine.Request({CMeterEngine::ModeAvg, 245000, 200, 0, 0, 2000}), nullptr);
    std::promise<bool> setUp;
    m_engine.Run<bool>([this] { return m_engine.SetTechnology(0); }, [&](bool ok) { setUp.set_value(ok); },
                       false);
    auto done = setUp.get_future();
    EXPECT_EQ(done.wait_for(std::chrono::milliseconds(1500)), std::future_status::ready)
        << "the job ran within the pace";
}
