#include "support/CAppTestSandbox.h"
#include "support/CDeviceSandbox.h"
#include "support/RunUntil.h"

#include "appcore/CScreenController.h"
#include "appcore/CommandIds.h"
#include "gui/screens/CRelativeFrame.h"
#include "gui/screens/CScreenFrame.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CSensorSlot.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Two sensors of one model at 30 and 40 dBm: A over USB, B on a COM port.
class TwoSensorsWithVirtualSensor : public ::testing::Test {
protected:
    void SetUp() override {
        m_a = Sensor(30.0, 10001);
        m_b = Sensor(40.0, 10002);
        ASSERT_TRUE(m_a->StartUsb(UsbVariant::Newer)) << m_a->LastError();
        m_port = m_b->StartSerial();
        ASSERT_GT(m_port, 0) << m_b->LastError();
    }

    static std::unique_ptr<CVirtualSensor> Sensor(double level, int serial) {
        VirtualSensorConfig config;
        config.modelNumber = 1; // one quantity: the COM line's half-second pause keeps it brisk
        config.serialNumber = serial;
        config.signal.levelDbm = level;
        return std::make_unique<CVirtualSensor>(config);
    }

    // With PELMORA_SHOTS set, the window as it is now goes there as a PNG file.
    static void Shoot(QWidget& window, const char* name) {
        if (const char* folder = std::getenv("PELMORA_SHOTS"); folder != nullptr && QDir().mkpath(folder))
            window.grab().save(QDir(folder).filePath(QString::fromLatin1(name)));
    }

    // What the shown Window menu lists, one entry a line.
    static QString WindowMenuText(CMainFrame& frame) {
        const auto isCascade = [](const QAction* item) { return item->data().toInt() == ID_WINDOW_CASCADE; };
        for (QAction* popup : frame.menuBar()->actions())
            if (QMenu* menu = popup->menu();
                menu != nullptr && std::ranges::any_of(menu->actions(), isCascade)) {
                emit menu->aboutToShow();
                menu->adjustSize();
                Shoot(*menu, "window-menu.png");
                QStringList entries;
                for (const QAction* action : menu->actions())
                    entries.append(action->text());
                return entries.join(QLatin1Char('\n'));
            }
        return {};
    }

    CAppTestSandbox m_sandbox;
    CDeviceSandbox m_devices;
    std::unique_ptr<CVirtualSensor> m_a;
    std::unique_ptr<CVirtualSensor> m_b;
    int m_port = 0;
};

} // namespace

TEST_F(TwoSensorsWithVirtualSensor, TheRelativeScreenReadsTheDifferenceAndFollowsALostSensor) {
    std::vector<std::unique_ptr<CMeterEngine>> engines;
    engines.push_back(std::make_unique<CMeterEngine>());
    CMainFrame frame(std::make_unique<CEngineMeterLink>(*engines.front()));
    frame.SetLinkFactory([&engines] {
        engines.push_back(std::make_unique<CMeterEngine>());
        return std::make_unique<CEngineMeterLink>(*engines.back());
    });
    ASSERT_TRUE(frame.Create(QString()));
    frame.resize(1280, 800);
    frame.show();
    QTimer dismiss; // the setting dialog a screen opens with
    QObject::connect(&dismiss, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    dismiss.start(50);

    frame.ConnectToPort(-1);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnecting(); }, 10000) && frame.IsConnected());
    frame.ExecuteCommand(ID_MODE_AVG);
    frame.ExecuteCommand(ID_MEASURE_START);
    EXPECT_FALSE(frame.QueryCommand(ID_MODE_SENSOR_RELATIVE).enabled) << "one sensor relates to none";
    EXPECT_TRUE(frame.QueryCommand(ID_DEVICE_CONNECT).enabled) << "Connect adds a sensor";

    frame.AddSensor(m_port);
    ASSERT_TRUE(RunUntil([&] { return frame.FindSensorChild(1, ChildKind::Measurement) != nullptr; }, 10000));
    EXPECT_EQ(frame.ConnectedSensorCount(), 2);
    CSensorSlot& slot = *frame.Slot(1);
    EXPECT_TRUE(slot.Profile().KeepsOwnFile());
    auto* screenB = qobject_cast<CScreenFrame*>(frame.FindSensorChild(1, ChildKind::Measurement));
    ASSERT_NE(screenB, nullptr) << "an added sensor opens on its own screen";
    EXPECT_TRUE(screenB->windowTitle().contains(QStringLiteral("COM%1").arg(m_port)));
    screenB->OnCommand(ID_MEASURE_START);
    auto* screenA = qobject_cast<CScreenFrame*>(frame.FindChild(ChildKind::Measurement));
    ASSERT_NE(screenA, nullptr);
    EXPECT_TRUE(screenA->Controller().IsRunning()) << "each sensor measures for its own screen";

    frame.ExecuteCommand(ID_MODE_SENSOR_RELATIVE);
    auto* relative = qobject_cast<CRelativeFrame*>(frame.FindChild(ChildKind::Relative));
    ASSERT_NE(relative, nullptr);
    relative->ChooseSensors(0, 1);
    relative->OnCommand(ID_MEASURE_START);
    const auto now = [] { return CRelativeReadout::Clock::now(); };
    ASSERT_TRUE(RunUntil([&] { return relative->Readout().RowCount() >= 3; }, 15000));
    ASSERT_TRUE(relative->Readout().CurrentDb(now()));
    EXPECT_NEAR(*relative->Readout().CurrentDb(now()), 10.0, 0.3);
    relative->SetLimits(true, 11.0, 12.0, true);
    EXPECT_TRUE(relative->Readout().IsAlarm(now()));
    EXPECT_TRUE(frame.SensorStates().contains(QStringLiteral("measuring")));
    RunUntil([] { return false; }, 1500);
    Shoot(frame, "two-sensors-relative.png");
    EXPECT_EQ(WindowMenuText(frame).count(QStringLiteral("#1000")), 4) << "each sensor, then its screen";

    m_b.reset(); // B is unplugged
    const QString lost = QString::fromStdString(CAppTestSandbox::GeneralText("S_SENSOR_STATE_LOST"));
    ASSERT_TRUE(RunUntil([&] { return frame.SensorStates().count(lost) == 1; }, 10000))
        << frame.SensorStates().toStdString();
    ASSERT_TRUE(RunUntil([&] { return !relative->Readout().CurrentDb(now()); }, 10000))
        << "N/A, not an old value";
    EXPECT_TRUE(screenA->Controller().IsRunning() && !screenA->Controller().IsLinkLost());
    RunUntil([] { return false; }, 500); // the readouts refresh a few times a second
    Shoot(frame, "two-sensors-one-lost.png");

    m_b = Sensor(40.0, 10002);
    ASSERT_EQ(m_b->StartSerial(m_port), m_port);
    ASSERT_TRUE(RunUntil([&] { return relative->Readout().CurrentDb(now()).has_value(); }, 20000))
        << "resumes by itself";
    EXPECT_FALSE(frame.SensorStates().contains(lost));

    // With no sensor's screen active, Disconnect asks which sensor and lets only that one go.
    dismiss.stop();
    QStringList offered;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&offered] {
        if (auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            offered = ask->comboBoxItems();
            ask->setTextValue(offered.filter(QStringLiteral("#10002")).value(0));
            ask->accept();
        }
    });
    answer.start(50);
    m_sandbox.Messages().answer = IDNO;            // B's record is not saved
    frame.ExecuteCommand(ID_MODE_SENSOR_RELATIVE); // back to the front
    frame.ExecuteCommand(ID_DEVICE_DISCONNECT);
    EXPECT_EQ(offered.size(), 2) << offered.join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(RunUntil([&] { return frame.ConnectedSensorCount() == 1; }, 10000))
        << frame.SensorStates().toStdString() << " / " << offered.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(frame.SensorStates().contains(QStringLiteral("#10001")) &&
                !frame.SensorStates().contains(QStringLiteral("#10002")))
        << frame.SensorStates().toStdString();
    EXPECT_TRUE(screenA->Controller().IsRunning());
    for (auto& engine : engines)
        engine->Disconnect();
}
