#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "CRawHost.h"
#include "sim/CVirtualSensor.h"
#include "support/CDeviceSandbox.h"

namespace {
constexpr uint8_t kCr = 0x0D;
const std::vector<uint8_t> kAck = {'[', 'T', ',', ']', kCr};

class CVirtualSensorTest : public ::testing::Test {
protected:
    CDeviceSandbox m_devices;

    std::unique_ptr<CRawHost> Connect(const VirtualSensorConfig& config) {
        m_sensor = std::make_unique<CVirtualSensor>(config);
        const int com = m_sensor->StartSerial();
        EXPECT_GT(com, 0) << m_sensor->LastError();
        return std::make_unique<CRawHost>(CRawHost::Kind::Serial, m_devices.PortLink(com));
    }

    static VirtualSensorConfig Model(int number, int32_t firmware = 295) {
        VirtualSensorConfig config;
        config.modelNumber = number;
        config.firmwareVersion = firmware;
        config.loggingSpeedUp = 0;
        return config;
    }

    static void ExpectFrame(const std::vector<uint8_t>& reply, size_t length, char letter) {
        ASSERT_EQ(reply.size(), length);
        EXPECT_EQ(reply[0], '[');
        EXPECT_EQ(reply[1], letter);
        EXPECT_EQ(reply[2], ',');
        EXPECT_EQ(reply[length - 2], ']');
        EXPECT_EQ(reply[length - 1], kCr);
    }

    static std::vector<int32_t> Values(const std::vector<uint8_t>& reply, size_t count) {
        std::vector<int32_t> values;
        for (size_t i = 0; i < count; ++i)
            values.push_back(CRawHost::Int32At(reply, 3 + 5 * i));
        return values;
    }

    std::unique_ptr<CVirtualSensor> m_sensor;
};

// Histogram words in the order the program walks them, with the words it skips.
std::map<int32_t, int32_t> WalkHistogram(const std::vector<uint8_t>& reply) {
    const size_t size = reply.size();
    const size_t end = size == 1536 ? 598 : (size - 14) / 2;
    std::map<int32_t, int32_t> bins;
    int32_t key = size == 1536 ? 0 : 2176;
    for (size_t w = 0; w < end; ++w) {
        bool skipped = (w >= 250 && w <= 254) || (w >= 505 && (w - 249) % 256 <= 5);
        if (size != 1536 && w == 2554)
            skipped = false;
        if (size == 7680 && w == 2046)
            skipped = false;
        if (size == 7680 && w >= 3827 && w <= 3832)
            skipped = true;
        if (skipped)
            continue;
        if (const uint16_t count = CRawHost::Uint16At(reply, 2 + 2 * w))
            bins[key] = count;
        key += size == 1536 ? 10 : 1;
    }
    return bins;
}
} // namespace

TEST_F(CVirtualSensorTest, IdentifiesAsEveryModel) {
    const std::map<int, int> codes = {{0, 4},  {1, 5},  {2, 6},  {3, 7}, {4, 8},
                                      {5, 10}, {6, 11}, {8, 13}, {9, 14}};
    for (const auto& [model, code] : codes) {
        VirtualSensorConfig config = Model(model, 105);
        config.serialNumber = 7000 + model;
        auto host = Connect(config);
        const auto identity = host->Exchange(CRawHost::Plain("GD"), 9);
        ExpectFrame(identity, 9, 'D');
        EXPECT_EQ(CRawHost::Int32At(identity, 3), code) << "model " << model;
        const auto firmware = host->Exchange(CRawHost::Plain("GV"), 9);
        ExpectFrame(firmware, 9, 'V');
        EXPECT_EQ(CRawHost::Int32At(firmware, 3), 105);
        const auto serial = host->Exchange(CRawHost::Plain("GS"), 9);
        ExpectFrame(serial, 9, 'S');
        EXPECT_EQ(CRawHost::Int32At(serial, 3), 7000 + model);
        m_sensor->Stop();
    }
}

TEST_F(CVirtualSensorTest, ReportsAChosenCodeEvenIfNoModelHasIt) {
    VirtualSensorConfig config = Model(5);
    config.identificationCode = 9;
    auto host = Connect(config);
    EXPECT_EQ(CRawHost::Int32At(host->Exchange(CRawHost::Plain("GD"), 9), 3), 9);
}

TEST_F(CVirtualSensorTest, ReadingsFollowTheSignalSetting) {
    VirtualSensorConfig config = Model(5);
    config.signal.levelDbm = 43.0;
    config.signal.returnLossDb = 15.0;
    config.signal.crestDb = 9.0;
    auto host = Connect(config);
    const auto average = host->Exchange(CRawHost::WithArgument("GA", 245000), 9);
    ExpectFrame(average, 9, 'P');
    EXPECT_NEAR(CRawHost::Int32At(average, 3), 4300, 50);
    EXPECT_NEAR(CRawHost::Int32At(host->Exchange(CRawHost::WithArgument("GR", 245000), 9), 3), 2800, 50);
    EXPECT_NEAR(CRawHost::Int32At(host->Exchange(CRawHost::WithArgument("GF", 245000), 9), 3), 5200, 50);

    const auto forwardReverse = host->Exchange(CRawHost::WithArgument("GE", 245000), 14);
    ExpectFrame(forwardReverse, 14, 'P');
    const auto pair = Values(forwardReverse, 2);
    EXPECT_GT(pair[0], pair[1]);

    const auto peaks = host->Exchange(CRawHost::WithArgument("GP", 245000), 59);
    ExpectFrame(peaks, 59, 'P');
    for (int32_t peak : Values(peaks, 11)) {
        EXPECT_LE(peak, 5250);
        EXPECT_GT(peak, 4300);
    }

    SignalSetting weaker = config.signal;
    weaker.levelDbm = 30.0;
    m_sensor->SetSignal(weaker);
    EXPECT_NEAR(CRawHost::Int32At(host->Exchange(CRawHost::WithArgument("GA", 245000), 9), 3), 3000, 50);
    EXPECT_EQ(m_sensor->LastArgument("GA"), 245000);
}

TEST_F(CVirtualSensorTest, PulseTimingIsConsistentForEveryPeriodCode) {
    VirtualSensorConfig config = Model(5);
    config.signal.levelDbm = 30.0;
    config.signal.pulsePeriodUs = 1000.0;
    config.signal.pulseDutyPercent = 25.0;
    auto host = Connect(config);
    const std::map<int32_t, double> microsecondsPerCount = {
        {1, 1.207}, {2, 2.622}, {4, 5.557}, {8, 10.82}, {16, 21.6450216450216}};
    for (const auto& [code, scale] : microsecondsPerCount) {
        ASSERT_EQ(host->Exchange(CRawHost::WithArgument("SU", code), 5), kAck);
        const auto reply = host->Exchange(CRawHost::WithArgument("GU", 245000), 29);
        ExpectFrame(reply, 29, 'P');
        const auto values = Values(reply, 5);
        EXPECT_NEAR(values[0], 3602, 50) << "pulse power is the average over the duty cycle";
        EXPECT_NEAR(static_cast<double>(values[1]) / values[2], 0.25, 0.02) << "within a count of the period";
        EXPECT_NEAR(values[1] / static_cast<double>(values[3]) * scale, 250.0, scale);
        EXPECT_EQ(values[4], code);
    }
}

TEST_F(CVirtualSensorTest, AcknowledgesEverySetUpCommand) {
    auto host = Connect(Model(5));
    for (const char* mnemonic :
         {"GC", "SO", "SZ", "ST", "SN", "SU", "SR", "AE", "AF", "AM", "AI", "AN", "AT", "AU", "AR", "AO"})
        EXPECT_EQ(host->Exchange(CRawHost::WithArgument(mnemonic, 1), 5), kAck) << mnemonic;
    EXPECT_TRUE(m_sensor->WaitForCommands(16, 2000));
}

TEST_F(CVirtualSensorTest, HistogramFormatFollowsTheFirmware) {
    const std::map<int32_t, size_t> sizes = {{290, 6144}, {291, 7680}, {294, 7680}, {295, 1536}, {400, 1536}};
    for (const auto& [firmware, size] : sizes) {
        VirtualSensorConfig config = Model(5, firmware);
        config.signal.levelDbm = 38.0;
        config.signal.crestDb = 10.0;
        auto host = Connect(config);
        EXPECT_EQ(host->Exchange(CRawHost::WithArgument("GC", 245000), 5), kAck);
        const auto reply = host->Exchange(CRawHost::Plain("GK"), size);
        ASSERT_EQ(reply.size(), size) << "firmware " << firmware;
        EXPECT_EQ(reply[0], '[');
        EXPECT_EQ(reply[1], 'C');

        int64_t total = 0;
        double linearSum = 0;
        int32_t highest = 0;
        for (const auto& [key, count] : WalkHistogram(reply)) {
            total += count;
            linearSum += count * std::pow(10.0, key / 1000.0);
            highest = key;
        }
        EXPECT_EQ(total, 10000) << "firmware " << firmware;
        EXPECT_NEAR(10.0 * std::log10(linearSum / static_cast<double>(total)), 38.0, 0.3)
            << "firmware " << firmware;
        EXPECT_LE(highest, 4800 + 10);
        EXPECT_GT(highest, 4600) << "the clipped tail reaches the crest";
        m_sensor->Stop();
    }
}

TEST_F(CVirtualSensorTest, LoggerServesStatusAndBlocks) {
    auto host = Connect(Model(5));
    for (const auto& [mnemonic, argument] : std::vector<std::pair<const char*, int32_t>>{
             {"AM", 0x05}, {"AI", 10}, {"AN", 300}, {"AF", 245000}, {"AR", 1}})
        ASSERT_EQ(host->Exchange(CRawHost::WithArgument(mnemonic, argument), 5), kAck);

    auto status = host->Exchange({'[', 'A', 'S', ']', '\\'}, 59);
    ExpectFrame(status, 59, 'G');
    auto words = Values(status, 11);
    EXPECT_EQ(words[0], 0x05);
    EXPECT_EQ(words[1], 0) << "all 300 records are in when the clock runs instantly";
    EXPECT_EQ(words[6], 600);

    const auto data = host->Exchange(CRawHost::WithArgument("AD", 600 / 250 + 1), 3 * 512);
    ASSERT_EQ(data.size(), 3u * 512);
    EXPECT_EQ(data[0], '[');
    EXPECT_EQ(data[1], 'D');
    // Samples alternate forward (about 40 dBm) and reverse (about 20 dBm).
    auto sampleAt = [&](size_t offset) { return CRawHost::Uint16At(data, offset); };
    EXPECT_NEAR(sampleAt(2), 4000, 50);
    EXPECT_NEAR(sampleAt(4), 2000, 50);
    EXPECT_NEAR(sampleAt(502), 4000, 50) << "sample 250 closes the first block";
    EXPECT_NEAR(sampleAt(512), 2000, 50) << "sample 251 opens the second block";
    EXPECT_NEAR(sampleAt(1024 + 2 * 98), 2000, 50) << "sample 599 is the last";
    EXPECT_EQ(sampleAt(1024 + 2 * 99), 0);

    ASSERT_EQ(host->Exchange(CRawHost::WithArgument("AO", 1), 5), kAck);
    words = Values(host->Exchange({'[', 'A', 'S', ']', '\\'}, 59), 11);
    EXPECT_EQ(words[6], 0);
}

TEST_F(CVirtualSensorTest, LoggerKeepsRecordingAtRealTimeSpeed) {
    VirtualSensorConfig config = Model(5);
    config.loggingSpeedUp = 1.0;
    auto host = Connect(config);
    for (const auto& [mnemonic, argument] :
         std::vector<std::pair<const char*, int32_t>>{{"AM", 0x0F}, {"AI", 3600}, {"AN", 24}, {"AR", 1}})
        ASSERT_EQ(host->Exchange(CRawHost::WithArgument(mnemonic, argument), 5), kAck);
    auto words = Values(host->Exchange({'[', 'A', 'S', ']', '\\'}, 59), 11);
    EXPECT_EQ(words[1], 1) << "still logging: the data is not offered yet";
    EXPECT_EQ(words[6], 4) << "one record of four channels, taken at the start";

    ASSERT_EQ(host->Exchange(CRawHost::WithArgument("AR", 0), 5), kAck);
    words = Values(host->Exchange({'[', 'A', 'S', ']', '\\'}, 59), 11);
    EXPECT_EQ(words[1], 0);
    EXPECT_EQ(words[6], 4) << "mode off keeps what was logged";
}

TEST_F(CVirtualSensorTest, SkipsNoiseAndKeepsArgumentsThatLookLikeFrameBytes) {
    auto host = Connect(Model(5));
    std::vector<uint8_t> noisy = {0x00, 0xFF, ']', '\\'};
    const auto command = CRawHost::WithArgument("GA", 0x5D5B5D5B);
    noisy.insert(noisy.end(), command.begin(), command.end());
    ExpectFrame(host->Exchange(noisy, 9), 9, 'P');
    EXPECT_EQ(m_sensor->LastArgument("GA"), 0x5D5B5D5B);
    EXPECT_FALSE(m_sensor->LastArgument("GF").has_value());
}

TEST_F(CVirtualSensorTest, SameSeedGivesTheSameReadings) {
    auto readings = [&](uint32_t seed) {
        VirtualSensorConfig config = Model(5);
        config.seed = seed;
        auto host = Connect(config);
        std::vector<uint8_t> all;
        for (int i = 0; i < 5; ++i) {
            const auto reply = host->Exchange(CRawHost::WithArgument("GA", 245000), 9);
            all.insert(all.end(), reply.begin(), reply.end());
        }
        m_sensor->Stop();
        return all;
    };
    EXPECT_EQ(readings(7), readings(7));
    EXPECT_NE(readings(7), readings(8));
}
