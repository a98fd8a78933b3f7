#include "gui/settings/CSettingDlg.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CSettingDlg_Pulse.h"
#include "gui/settings/CSettingPage.h"
#include "model/CSettingProfile.h"
#include "support/CAppTestSandbox.h"
#include "support/CFakeLoggingLink.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string General(const char* key) {
    return CAppTestSandbox::GeneralText(key);
}

class CSettingDlgTest : public ::testing::Test {
protected:
    void SetUp() override { m_profile = std::make_unique<CSettingProfile>(); }

    void TearDown() override {
        m_dialog.reset();
        m_profile.reset();
    }

    // A dialog for a connected sensor of the model, shown and active so that focus can be checked.
    CSettingDlg& Open(int model, int tab = 0, int rangeTab = 0) {
        m_profile->SetDevice(model, 1234, 105);
        m_dialog =
            std::make_unique<CSettingDlg>(*m_profile, std::make_unique<CFakeLoggingLink>(), tab, rangeTab);
        m_dialog->show();
        QApplication::setActiveWindow(m_dialog.get());
        return *m_dialog;
    }

    CSettingPage* Page(SettingPageKind kind) const { return m_dialog->Page(kind); }

    template <typename Control = QLineEdit>
    Control* Find(SettingPageKind kind, int id, int rangeTab = -1) const {
        QWidget* scope = Page(kind);
        if (rangeTab >= 0)
            scope = scope->findChild<QTabWidget*>(QString::number(IdcRangeTabs))->widget(rangeTab);
        return scope->findChild<Control*>(QString::number(id));
    }

    void Enter(SettingPageKind kind, int id, const char* text, int rangeTab = -1) const {
        Find(kind, id, rangeTab)->setText(QString::fromUtf8(text));
    }

    int SelectedRangeTab(SettingPageKind kind) const {
        return Page(kind)->findChild<QTabWidget*>(QString::number(IdcRangeTabs))->currentIndex();
    }

    bool Accepted() const { return m_dialog->result() == QDialog::Accepted; }

    // The dialog was refused with this general text and the focus sits on the field.
    void ExpectRefused(const char* key, QWidget* field) {
        EXPECT_FALSE(Accepted());
        ASSERT_FALSE(m_messages.shown.empty());
        EXPECT_EQ(m_messages.shown.back().text, General(key));
        EXPECT_EQ(m_messages.shown.back().style, MB_ICONSTOP);
        EXPECT_EQ(QApplication::focusWidget(), field);
        m_messages.shown.clear();
    }

    CAppTestSandbox m_sandbox;
    CRecordingMessageSink& m_messages = m_sandbox.Messages();
    std::unique_ptr<CSettingProfile> m_profile;
    std::unique_ptr<CSettingDlg> m_dialog;
};

TEST_F(CSettingDlgTest, TabsPerModelAndTheInitialTab) {
    CSettingDlg& all = Open(5, 2);
    EXPECT_EQ(all.SelectedTab(), 2);
    for (SettingPageKind kind :
         {SettingPageKind::Avg, SettingPageKind::Ccdf, SettingPageKind::Pulse, SettingPageKind::Logging})
        EXPECT_NE(Page(kind), nullptr);
    EXPECT_TRUE(Page(SettingPageKind::Pulse)->isVisible());
    EXPECT_FALSE(Page(SettingPageKind::Avg)->isVisible());

    Open(9, 1);
    EXPECT_EQ(m_dialog->SelectedTab(), 1);
    EXPECT_EQ(Page(SettingPageKind::Logging), nullptr);

    Open(1, 2); // a tab the model does not have
    EXPECT_EQ(m_dialog->SelectedTab(), 0);
    EXPECT_EQ(Page(SettingPageKind::Pulse), nullptr);
    EXPECT_TRUE(Page(SettingPageKind::Avg)->isVisible());
}

TEST_F(CSettingDlgTest, AvgPageHidesControlsAndOffersRangeTabsByModel) {
    Open(6);
    EXPECT_TRUE(Find<QComboBox>(SettingPageKind::Avg, IdcAveraging)->isVisible());
    EXPECT_FALSE(Find<QComboBox>(SettingPageKind::Avg, IdcTechnology)->isVisible());
    auto* ranges = Page(SettingPageKind::Avg)->findChild<QTabWidget*>(QString::number(IdcRangeTabs));
    ASSERT_EQ(ranges->count(), 1);
    EXPECT_EQ(ranges->tabText(0).toStdString(), General("S_MEASUREVIEW_AVG"));

    Open(4, 0, 2);
    EXPECT_FALSE(Find<QComboBox>(SettingPageKind::Avg, IdcAveraging)->isVisible());
    ranges = Page(SettingPageKind::Avg)->findChild<QTabWidget*>(QString::number(IdcRangeTabs));
    ASSERT_EQ(ranges->count(), 3);
    EXPECT_EQ(ranges->tabText(2).toStdString(), General("S_MEASUREVIEW_PAR"));
    EXPECT_EQ(ranges->currentIndex(), 2);

    Open(5);
    EXPECT_TRUE(Find<QComboBox>(SettingPageKind::Avg, IdcTechnology)->isVisible());

    Open(8, 0, 1); // one range tab: the remembered tab is clamped
    EXPECT_EQ(SelectedRangeTab(SettingPageKind::Avg), 0);
}

TEST_F(CSettingDlgTest, FrequencyLimitsPerModel) {
    Open(0);
    Enter(SettingPageKind::Avg, IdcFrequency, "299.9");
    m_dialog->accept();
    ExpectRefused("S_IDD_SETTING_ONOK_IFREQ", Find(SettingPageKind::Avg, IdcFrequency));

    Open(1);
    Enter(SettingPageKind::Avg, IdcFrequency, " 20 ");
    m_dialog->accept();
    EXPECT_TRUE(Accepted());
    EXPECT_FLOAT_EQ(m_profile->GetFrequency(), 20.0f);
}

TEST_F(CSettingDlgTest, OffsetWithinPlusMinusHundred) {
    Open(5);
    Enter(SettingPageKind::Avg, IdcExtOffset, "100.01");
    m_dialog->accept();
    ExpectRefused("S_IDD_SETTING_INVAL_OFFSET", Find(SettingPageKind::Avg, IdcExtOffset));

    Enter(SettingPageKind::Avg, IdcExtOffset, "-100");
    m_dialog->accept();
    EXPECT_TRUE(Accepted());
    EXPECT_FLOAT_EQ(m_profile->GetExtOffset(), -100.0f);
}

TEST_F(CSettingDlgTest, FieldsWithoutANumberAreRefused) {
    Open(5);
    for (const char* text : {"", "abc", "1,5"}) {
        Enter(SettingPageKind::Avg, IdcFrequency, text);
        m_dialog->accept();
        ExpectRefused("S_IDD_SETTING_INVALID_NUMBER", Find(SettingPageKind::Avg, IdcFrequency));
    }
    Enter(SettingPageKind::Avg, IdcFrequency, "2400");

    Enter(SettingPageKind::Avg, IdcLimitHigh, "x", 1);
    m_dialog->accept();
    EXPECT_EQ(SelectedRangeTab(SettingPageKind::Avg), 1);
    ExpectRefused("S_IDD_SETTING_INVALID_NUMBER", Find(SettingPageKind::Avg, IdcLimitHigh, 1));

    Enter(SettingPageKind::Avg, IdcLimitHigh, "1e39", 1); // beyond what a float holds
    m_dialog->accept();
    ExpectRefused("S_IDD_SETTING_INVALID_NUMBER", Find(SettingPageKind::Avg, IdcLimitHigh, 1));
    EXPECT_FLOAT_EQ(m_profile->GetFrequency(), 2400.0f);
}

TEST_F(CSettingDlgTest, EqualOrInvertedRangesAndLimitsSelectTheirRangeTab) {
    Open(5, 0, 0);
    Enter(SettingPageKind::Avg, IdcDisplayMin, "60", 1);
    m_dialog->accept();
    EXPECT_EQ(SelectedRangeTab(SettingPageKind::Avg), 1);
    ExpectRefused("S_IDD_SETTING_ONOK_IDRNG", Find(SettingPageKind::Avg, IdcDisplayMin, 1));

    Enter(SettingPageKind::Avg, IdcDisplayMin, "20", 1);
    Enter(SettingPageKind::Avg, IdcLimitLow, "2", 2);
    Enter(SettingPageKind::Avg, IdcLimitHigh, "1.5", 2);
    m_dialog->accept();
    EXPECT_EQ(SelectedRangeTab(SettingPageKind::Avg), 2);
    ExpectRefused("S_IDD_SETTING_ONOK_ILRNG", Find(SettingPageKind::Avg, IdcLimitLow, 2));
}

TEST_F(CSettingDlgTest, OnlyTheSelectedTabsPageIsApplied) {
    Open(5, 2);
    Enter(SettingPageKind::Avg, IdcFrequency, "1000");
    Enter(SettingPageKind::Pulse, IdcFrequency, "2450.7");
    m_dialog->accept();
    EXPECT_TRUE(Accepted());
    EXPECT_FLOAT_EQ(m_profile->GetFrequency(), 2450.7f);

    Open(5, 2);
    Enter(SettingPageKind::Avg, IdcFrequency, "5000"); // validated although not applied
    m_dialog->accept();
    EXPECT_EQ(m_dialog->SelectedTab(), 0);
    ExpectRefused("S_IDD_SETTING_ONOK_IFREQ", Find(SettingPageKind::Avg, IdcFrequency));
}

TEST_F(CSettingDlgTest, RangesAreWrittenOnlyOnceEveryPageValidated) {
    Open(5, 2);
    float storedMinimum = 0, storedMaximum = 0;
    m_profile->GetDisplayRange(ChannelAvg, storedMinimum, storedMaximum);
    Enter(SettingPageKind::Avg, IdcDisplayMin, "10", 0);
    Enter(SettingPageKind::Avg, IdcDisplayMax, "50", 0);
    Enter(SettingPageKind::Avg, IdcFrequency, "1000");
    Enter(SettingPageKind::Pulse, IdcExtOffset, "200");
    m_dialog->accept();
    EXPECT_EQ(m_dialog->SelectedTab(), 2);
    ExpectRefused("S_IDD_SETTING_INVAL_OFFSET", Find(SettingPageKind::Pulse, IdcExtOffset));
    m_dialog->reject();

    float minimum = 0, maximum = 0;
    m_profile->GetDisplayRange(ChannelAvg, minimum, maximum);
    EXPECT_FLOAT_EQ(minimum, storedMinimum);
    EXPECT_FLOAT_EQ(maximum, storedMaximum);
    EXPECT_FLOAT_EQ(m_profile->GetFrequency(), 2400.0f);
    EXPECT_FLOAT_EQ(m_profile->GetExtOffset(), 0.0f);

    Open(5, 2);
    Enter(SettingPageKind::Avg, IdcDisplayMin, "10", 0);
    Enter(SettingPageKind::Avg, IdcDisplayMax, "50", 0);
    m_dialog->accept();
    ASSERT_TRUE(Accepted());
    m_profile->GetDisplayRange(ChannelAvg, minimum, maximum);
    EXPECT_FLOAT_EQ(minimum, 10.0f) << "confirmed on another tab";
    EXPECT_FLOAT_EQ(maximum, 50.0f);
}

TEST_F(CSettingDlgTest, AvgPageAppliesItsChoices) {
    m_profile->SetAvgRate(2);
    m_profile->SetTechnology(12);
    m_profile->SetAvgRepeat(0);
    Open(5);
    EXPECT_EQ(Find<QComboBox>(SettingPageKind::Avg, IdcTechnology)->currentText(), QStringLiteral("etc"));
    EXPECT_EQ(Find<QComboBox>(SettingPageKind::Avg, IdcAveraging)->currentText(), QStringLiteral("1"));
    Find<QAbstractButton>(SettingPageKind::Avg, IdcRelative)->click();
    Find<QAbstractButton>(SettingPageKind::Avg, IdcSingle)->click();
    Find<QComboBox>(SettingPageKind::Avg, IdcDecimal)->setCurrentIndex(1);
    Find<QComboBox>(SettingPageKind::Avg, IdcAveraging)->setCurrentIndex(4);
    Find<QComboBox>(SettingPageKind::Avg, IdcTechnology)->setCurrentIndex(3);
    Find<QComboBox>(SettingPageKind::Avg, IdcBeep, 1)->setCurrentIndex(2);
    Find<QAbstractButton>(SettingPageKind::Avg, IdcLimitEnable, 1)->click();
    m_dialog->accept();
    ASSERT_TRUE(Accepted());
    EXPECT_TRUE(m_profile->IsRelativeMode());
    EXPECT_TRUE(m_profile->IsSingleSweep());
    EXPECT_EQ(m_profile->GetDecimalPlaces(), 1);
    EXPECT_EQ(m_profile->GetAvgRepeat(), 5);
    EXPECT_EQ(m_profile->GetTechnology(), 3);
    EXPECT_EQ(m_profile->GetAvgRate(), 2);
    EXPECT_EQ(m_profile->GetBeepSound(ChannelPeak), 2);
    EXPECT_TRUE(m_profile->IsLimitEnabled(ChannelPeak));
    EXPECT_FALSE(m_profile->IsAlarmOn(ChannelPeak));
}

TEST_F(CSettingDlgTest, PulseDutyAndReferenceAreTruncated) {
    m_profile->SetPulseDuty(255);
    Open(5, 2);
    EXPECT_EQ(Find(SettingPageKind::Pulse, IdcDutyValue)->text(), QStringLiteral("0.255"));
    Enter(SettingPageKind::Pulse, IdcDutyValue, "0.0255");
    Find<QComboBox>(SettingPageKind::Pulse, IdcTechnology)->setCurrentIndex(2);
    Find<QComboBox>(SettingPageKind::Pulse, IdcPeriod)->setCurrentIndex(4);
    m_dialog->accept();
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(m_profile->GetPulseDuty(), 25);
    EXPECT_EQ(m_profile->GetPulseReference(), 0);
    EXPECT_EQ(m_profile->GetTechnology(), 4);
    EXPECT_EQ(m_profile->GetPulseRate(), 4);

    Open(5, 2);
    Find<QAbstractButton>(SettingPageKind::Pulse, IdcDutyAuto)->click();
    Find<QAbstractButton>(SettingPageKind::Pulse, IdcReferenceManual)->click();
    Enter(SettingPageKind::Pulse, IdcReferenceValue, "abc");
    m_dialog->accept();
    ExpectRefused("S_IDD_SETTING_INVALID_NUMBER", Find(SettingPageKind::Pulse, IdcReferenceValue));
    Enter(SettingPageKind::Pulse, IdcReferenceValue, "-1.239");
    m_dialog->accept();
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(m_profile->GetPulseDuty(), 0);
    EXPECT_EQ(m_profile->GetPulseReference(), -123);
}

TEST_F(CSettingDlgTest, ManualDutyOutsideOneThousandthToOneIsRefused) {
    Open(5, 2);
    Find<QAbstractButton>(SettingPageKind::Pulse, IdcDutyManual)->click();
    for (const char* text : {"2", "-0.5", "0.0005"}) {
        Enter(SettingPageKind::Pulse, IdcDutyValue, text);
        m_dialog->accept();
        ExpectRefused("S_IDD_SETTING_ONOK_IDUTY", Find(SettingPageKind::Pulse, IdcDutyValue));
    }
    Enter(SettingPageKind::Pulse, IdcDutyValue, "1");
    m_dialog->accept();
    EXPECT_TRUE(Accepted());
    EXPECT_EQ(m_profile->GetPulseDuty(), 1000);
}

TEST_F(CSettingDlgTest, ManualDutyForcesTheAutomaticReference) {
    m_profile->SetPulseReference(150);
    Open(5, 2);
    auto* referenceManual = Find<QAbstractButton>(SettingPageKind::Pulse, IdcReferenceManual);
    EXPECT_TRUE(referenceManual->isChecked());
    EXPECT_TRUE(Find(SettingPageKind::Pulse, IdcReferenceValue)->isEnabled());
    EXPECT_FALSE(Find(SettingPageKind::Pulse, IdcDutyValue)->isEnabled());

    Find<QAbstractButton>(SettingPageKind::Pulse, IdcDutyManual)->click();
    EXPECT_TRUE(Find<QAbstractButton>(SettingPageKind::Pulse, IdcReferenceAuto)->isChecked());
    EXPECT_FALSE(referenceManual->isEnabled());
    EXPECT_FALSE(Find(SettingPageKind::Pulse, IdcReferenceValue)->isEnabled());
    EXPECT_TRUE(Find(SettingPageKind::Pulse, IdcDutyValue)->isEnabled());

    Find<QAbstractButton>(SettingPageKind::Pulse, IdcDutyAuto)->click();
    EXPECT_TRUE(referenceManual->isEnabled());
    EXPECT_FALSE(Find(SettingPageKind::Pulse, IdcReferenceValue)->isEnabled());
}

TEST_F(CSettingDlgTest, PulseTechnologyEntries) {
    EXPECT_EQ(CSettingDlg_Pulse::EntryOfTechnology(0), 0);
    EXPECT_EQ(CSettingDlg_Pulse::EntryOfTechnology(3), 1);
    EXPECT_EQ(CSettingDlg_Pulse::EntryOfTechnology(4), 2);
    EXPECT_EQ(CSettingDlg_Pulse::EntryOfTechnology(1), 3);
    EXPECT_EQ(CSettingDlg_Pulse::EntryOfTechnology(-5), 3);
    EXPECT_EQ(CSettingDlg_Pulse::TechnologyOfEntry(3), 7);
}

TEST_F(CSettingDlgTest, EnterAndEscapeActOnTheHost) {
    Open(5, 2);
    QLineEdit* field = Find(SettingPageKind::Pulse, IdcDisplayMin, 0);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(field, &escape);
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_FALSE(Page(SettingPageKind::Pulse)->isHidden());

    Open(5, 2);
    Enter(SettingPageKind::Pulse, IdcFrequency, "1234.5");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Find(SettingPageKind::Pulse, IdcFrequency), &enter);
    EXPECT_TRUE(Accepted());
    EXPECT_FLOAT_EQ(m_profile->GetFrequency(), 1234.5f);
}

} // namespace
