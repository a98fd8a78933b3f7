#include "gui/screens/CCcdfFrame.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CommandIds.h"
#include "gui/screens/CCcdfTextView.h"
#include "gui/screens/CCcdfView.h"
#include "model/CSettingProfile.h"
#include "model/HistoryChannel.h"
#include "platform/CMessageBeep.h"

#include "support/CAppTestSandbox.h"
#include "support/CIdleMeasurementLink.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

namespace {

int s_beeps = 0;

class CCcdfFrameTest : public ::testing::Test {
protected:
    CCcdfFrameTest() {
        m_profile.SetModelNumber(1);
        auto link = std::make_unique<CIdleMeasurementLink>();
        m_link = link.get();
        m_frame = std::make_unique<CCcdfFrame>(m_profile, std::move(link));
    }

    // One timer tick that asks for a histogram, and the histogram arriving.
    void Exchange(int32_t state = 1) {
        m_frame->Controller().Pump();
        m_frame->TakeHistogram(state, {{2500, 1000}, {2000, 9000}});
    }

    CCommandState Rule(int id) {
        CCommandState state;
        m_frame->OnUpdateCommand(id, state);
        return state;
    }

    CSettingProfile m_profile;
    CIdleMeasurementLink* m_link = nullptr;
    std::unique_ptr<CCcdfFrame> m_frame;
};

} // namespace

TEST_F(CCcdfFrameTest, SingleSweepStopsWithAFullWindow) {
    m_profile.SetSingleSweep(true);
    m_profile.SetCcdfRate(0);
    m_frame->OnCommand(ID_MEASURE_START);
    for (int i = 0; i < 9; ++i)
        Exchange();
    EXPECT_TRUE(m_frame->Controller().IsRunning());
    EXPECT_EQ(m_frame->View()->Pane(CCcdfPaneTexts::Measurement)->Texts()[3], "Samples : 90,000 / 100,000");
    Exchange();
    EXPECT_FALSE(m_frame->Controller().IsRunning());
    EXPECT_EQ(m_frame->Acquisition().Window().Size(), 10u);
    EXPECT_FALSE(m_frame->Controller().IsAwaitingReply());
}

TEST_F(CCcdfFrameTest, FailedOrUnawaitedExchangesAreNotCounted) {
    m_frame->OnCommand(ID_MEASURE_START);
    Exchange(0);
    EXPECT_EQ(m_frame->Acquisition().Window().Size(), 0u);
    EXPECT_FALSE(m_frame->Controller().IsAwaitingReply()); // the next tick asks again
    Exchange();
    // A histogram asked for before Stop and Start arrives after them.
    m_frame->Controller().Pump();
    m_frame->OnCommand(ID_MEASURE_STOP);
    m_frame->OnCommand(ID_MEASURE_START);
    m_frame->TakeHistogram(1, {{2500, 1}});
    EXPECT_EQ(m_frame->Acquisition().Window().Size(), 0u);
    EXPECT_EQ(m_frame->View()->Pane(CCcdfPaneTexts::Power)->Texts()[0], "Avg. Power : N/A");
}

// The test histogram's crest factor is 25.00 - 20.85 = 4.15 dB.
TEST_F(CCcdfFrameTest, CrestFactorAboveItsLimitTurnsRedAndSounds) {
    s_beeps = 0;
    CMessageBeep::SetPlayer([](BeepType) { ++s_beeps; });
    m_profile.SetLimitEnabled(kItemCcdf, true);
    m_profile.SetAlarmOn(kItemCcdf, true);
    m_profile.SetLimits(kItemCcdf, 5.0f, 5.0f);
    m_frame->OnCommand(ID_MEASURE_START);
    Exchange();
    const CCcdfPaneTexts::SValues values{&m_profile, &m_frame->Acquisition().Result(), 1, -1};
    EXPECT_EQ(s_beeps, 0);
    EXPECT_EQ(CCcdfPaneTexts::Colour(CCcdfPaneTexts::Power, 1, values), 0xC0C0C0u);

    m_profile.SetLimits(kItemCcdf, 3.0f, 3.0f);
    Exchange();
    EXPECT_EQ(s_beeps, 1);
    EXPECT_EQ(CCcdfPaneTexts::Colour(CCcdfPaneTexts::Power, 1, values), 0xFF0000u);
    EXPECT_EQ(CCcdfPaneTexts::Colour(CCcdfPaneTexts::Power, 0, values), 0xC0C0C0u);

    m_profile.SetAlarmOn(kItemCcdf, false); // red, but silent
    Exchange();
    EXPECT_EQ(s_beeps, 1);
    m_profile.SetLimitEnabled(kItemCcdf, false);
    EXPECT_EQ(CCcdfPaneTexts::Colour(CCcdfPaneTexts::Power, 1, values), 0xC0C0C0u);
    CMessageBeep::SetPlayer(nullptr);
}

TEST_F(CCcdfFrameTest, CommandRules) {
    m_profile.SetAlarmOn(5, true);
    EXPECT_TRUE(Rule(ID_ALARM_ON).checked);
    EXPECT_FALSE(Rule(ID_ALARM_OFF).checked);
    EXPECT_TRUE(Rule(ID_LIMITCHECK_DISABLE).checked);
    EXPECT_FALSE(Rule(ID_FILE_SAVE).enabled);
    EXPECT_FALSE(Rule(ID_VIEW_FULLSCREEN).enabled);
    EXPECT_TRUE(Rule(ID_SETASDEFAULT).enabled);
    EXPECT_TRUE(m_frame->OnCommand(ID_ALARM_OFF));
    EXPECT_TRUE(m_profile.IsAlarmOn(5));
}

TEST_F(CCcdfFrameTest, AResultIsOfferedBeforeItIsDroppedAndKeptAsCsvAndImage) {
    CAppTestSandbox sandbox;
    m_frame->OnCommand(ID_MEASURE_START);
    Exchange();
    Exchange();
    ASSERT_TRUE(Rule(ID_FILE_SAVE).enabled);
    sandbox.Messages().answer = IDCANCEL;
    EXPECT_FALSE(m_frame->OfferToSave());
    EXPECT_EQ(sandbox.Messages().Texts().back(), CAppTestSandbox::GeneralText("S_CCDF_ONDISCARD"));

    const std::string csv = sandbox.Path("ccdf.csv");
    m_frame->SetPathChooser([&csv](const QString&, const QString&) { return QString::fromStdString(csv); });
    sandbox.Messages().answer = IDYES;
    EXPECT_TRUE(m_frame->OfferToSave());
    const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(csv);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Samples, 20000\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Level at 0.001 %(dB), N/A\r\n"), std::string::npos) << text;
    const size_t messages = sandbox.Messages().Texts().size();
    EXPECT_TRUE(m_frame->OfferToSave()); // kept: nothing more to ask
    EXPECT_EQ(sandbox.Messages().Texts().size(), messages);

    m_frame->resize(400, 300);
    ASSERT_TRUE(m_frame->ExportGraphTo(QString::fromStdString(sandbox.Path("graph.png"))));
    ASSERT_TRUE(m_frame->ExportGraphTo(QString::fromStdString(sandbox.Path("graph.bmp"))));
    EXPECT_EQ(CTempDirectory::ReadBytes(sandbox.Path("graph.png"))[1], 'P');
    EXPECT_EQ(CTempDirectory::ReadBytes(sandbox.Path("graph.bmp"))[0], 'B');
    EXPECT_FALSE(m_frame->SaveResultTo(QString::fromStdString(sandbox.Path("missing/ccdf.csv"))));
    EXPECT_EQ(sandbox.Messages().Texts().back(), CAppTestSandbox::GeneralText("S_CCDF_ONSAVE"));
}
