// The remote control's instrument against a virtual sensor: what the model lacks is refused
// without an exchange, FETCh never asks the sensor, settings out of range change nothing.
#include "appcore/CEngineScpiInstrument.h"
#include "appcore/CScpiErrorQueue.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using Quantity = CScpiInstrument::Quantity;

class EngineScpiInstrument : public ::testing::Test {
protected:
    void TearDown() override {
        m_engine.Disconnect();
        ::unsetenv("PELMORA_USB_DIR");
    }
    // A still signal on a virtual sensor of the model, served from 2450.7 MHz.
    void Start(int model) {
        std::filesystem::create_directories(m_directory.File("usb"));
        ::setenv("PELMORA_USB_DIR", m_directory.File("usb").c_str(), 1);
        VirtualSensorConfig config;
        config.modelNumber = model;
        config.signal.noiseDb = 0.0;
        m_sensor = std::make_unique<CVirtualSensor>(config);
        ASSERT_TRUE(m_sensor->StartUsb(UsbVariant::Newer)) << m_sensor->LastError();
        ASSERT_EQ(m_engine.Connect(0), 0);
        CEngineScpiInstrument::SSetup setup;
        setup.modelNumber = model;
        setup.readings.technology = 7;
        setup.readings.frequencyMHz = 2450.7f;
        m_instrument = std::make_unique<CEngineScpiInstrument>(m_engine, setup);
    }

    CTempDirectory m_directory;
    std::unique_ptr<CVirtualSensor> m_sensor;
    CMeterEngine m_engine;
    std::unique_ptr<CEngineScpiInstrument> m_instrument;
};

TEST_F(EngineScpiInstrument, MeasuresWhatTheModelHasAndFetchesWithoutAnExchange) {
    Start(3); // peak power only
    double value = 0.0;
    const uint64_t before = m_sensor->CommandsReceived();
    for (const Quantity lacking : {Quantity::Average, Quantity::Reverse, Quantity::Vswr})
        EXPECT_EQ(m_instrument->Measure(lacking, true, value).error, CScpiErrorQueue::SettingsConflict);
    CScpiInstrument::SPulse pulse;
    EXPECT_EQ(m_instrument->MeasurePulse(true, pulse).error, CScpiErrorQueue::SettingsConflict);
    EXPECT_EQ(m_instrument->Measure(Quantity::Peak, false, value).error, CScpiErrorQueue::DataStale);
    EXPECT_EQ(m_sensor->CommandsReceived(), before);

    ASSERT_EQ(m_instrument->Measure(Quantity::Peak, true, value).error, 0);
    EXPECT_DOUBLE_EQ(value, 48.0); // level plus crest
    ASSERT_EQ(m_instrument->SetOffsetDb(-1.5).error, 0);
    const uint64_t measured = m_sensor->CommandsReceived();
    ASSERT_EQ(m_instrument->Measure(Quantity::Peak, false, value).error, 0);
    EXPECT_DOUBLE_EQ(value, 48.0);
    EXPECT_EQ(m_sensor->CommandsReceived(), measured);
    ASSERT_EQ(m_instrument->Measure(Quantity::Peak, true, value).error, 0);
    EXPECT_DOUBLE_EQ(value, 46.5);
}

TEST_F(EngineScpiInstrument, PeakToAverageStandsForTheVswrWhereTheModelReportsIt) {
    Start(4);
    double value = 0.0;
    ASSERT_EQ(m_instrument->Measure(Quantity::Vswr, true, value).error, 0);
    EXPECT_DOUBLE_EQ(value, 8.0); // the crest
    ASSERT_EQ(m_instrument->Measure(Quantity::Average, false, value).error, 0);
    EXPECT_DOUBLE_EQ(value, 40.0);
    EXPECT_EQ(m_instrument->Measure(Quantity::Reverse, true, value).error, CScpiErrorQueue::SettingsConflict);
}

TEST_F(EngineScpiInstrument, SettingsOutOfRangeKeepTheOldOnesAndResetRestoresTheStart) {
    Start(3);
    EXPECT_EQ(m_instrument->FrequencyHz(), 2450700000.0); // as typed, not the float's neighbour
    EXPECT_EQ(m_instrument->SetFrequencyHz(6e9).error, CScpiErrorQueue::DataOutOfRange);
    EXPECT_EQ(m_instrument->SetOffsetDb(1000.0).error, CScpiErrorQueue::DataOutOfRange);
    ASSERT_EQ(m_instrument->SetFrequencyHz(915e6).error, 0);
    EXPECT_EQ(m_instrument->FrequencyHz(), 915e6);
    EXPECT_EQ(m_instrument->OffsetDb(), 0.0);
    m_instrument->Reset();
    EXPECT_EQ(m_instrument->FrequencyHz(), 2450700000.0);
}

TEST_F(EngineScpiInstrument, ALostSensorIsAHardwareErrorAndAnAbandonedOneAsksNothing) {
    Start(3);
    double value = 0.0;
    m_sensor->Stop();
    const CScpiInstrument::SOutcome lost = m_instrument->Measure(Quantity::Peak, true, value);
    EXPECT_EQ(lost.error, CScpiErrorQueue::HardwareError);
    EXPECT_FALSE(lost.reason.empty());
    m_instrument->Abandon();
    EXPECT_EQ(m_instrument->Measure(Quantity::Peak, true, value).reason, "serving ended");
}

} // namespace
