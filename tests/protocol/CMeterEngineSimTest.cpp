#include "model/CModelTable.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "platform/CAppPaths.h"
#include "protocol/CLoggingDownload.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"

#include "CRecordingReceiver.h"
#include "support/CDeviceSandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <sstream>
#include <thread>

// The real engine and transports against the virtual sensor, over the USB pipes (no write
// pause) and over a pseudo-terminal registered as a COM port.
class EngineWithVirtualSensorTest : public ::testing::Test {
protected:
    void SetUp() override {
        CAppPaths::OverrideExecutableDirectory(m_devices.Path());
        m_profile = std::make_unique<CSettingProfile>();
        m_receiver.RegisterAsEveryScreen();
    }

    void TearDown() override {
        m_engine.Disconnect();
        m_sensor.reset();
        m_profile.reset();
        CAppPaths::OverrideExecutableDirectory("");
    }

    VirtualSensorConfig Config(int model) {
        VirtualSensorConfig config;
        config.modelNumber = model;
        config.loggingSpeedUp = 0;
        return config;
    }

    // Starts a sensor on USB and connects the engine to it; the connect result.
    int32_t ConnectUsb(const VirtualSensorConfig& config) {
        m_sensor = std::make_unique<CVirtualSensor>(config);
        if (!m_sensor->StartUsb(UsbVariant::Newer))
            return -100;
        const int32_t result = m_engine.Connect(0);
        if (result == 0)
            m_profile->SetModelNumber(config.modelNumber);
        return result;
    }

    // Starts the sensor logging two channels every second for `records` records; its status then.
    std::optional<CSensorLine::StatusWords> StartLogging(int32_t records) {
        CLoggingSequence::StartValues values;
        values.frequencyHundredths = 240000;
        values.channelMask = 0x05;
        values.intervalSeconds = 1;
        values.recordCount = records;
        if (!m_engine.StartLogging(values) || !m_engine.SetLoggingMode(0))
            return std::nullopt;
        return m_engine.ReadLoggingStatus();
    }

    // One exchange; the hand-over's state, or -1 when none came.
    int32_t ExchangeState(int32_t mode, uint32_t timeoutMs = 500) {
        const size_t before = m_receiver.Calls().size();
        if (!m_engine.Request({mode, 245000, timeoutMs, m_profile->GetModelNumber(), 0}))
            return -1;
        if (!m_receiver.WaitFor(before + 1, 20000))
            return -1;
        std::istringstream call(m_receiver.Calls().back());
        std::string handler;
        int32_t state = -1;
        call >> handler >> state;
        return state;
    }

    CDeviceSandbox m_devices;
    std::unique_ptr<CSettingProfile> m_profile;
    CMeterEngine m_engine;
    CRecordingReceiver m_receiver{m_engine};
    std::unique_ptr<CVirtualSensor> m_sensor;
};

// Every exchange the engine knows for a model: a forward-reverse sensor has its own command for
// AVG with REV and for PEAK, the others one command per quantity.
static std::vector<int32_t> ExchangeModes(int model) {
    if (CModelTable::HasForwardReverse(model))
        return {CMeterEngine::ModeForwardReverse, CMeterEngine::ModePeak, CMeterEngine::ModePulse,
                CMeterEngine::ModeCcdf};
    return {CMeterEngine::ModeAvg, CMeterEngine::ModePeak, CMeterEngine::ModeRev, CMeterEngine::ModePulse,
            CMeterEngine::ModeCcdf};
}

TEST_F(EngineWithVirtualSensorTest, EveryModelIdentifiesAndAnswersItsModeTable) {
    for (const SensorModel& model : CModelTable::Rows()) {
        SCOPED_TRACE(model.number);
        ASSERT_EQ(ConnectUsb(Config(model.number)), 0);
        EXPECT_EQ(m_engine.GetIdentificationCode(), model.code);
        for (int32_t mode : ExchangeModes(model.number))
            EXPECT_EQ(ExchangeState(mode), 1) << "mode " << mode;
        m_engine.Disconnect();
        m_sensor.reset();
    }
}

TEST_F(EngineWithVirtualSensorTest, UnsupportedIdentificationCodeIsRefused) {
    VirtualSensorConfig config = Config(0);
    config.identificationCode = 9;
    EXPECT_EQ(ConnectUsb(config), -3);
    EXPECT_FALSE(m_engine.IsConnected());
}

TEST_F(EngineWithVirtualSensorTest, ReconnectAfterAFailedOpen) {
    EXPECT_EQ(m_engine.Connect(0), -2);
    EXPECT_EQ(ConnectUsb(Config(1)), 0);
    EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg), 1);
}

TEST_F(EngineWithVirtualSensorTest, LoggedDataIsDownloadedIntoTheRecords) {
    ASSERT_EQ(ConnectUsb(Config(5)), 0);
    const auto status = StartLogging(10);
    ASSERT_TRUE(status);
    EXPECT_EQ((*status)[0], 0x05);
    EXPECT_EQ((*status)[6], 20);

    CLoggingDownload download(m_engine, *status);
    ASSERT_TRUE(download.CanFetch());
    CRecordStore records;
    EXPECT_EQ(download.Download(records, false), CLoggingDownload::Downloaded);
    EXPECT_EQ(records.Count(ChannelAvg), 10);
    EXPECT_EQ(records.Count(ChannelRev), 10);
    EXPECT_GT(records.Series(ChannelAvg)[0], records.Series(ChannelRev)[0]);
}

TEST_F(EngineWithVirtualSensorTest, SerialLinkIdentifiesAndMeasures) {
    m_sensor = std::make_unique<CVirtualSensor>(Config(4));
    const int port = m_sensor->StartSerial();
    ASSERT_GT(port, 0) << m_sensor->LastError();
    ASSERT_EQ(m_engine.Connect(port), 0);
    m_profile->SetModelNumber(4);
    EXPECT_EQ(m_engine.GetIdentificationCode(), 8);
    EXPECT_EQ(ExchangeState(CMeterEngine::ModePeak), 1);

    m_sensor->SetFault({SensorFault::Garbage, 3});
    EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg, 200), 0);
}

TEST_F(EngineWithVirtualSensorTest, LostLinkFailsTheExchangeAndDisconnectStillReturns) {
    ASSERT_EQ(ConnectUsb(Config(6)), 0);
    m_sensor->SetFault({SensorFault::Disconnect, 1});
    EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg), 1);
    EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg), 0);
    m_engine.Disconnect();
    EXPECT_FALSE(m_engine.IsConnected());
}

TEST_F(EngineWithVirtualSensorTest, ALostSensorIsReopenedAndOnlyTheSameOneResumes) {
    const auto waitUntil = [](const auto& condition) {
        for (int waited = 0; waited < 8000 && !condition(); waited += 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return condition();
    };
    VirtualSensorConfig config = Config(1);
    config.usbDeviceName = "sensor";
    ASSERT_EQ(ConnectUsb(config), 0);
    m_engine.SetAutoReconnect(true);
    EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg), 1);
    m_sensor.reset();
    for (int failure = 0; failure < CMeterEngine::kLostAfterFailures; ++failure)
        EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg), 0);
    EXPECT_TRUE(m_engine.IsLinkLost());
    EXPECT_TRUE(m_engine.IsConnected()) << "the connection is kept while the link is reopened";
    EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg), -1) << "nothing is asked of a lost sensor";

    VirtualSensorConfig other = config;
    other.serialNumber = config.serialNumber + 1;
    m_sensor = std::make_unique<CVirtualSensor>(other);
    ASSERT_TRUE(m_sensor->StartUsb(UsbVariant::Newer));
    EXPECT_TRUE(waitUntil([&] { return m_engine.IsOtherSensorOnPort(); }));
    EXPECT_TRUE(m_engine.IsLinkLost()) << "another sensor never continues the measurement";

    m_sensor = std::make_unique<CVirtualSensor>(config);
    ASSERT_TRUE(m_sensor->StartUsb(UsbVariant::Newer));
    EXPECT_TRUE(waitUntil([&] { return !m_engine.IsLinkLost(); }));
    EXPECT_FALSE(m_engine.IsOtherSensorOnPort());
    EXPECT_EQ(ExchangeState(CMeterEngine::ModeAvg), 1);
}

// Two sensors at once, each with an engine and a worker of its own: neither sees the other's
// identity, requests or readings.
TEST_F(EngineWithVirtualSensorTest, TwoEnginesMeasureTwoSensorsSideBySide) {
    ASSERT_EQ(ConnectUsb(Config(0)), 0);
    CVirtualSensor secondSensor(Config(1));
    const int port = secondSensor.StartSerial();
    ASSERT_GT(port, 0) << secondSensor.LastError();
    CMeterEngine second;
    CRecordingReceiver secondReceiver{second};
    secondReceiver.RegisterAsEveryScreen();
    ASSERT_EQ(second.Connect(port), 0);
    EXPECT_EQ(second.GetIdentificationCode(), CModelTable::FindByNumber(1)->code);
    EXPECT_EQ(m_engine.GetIdentificationCode(), CModelTable::FindByNumber(0)->code);

    const auto ticket = second.Request({CMeterEngine::ModeAvg, 245000, 1000, 1, 0});
    ASSERT_NE(ticket, nullptr);
    EXPECT_EQ(ExchangeState(CMeterEngine::ModePeak), 1);
    ASSERT_TRUE(secondReceiver.WaitFor(1, 20000));
    EXPECT_TRUE(ticket->IsAnswered());
    EXPECT_EQ(secondReceiver.Calls().front().rfind("avg 1 ", 0), 0u) << secondReceiver.Calls().front();
    EXPECT_EQ(m_receiver.Calls().size(), 1u) << "the first engine saw only its own reading";
    second.Disconnect();
}
