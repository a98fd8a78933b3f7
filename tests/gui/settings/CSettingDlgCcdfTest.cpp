#include "gui/settings/CSettingDlg.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CSettingPage.h"
#include "model/CSettingProfile.h"
#include "support/CAppTestSandbox.h"
#include "support/CFakeLoggingLink.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <memory>

namespace {

constexpr int kCcdfTab = 1;
constexpr int kCcdfItem = 5;

class CSettingDlgCcdfTest : public ::testing::Test {
protected:
    CSettingDlg& Open(int model, int tab = kCcdfTab) {
        m_profile.SetDevice(model, 1234, 295);
        m_dialog = std::make_unique<CSettingDlg>(m_profile, std::make_unique<CFakeLoggingLink>(), tab, 0);
        m_dialog->show();
        QApplication::setActiveWindow(m_dialog.get());
        return *m_dialog;
    }

    template <typename Control = QLineEdit> Control* Find(int id) const {
        return m_dialog->Page(SettingPageKind::Ccdf)->findChild<Control*>(QString::number(id));
    }

    float CrestLimit() const {
        float low = 0.0f;
        float high = 0.0f;
        m_profile.GetLimits(kCcdfItem, low, high);
        return high;
    }

    CAppTestSandbox m_sandbox;
    CSettingProfile m_profile;
    std::unique_ptr<CSettingDlg> m_dialog;
};

} // namespace

TEST_F(CSettingDlgCcdfTest, AppliesItsChoicesAndTheCrestLimit) {
    Open(5);
    Find<QAbstractButton>(IdcSingle)->click();
    Find<QComboBox>(IdcDecimal)->setCurrentIndex(0);
    Find<QComboBox>(IdcSampleCount)->setCurrentIndex(3);
    Find<QComboBox>(IdcTechnology)->setCurrentIndex(1);
    Find<QAbstractButton>(IdcCcdfAlarm)->click();
    Find(IdcCrestLimit)->setText("9.5");
    m_dialog->accept();
    ASSERT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(m_profile.IsSingleSweep());
    EXPECT_EQ(m_profile.GetDecimalPlaces(), 0);
    EXPECT_EQ(m_profile.GetCcdfRate(), 3);
    EXPECT_EQ(m_profile.GetTechnology(), 1);
    EXPECT_TRUE(m_profile.IsAlarmOn(kCcdfItem));
    EXPECT_FALSE(m_profile.IsLimitEnabled(kCcdfItem));
    EXPECT_FLOAT_EQ(CrestLimit(), 9.5f);

    Open(9);
    EXPECT_FALSE(Find<QComboBox>(IdcTechnology)->isVisible());
}

TEST_F(CSettingDlgCcdfTest, NothingIsWrittenUntilEveryPageValidated) {
    Open(5);
    const float storedLimit = CrestLimit();
    Find<QComboBox>(IdcSampleCount)->setCurrentIndex(3);
    Find(IdcCrestLimit)->setText("12");
    m_dialog->Page(SettingPageKind::Pulse)
        ->findChild<QLineEdit*>(QString::number(IdcExtOffset))
        ->setText("200");
    m_dialog->accept();
    m_dialog->reject();
    EXPECT_EQ(m_profile.GetCcdfRate(), 2);
    EXPECT_FLOAT_EQ(CrestLimit(), storedLimit);

    Open(5);
    Find(IdcCrestLimit)->setText("x");
    m_dialog->accept();
    EXPECT_NE(m_dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_sandbox.Messages().Texts().back(),
              CAppTestSandbox::GeneralText("S_IDD_SETTING_INVALID_NUMBER"));
    EXPECT_EQ(QApplication::focusWidget(), Find(IdcCrestLimit));

    // Confirmed on another tab, the crest limit still takes effect.
    Open(5, 0);
    Find(IdcCrestLimit)->setText("7");
    m_dialog->accept();
    EXPECT_FLOAT_EQ(CrestLimit(), 7.0f);
}

TEST_F(CSettingDlgCcdfTest, StoredSampleChoiceOutsideTheListIsKept) {
    m_profile.SetCcdfRate(9);
    Open(5);
    EXPECT_EQ(Find<QComboBox>(IdcSampleCount)->currentIndex(), -1);
    m_dialog->accept();
    EXPECT_EQ(m_profile.GetCcdfRate(), 9);
}
