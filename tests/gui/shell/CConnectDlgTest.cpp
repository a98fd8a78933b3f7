#include "support/CAppTestSandbox.h"
#include "support/CDeviceSandbox.h"
#include "support/CPseudoTerminal.h"

#include "device/CPortRegistry.h"
#include "device/CSerial.h"
#include "gui/shell/CConnectDlg.h"
#include "platform/TraceSink.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A ports directory of our own holding pseudo-terminals, no machine ports, and settings of
// our own.
class CConnectDlgTest : public testing::Test {
protected:
    CConnectDlgTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    int RegisterTerminal() { return CPortRegistry::RegisterDevice(m_terminal.SlavePath()); }
    int RegisterSecondTerminal() { return CPortRegistry::RegisterDevice(m_secondTerminal.SlavePath()); }

    int32_t ChooseAndAccept(int listIndex) {
        CConnectDlg dialog(m_trace);
        // What a click on a list item does.
        dialog.PortList()->setCurrentIndex(listIndex);
        emit dialog.PortList()->activated(listIndex);
        dialog.accept();
        return dialog.ResultPort();
    }

    CAppTestSandbox m_sandbox;
    CDeviceSandbox m_devices;
    CPseudoTerminal m_terminal;
    CPseudoTerminal m_secondTerminal;
    QTemporaryDir m_settings;
    TraceSink m_trace;
};

} // namespace

TEST_F(CConnectDlgTest, OkWithoutTouchingAnythingChoosesUsb) {
    const int port = RegisterTerminal();
    ASSERT_GT(port, 0);
    CConnectDlg dialog(m_trace);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Connect"));
    EXPECT_TRUE(dialog.UsbChoice()->isChecked());
    EXPECT_FALSE(dialog.SerialChoice()->isChecked());
    EXPECT_EQ(dialog.PortList()->currentIndex(), 0);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ResultPort(), -1);
}

TEST_F(CConnectDlgTest, SerialChoiceGivesTheSelectedPortNumber) {
    const int port = RegisterTerminal();
    ASSERT_GT(port, 0);
    CConnectDlg dialog(m_trace);
    ASSERT_EQ(dialog.PortList()->count(), 1);
    EXPECT_EQ(dialog.PortList()->itemText(0), QStringLiteral("Virtual Serial Port (COM%1)").arg(port));
    dialog.SerialChoice()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ResultPort(), port);
    EXPECT_EQ(dialog.SelectedName(), dialog.PortList()->itemText(0));
}

TEST_F(CConnectDlgTest, SerialChoiceWithoutAnyPortKeepsTheDialogOpen) {
    CConnectDlg dialog(m_trace);
    dialog.show();
    EXPECT_EQ(dialog.PortList()->count(), 0);
    dialog.SerialChoice()->setChecked(true);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    dialog.UsbChoice()->setChecked(true);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ResultPort(), -1);
}

TEST_F(CConnectDlgTest, PortsThatCannotBeOpenedComeLast) {
    const int held = RegisterTerminal();
    const int free = RegisterSecondTerminal();
    ASSERT_LT(held, free);
    CSerial holder;
    ASSERT_EQ(holder.Open(CPortRegistry::DevicePath(held), 0, 0, false), 0);
    CConnectDlg dialog(m_trace);
    ASSERT_EQ(dialog.PortList()->count(), 2);
    EXPECT_EQ(dialog.PortList()->itemData(0).toInt(), free);
    EXPECT_EQ(dialog.PortList()->itemData(1).toInt(), held);
}

TEST_F(CConnectDlgTest, PickingAPortChoosesSerialAndTheChoiceIsRememberedNextTime) {
    RegisterTerminal();
    const int second = RegisterSecondTerminal();
    EXPECT_EQ(ChooseAndAccept(1), second);

    CConnectDlg reopened(m_trace);
    EXPECT_TRUE(reopened.SerialChoice()->isChecked());
    EXPECT_EQ(reopened.PortList()->currentData().toInt(), second);
    reopened.UsbChoice()->setChecked(true);
    reopened.accept();

    CConnectDlg afterUsb(m_trace);
    EXPECT_TRUE(afterUsb.UsbChoice()->isChecked());
    EXPECT_EQ(afterUsb.PortList()->currentData().toInt(), second) << "the port is kept for next time";
}

TEST_F(CConnectDlgTest, RememberedPortThatHasGoneFallsBackToTheFirst) {
    RegisterTerminal();
    const int second = RegisterSecondTerminal();
    EXPECT_EQ(ChooseAndAccept(1), second);
    CPortRegistry::Unregister(second);
    CConnectDlg dialog(m_trace);
    EXPECT_TRUE(dialog.SerialChoice()->isChecked());
    EXPECT_EQ(dialog.PortList()->currentIndex(), 0);
}
