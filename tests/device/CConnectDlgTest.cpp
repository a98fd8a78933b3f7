#include "support/CAppTestSandbox.h"
#include "support/CDeviceSandbox.h"
#include "support/CPseudoTerminal.h"

#include "device/CConnectDlg.h"
#include "device/CPortRegistry.h"

#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

// A ports directory of our own holding one pseudo-terminal, and no machine ports.
class CConnectDlgTest : public testing::Test {
protected:
    int RegisterTerminal() { return CPortRegistry::RegisterDevice(m_terminal.SlavePath()); }

    CAppTestSandbox m_sandbox;
    CDeviceSandbox m_devices;
    CPseudoTerminal m_terminal;
};

} // namespace

TEST_F(CConnectDlgTest, OkWithoutTouchingAnythingChoosesUsb) {
    const int port = RegisterTerminal();
    ASSERT_GT(port, 0);
    CConnectDlg dialog;
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
    CConnectDlg dialog;
    ASSERT_EQ(dialog.PortList()->count(), 1);
    EXPECT_EQ(dialog.PortList()->itemText(0), QStringLiteral("Virtual Serial Port (COM%1)").arg(port));
    dialog.SerialChoice()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ResultPort(), port);
    EXPECT_EQ(dialog.SelectedName(), dialog.PortList()->itemText(0));
}

TEST_F(CConnectDlgTest, SerialChoiceWithoutAnyPortKeepsTheDialogOpen) {
    CConnectDlg dialog;
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
