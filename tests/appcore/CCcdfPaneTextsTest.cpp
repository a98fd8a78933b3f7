#include "appcore/CCcdfPaneTexts.h"
#include "model/CSettingProfile.h"
#include "platform/CAppPaths.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

class CCcdfPaneTextsTest : public ::testing::Test {
protected:
    // Every shown line of a pane, as the pane draws them.
    std::vector<std::string> Shown(CCcdfPaneTexts::Pane pane) const {
        const CCcdfPaneTexts::SValues values{&m_profile, &m_result, m_windowSize, m_code};
        std::vector<std::string> texts;
        const auto lines = CCcdfPaneTexts::Lines(pane);
        for (size_t key = 0; key < lines.size(); ++key)
            if (auto text = CCcdfPaneTexts::Text(pane, static_cast<int>(key), lines[key].label, values))
                texts.push_back(*text);
        return texts;
    }

    CSettingProfile m_profile;
    CCcdfResult m_result;
    size_t m_windowSize = 0;
    int m_code = 13;
};

} // namespace

TEST_F(CCcdfPaneTextsTest, MeasurementPaneShowsProgressAndTechnologyOnlyForItsModel) {
    m_profile.SetModelNumber(5);
    m_profile.SetCcdfRate(1);
    m_profile.SetTechnology(1);
    m_windowSize = 7;
    const auto texts = Shown(CCcdfPaneTexts::Measurement);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "Measurement");
    EXPECT_EQ(texts[1], "Frequency : 2400.00 MHz");
    EXPECT_EQ(texts[3], "Samples : 70,000 / 200,000");
    EXPECT_EQ(texts[4], "Sweep : Continuous");
    EXPECT_EQ(texts[5], "Technology : WCDMA");
    m_profile.SetModelNumber(1);
    EXPECT_EQ(Shown(CCcdfPaneTexts::Measurement).size(), 5u);
}

TEST_F(CCcdfPaneTextsTest, PowerPaneShowsNotAvailableWithoutMeasurement) {
    EXPECT_EQ(Shown(CCcdfPaneTexts::Power),
              (std::vector<std::string>{"Avg. Power : N/A", "Crest Factor : N/A"}));
    m_result.measured = true;
    m_result.averagePower = -3.456;
    m_result.crestFactor = 7.25;
    m_profile.SetDecimalPlaces(1);
    EXPECT_EQ(Shown(CCcdfPaneTexts::Power),
              (std::vector<std::string>{"Avg. Power : -3.5 dBm", "Crest Factor : 7.2 dB"}));
    m_code = 14; // this sensor's keys read 35 dB high
    EXPECT_EQ(Shown(CCcdfPaneTexts::Power)[0], "Avg. Power : -38.5 dBm");
}

TEST_F(CCcdfPaneTextsTest, LevelProbabilityAndAlarmPanes) {
    EXPECT_EQ(Shown(CCcdfPaneTexts::Levels)[1], "[10%] N/A");
    EXPECT_EQ(Shown(CCcdfPaneTexts::Probabilities)[5], "[20dB] N/A");
    m_result.measured = true;
    m_result.levels = {3.5, 7.0, 9.25, 10.5, 0.0};
    m_result.levelKnown = {true, true, true, true, false};
    m_result.probabilities = {8.126, 0.5, 0.0, 0.0, 0.0};
    EXPECT_EQ(Shown(CCcdfPaneTexts::Levels)[1], "[10%] 3.50 dB");
    EXPECT_EQ(Shown(CCcdfPaneTexts::Levels)[5], "[0.001%] N/A"); // too few samples to reach it
    EXPECT_EQ(Shown(CCcdfPaneTexts::Probabilities)[1], "[ 4dB] 8.13 %");

    m_profile.SetLimits(5, 9.5f, 9.5f);
    m_profile.SetAlarmOn(5, true);
    EXPECT_EQ(Shown(CCcdfPaneTexts::Alarm),
              (std::vector<std::string>{"Alarm Setting", "Crest Limit (dB) : 9.50", "Alarm Sound : On",
                                        "Limit Check : Off"}));
}
