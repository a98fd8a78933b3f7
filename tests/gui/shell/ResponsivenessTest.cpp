#include "support/CAppTestSandbox.h"
#include "support/RunUntil.h"

#include "appcore/CScreenController.h"
#include "appcore/CommandIds.h"
#include "gui/screens/CScreenFrame.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

// The longest time the user-interface thread went without turning its event loop.
class CLoopGapMeter {
public:
    CLoopGapMeter() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longestMs = std::max(m_longestMs, m_sinceLastTurn.restart()); });
        m_sinceLastTurn.start();
        m_timer.start();
    }
    qint64 LongestMs() const { return m_longestMs; }
    // Starts a new measuring phase; the longest gap of the phase before is returned.
    qint64 Restart() {
        const qint64 longest = m_longestMs;
        m_longestMs = 0;
        m_sinceLastTurn.restart();
        return longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceLastTurn;
    qint64 m_longestMs = 0;
};

} // namespace

// Connect and Start over a paced COM line (a write pause and about a millisecond per byte)
// while a zero-interval timer records how long the event loop stood still.
TEST(Responsiveness, ConnectAndStartLeaveTheWindowResponsive) {
    CAppTestSandbox sandbox;
    ::setenv("PELMORA_PORTS_DIR", sandbox.Path("ports").c_str(), 1);
    VirtualSensorConfig config;
    config.modelNumber = 0;
    config.pace = true;
    CVirtualSensor sensor(config);
    const int port = sensor.StartSerial();
    ASSERT_GT(port, 0) << sensor.LastError();

    CMeterEngine engine;
    CMainFrame frame(std::make_unique<CEngineMeterLink>(engine));
    ASSERT_TRUE(frame.Create(QString()));
    frame.show();
    CLoopGapMeter meter;
    frame.ConnectToPort(port);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnecting(); }, 20000));
    ASSERT_TRUE(frame.IsConnected());
    const qint64 connectGapMs = meter.Restart();

    // Opening the screen builds its windows and the setting dialog: user-interface work only.
    frame.ExecuteCommand(ID_MODE_AVGPEAK);
    QCoreApplication::processEvents();
    const qint64 openGapMs = meter.Restart();
    frame.ExecuteCommand(ID_MEASURE_START);
    auto* screen = qobject_cast<CScreenFrame*>(frame.ActiveChild());
    ASSERT_NE(screen, nullptr);
    const CRecordStore& records = screen->Controller().Recording().Records();
    EXPECT_TRUE(RunUntil([&] { return records.Count(ChannelAvg) >= 2; }, 20000));
    const qint64 measureGapMs = meter.Restart();

    std::cout << "longest event-loop gap: connect " << connectGapMs << " ms, opening the screen " << openGapMs
              << " ms, start and measure " << measureGapMs << " ms\n";
    RecordProperty("ConnectGapMs", static_cast<int>(connectGapMs));
    RecordProperty("StartGapMs", static_cast<int>(measureGapMs));
    engine.Disconnect();
    ::unsetenv("PELMORA_PORTS_DIR");
}
