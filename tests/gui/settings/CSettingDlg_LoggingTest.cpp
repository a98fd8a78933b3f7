#include "gui/settings/CSettingDlg_Logging.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/SettingControlIds.h"
#include "model/CSettingProfile.h"
#include "support/CAppTestSandbox.h"
#include "support/CFakeLoggingLink.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <memory>

namespace {

class CSettingDlgLoggingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_profile.SetDevice(5, 1234, 105);
        m_profile.SetFrequency(2450.7f);
        m_profile.SetLoggingItems(0x05);
        m_profile.SetLoggingInterval(40);
        m_profile.SetLoggingRunTime(150);
        auto link = std::make_unique<CFakeLoggingLink>();
        m_link = link.get();
        m_page = std::make_unique<CSettingDlg_Logging>(m_profile, std::move(link));
    }

    template <typename Control = QLineEdit> Control* Find(int id) const {
        return m_page->findChild<Control*>(QString::number(id));
    }
    void Enter(int id, const char* text) const { Find(id)->setText(QString::fromUtf8(text)); }
    void EnterInterval(const char* minutes, const char* seconds) const {
        Enter(IdcLogIntervalMinutes, minutes);
        Enter(IdcLogIntervalSeconds, seconds);
    }
    void EnterRunTime(const char* hours, const char* minutes) const {
        Enter(IdcLogRunHours, hours);
        Enter(IdcLogRunMinutes, minutes);
    }
    std::string LastMessage() const { return m_messages.shown.empty() ? "" : m_messages.shown.back().text; }

    CAppTestSandbox m_sandbox;
    CRecordingMessageSink& m_messages = m_sandbox.Messages();
    CSettingProfile m_profile;
    CFakeLoggingLink* m_link = nullptr;
    std::unique_ptr<CSettingDlg_Logging> m_page;
};

} // namespace

TEST_F(CSettingDlgLoggingTest, FieldsAndTheIntervalLabelFollowTheProfileAndTheClicks) {
    EXPECT_EQ(Find(IdcLogIntervalMinutes)->text(), "0");
    EXPECT_EQ(Find(IdcLogIntervalSeconds)->text(), "40");
    EXPECT_EQ(Find(IdcLogRunHours)->text(), "2");
    EXPECT_EQ(Find(IdcLogRunMinutes)->text(), "30");
    EXPECT_EQ(Find<QLabel>(IdcLogIntervalUnit)->text(), "Sec (Min 20 Sec)");
    EXPECT_EQ(Find<QLabel>(IdcLogRunTimeUnit)->text(), "Min (Max 96 hrs)");
    Find<QCheckBox>(IdcLogChannelPeak)->click();
    EXPECT_EQ(Find<QLabel>(IdcLogIntervalUnit)->text(), "Sec (Min 30 Sec)");
    for (int id : {IdcLogChannelFwd, IdcLogChannelPeak, IdcLogChannelRev})
        Find<QCheckBox>(id)->click();
    EXPECT_EQ(m_page->ChannelMask(), 0);
    EXPECT_EQ(Find<QLabel>(IdcLogIntervalUnit)->text(), "Sec (Min 10 Sec)");
}

TEST_F(CSettingDlgLoggingTest, SetLoggingRefusesOutOfRangeValuesWithTheirFixedTexts) {
    EnterInterval("0", "19");
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), "Invalid Interval Range ( 20 <= sec <= 3600 )");
    EXPECT_EQ(m_messages.shown.back().style, MB_ICONSTOP);
    // The page's values are applied before the range checks.
    EXPECT_EQ(m_profile.GetLoggingInterval(), 19);

    for (int id : {IdcLogChannelFwd, IdcLogChannelRev})
        Find<QCheckBox>(id)->click();
    EnterInterval("0", "0"); // no channel still needs 10 s: the record count never divides by 0
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), "Invalid Interval Range ( 10 <= sec <= 3600 )");

    EnterInterval("1", "0");
    EnterRunTime("0", "9");
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), "Invalid Logging Count Range ( 10 times <= RunTime/Interval)");
    EnterRunTime("96", "1");
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), "Invalid Runtime Range ( Max : 96 hrs )");
    EnterInterval("2147483647", "0"); // would wrap to a small interval in 32 bits
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), "Invalid Interval Range ( 10 <= sec <= 3600 )");

    EnterInterval("1", "0");
    EnterRunTime("0", "10");
    m_link->connected = false;
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_MAINFRAME_ONDEVICECONNECT"));
    EXPECT_TRUE(m_link->calls.empty());
}

TEST_F(CSettingDlgLoggingTest, SetLoggingStopsWhenTheCommonValidationFails) {
    Enter(IdcFrequency, "99999");
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_IDD_SETTING_ONOK_IFREQ"));
    Enter(IdcFrequency, "2450.7");
    Enter(IdcLogRunMinutes, "ten");
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_IDD_SETTING_INVALID_NUMBER"));
    // -1 min 80 s would add up to an allowed 20 s; each field must be a time of its own.
    EnterRunTime("0", "10");
    for (auto [minutes, seconds] : {std::pair{"-1", "80"}, std::pair{"0", "60"}, std::pair{"1", "-5"}}) {
        EnterInterval(minutes, seconds);
        m_page->SetLogging();
        EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_IDD_SETTING_ONOK_ITIME")) << minutes;
    }
    EnterInterval("1", "0");
    Find<QAbstractButton>(IdcDutyManual)->click();
    Enter(IdcDutyValue, "2");
    m_page->SetLogging();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_IDD_SETTING_ONOK_IDUTY"));
    EXPECT_TRUE(m_link->calls.empty());
    EXPECT_EQ(m_profile.GetLoggingInterval(), 40);
}

TEST_F(CSettingDlgLoggingTest, SetLoggingSendsThePageValuesAndReportsTheOutcome) {
    EnterInterval("1", "0");
    EnterRunTime("0", "10");
    m_page->SetLogging();
    ASSERT_EQ(m_link->started.size(), 1u);
    const CLoggingSequence::StartValues& sent = m_link->started.front();
    EXPECT_EQ(sent.frequencyHundredths, 245000);
    EXPECT_EQ(sent.channelMask, 0x05);
    EXPECT_EQ(sent.intervalSeconds, 60);
    EXPECT_EQ(sent.recordCount, 10);
    EXPECT_TRUE(m_page->IsExchangeRunning());
    m_page->SetLogging(); // ignored while the set-up runs
    EXPECT_EQ(m_link->started.size(), 1u);
    EXPECT_TRUE(m_messages.shown.empty());

    m_link->Finish();
    EXPECT_FALSE(m_page->IsExchangeRunning());
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_LOGGING_SUCCESS"));
    m_link->answer = false;
    m_page->SetLogging();
    m_link->Finish();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_LOGGING_FAIL"));
    EXPECT_EQ(m_messages.shown.back().style, MB_ICONSTOP);
}

TEST_F(CSettingDlgLoggingTest, ClearLoggingChecksTheConnectionFirst) {
    m_link->connected = false;
    m_page->ClearLogging();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_MAINFRAME_ONDEVICECONNECT"));
    EXPECT_TRUE(m_link->calls.empty());

    m_link->connected = true;
    m_link->answer = false;
    m_page->ClearLogging();
    m_link->Finish();
    EXPECT_EQ(m_link->calls, std::vector<std::string>{"stop"});
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_STOP_FAIL"));
    EXPECT_EQ(m_messages.shown.back().style, MB_ICONINFORMATION);
}

TEST_F(CSettingDlgLoggingTest, ApplyStoresTheLoggingAndPulseChoices) {
    EnterInterval("2", "5");
    EnterRunTime("3", "7");
    Find<QCheckBox>(IdcLogChannelPulse)->click();
    m_page->Apply();
    EXPECT_EQ(m_profile.GetLoggingInterval(), 125);
    EXPECT_EQ(m_profile.GetLoggingRunTime(), 187);
    EXPECT_EQ(m_profile.GetLoggingItems(), 0x0D);
}
