#include "appcore/CMeterLink.h"
#include "appcore/CommandIds.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CSettingDlg.h"
#include "gui/settings/CSettingPage.h"
#include "gui/shell/CMainFrame.h"
#include "model/CModelTable.h"
#include "protocol/CReadingReceiver.h"
#include "support/CAppTestSandbox.h"
#include "support/CFakeLoggingLink.h"
#include "support/CIdleMeasurementLink.h"

#include <gtest/gtest.h>

#include "protocol/CReadingSinks.h"

#include <QApplication>
#include <QTabWidget>

#include <filesystem>
#include <memory>

namespace {

class CConnectedLink : public CMeterLink {
public:
    explicit CConnectedLink(int model) : m_code(CModelTable::FindByNumber(model)->code) {}
    void Connect(int32_t, ConnectDone done) override { done(0); }
    void Disconnect(DisconnectDone done) override {
        m_connected = false;
        done();
    }
    bool IsConnected() const override { return m_connected; }
    int32_t IdentificationCode() const override { return m_code; }
    int32_t SerialNumber() const override { return 1; }
    int32_t FirmwareVersion() const override { return 100; }
    CReadingSinks& Sinks() override { return m_sinks; }
    std::unique_ptr<CMeasurementLink> MeasurementLink(const CSettingProfile&) override {
        return std::make_unique<CIdleMeasurementLink>();
    }
    std::unique_ptr<CLoggingLink> LoggingLink(bool) override { return std::make_unique<CFakeLoggingLink>(); }

private:
    int32_t m_code;
    bool m_connected = true;
    CReadingSinks m_sinks;
};

// A screen whose main readout shows a chosen quantity and that counts the settings it applied.
class CSettingsScreen : public CChildFrame {
public:
    CSettingsScreen(ChildKind kind, int quantity, int& applied)
        : CChildFrame(kind), m_quantity(quantity), m_applied(applied) {}
    CReadingReceiver* Receiver() override { return &m_receiver; }
    int MainQuantity() const override { return m_quantity; }
    void ApplySettings() override { ++m_applied; }

private:
    int m_quantity;
    int& m_applied;
    CReadingReceiver m_receiver;
};

class CSettingCommandTest : public ::testing::Test {
protected:
    void Connect(int model) {
        m_frame = std::make_unique<CMainFrame>(std::make_unique<CConnectedLink>(model));
        for (ChildKind kind : {ChildKind::Measurement, ChildKind::Pulse, ChildKind::Ccdf})
            m_frame->ChildFactory().SetCreator(
                kind, [this, kind] { return new CSettingsScreen(kind, ChannelPeak, m_applied); });
        ASSERT_TRUE(m_frame->Create(QString()));
        m_frame->ConnectToPort(3);
    }

    // The setting dialogs open now.
    std::vector<CSettingDlg*> OpenDialogs() const {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::vector<CSettingDlg*> open;
        for (CSettingDlg* dialog : m_frame->findChildren<CSettingDlg*>())
            if (dialog->isVisible())
                open.push_back(dialog);
        return open;
    }

    static int RangeTab(const CSettingDlg& dialog) {
        return dialog.Page(SettingPageKind::Avg)
            ->findChild<QTabWidget*>(QString::number(IdcRangeTabs))
            ->currentIndex();
    }

    CAppTestSandbox m_sandbox;
    int m_applied = 0;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(CSettingCommandTest, WithoutAScreenTheDialogOpensOnTheFirstTabOnce) {
    Connect(5);
    m_frame->ExecuteCommand(ID_DEVICE_SETTING);
    m_frame->ExecuteCommand(ID_DEVICE_SETTING);
    const std::vector<CSettingDlg*> open = OpenDialogs();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]->SelectedTab(), 0);
    EXPECT_EQ(RangeTab(*open[0]), 0);
    open[0]->accept();
    EXPECT_TRUE(OpenDialogs().empty());
    EXPECT_EQ(m_applied, 0);
    EXPECT_TRUE(std::filesystem::exists(CSettingProfile::ProfilePath(m_frame->Profile().ModelName())))
        << "confirmed settings are saved at once";
}

TEST_F(CSettingCommandTest, TheScreenOfTheModeGetsItsTabAndAppliesOnConfirmation) {
    Connect(5);
    m_frame->ExecuteCommand(ID_MODE_AVGPEAK);
    m_frame->ExecuteCommand(ID_DEVICE_SETTING);
    ASSERT_EQ(OpenDialogs().size(), 1u);
    CSettingDlg* dialog = OpenDialogs()[0];
    EXPECT_EQ(dialog->SelectedTab(), 0);
    EXPECT_EQ(RangeTab(*dialog), 1) << "the range tab follows the main readout's quantity";
    dialog->accept();
    EXPECT_EQ(m_applied, 1);

    m_frame->ExecuteCommand(ID_MODE_PULSE);
    m_frame->ExecuteCommand(ID_DEVICE_SETTING);
    ASSERT_EQ(OpenDialogs().size(), 1u);
    EXPECT_EQ(OpenDialogs()[0]->SelectedTab(), 2);
    OpenDialogs()[0]->reject();
    EXPECT_EQ(m_applied, 1);

    m_frame->ExecuteCommand(ID_MODE_CCDF);
    QApplication::processEvents(); // the CCDF screen posts the setting command
    ASSERT_EQ(OpenDialogs().size(), 1u);
    EXPECT_EQ(OpenDialogs()[0]->SelectedTab(), 1);
}

TEST_F(CSettingCommandTest, WithoutASensorTheDialogOpensOnTheFirstTabAndChangesNoScreen) {
    Connect(5);
    m_frame->ExecuteCommand(ID_MODE_PULSE);
    m_frame->ExecuteCommand(ID_DEVICE_DISCONNECT);
    const int appliedBefore = m_applied; // the screen redraws without its live readings
    m_frame->ExecuteCommand(ID_DEVICE_SETTING);
    ASSERT_EQ(OpenDialogs().size(), 1u);
    CSettingDlg* dialog = OpenDialogs()[0];
    EXPECT_EQ(dialog->SelectedTab(), 0);
    dialog->accept();
    EXPECT_EQ(m_applied, appliedBefore);
}

} // namespace
