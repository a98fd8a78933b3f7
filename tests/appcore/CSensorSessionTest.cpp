#include "appcore/CSensorSession.h"

#include "appcore/CLoggingLink.h"
#include "appcore/CMeasurementLink.h"
#include "appcore/CMessageBoxes.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "protocol/CReadingSinks.h"
#include "support/CAppTestSandbox.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The engine as the session sees it; completions are kept until the test lets them run.
class CHeldLink : public CMeterLink {
public:
    void Connect(int32_t, ConnectDone done) override { connectDone = std::move(done); }
    void Disconnect(DisconnectDone done) override {
        connected = false;
        releaseDone = std::move(done);
    }
    bool IsConnected() const override { return connected; }
    int32_t IdentificationCode() const override { return code; }
    int32_t SerialNumber() const override { return serial; }
    int32_t FirmwareVersion() const override { return 295; }
    CReadingSinks& Sinks() override { return sinks; }
    // The session itself never measures nor logs.
    std::unique_ptr<CMeasurementLink> MeasurementLink(const CSettingProfile&) override { return nullptr; }
    std::unique_ptr<CLoggingLink> LoggingLink(bool) override { return nullptr; }

    void Answer(int model, int32_t serialNumber) {
        code = CModelTable::FindByNumber(model)->code;
        serial = serialNumber;
        connected = true;
        connectDone(0);
    }

    bool connected = false;
    int32_t code = 0;
    int32_t serial = 0;
    ConnectDone connectDone;
    DisconnectDone releaseDone;
    CReadingSinks sinks;
};

class CWindowLog : public CSessionWindow {
public:
    void StopScreens() override { stoppedBeforeAsking = true; }
    bool OfferToSaveScreens() override {
        asked = asked || stoppedBeforeAsking;
        return !keepMeasurement;
    }
    void ForgetScreenMeasurements() override { ++forgotten; }
    void ConfigureScreens() override { ++configured; }
    void SensorReleased() override { ++applied; }
    void SessionChanged() override {}
    void ShowBusy(bool on) override { busy += on ? 1 : -1; }
    bool OpenHistory(const std::string&) override { return true; }

    bool keepMeasurement = false;
    bool stoppedBeforeAsking = false;
    bool asked = false; // only ever after the screens stopped
    int forgotten = 0;
    int configured = 0;
    int applied = 0;
    int busy = 0;
};

class CSensorSessionTest : public testing::Test {
protected:
    CSensorSessionTest() {
        auto link = std::make_unique<CHeldLink>();
        m_link = link.get();
        m_session = std::make_unique<CSensorSession>(std::move(link), m_profile, m_window, &m_window);
    }

    CAppTestSandbox m_sandbox;
    CSettingProfile m_profile;
    CWindowLog m_window;
    CHeldLink* m_link = nullptr;
    std::unique_ptr<CSensorSession> m_session;
};

} // namespace

TEST_F(CSensorSessionTest, AnotherSensorIsTakenOverOnlyWhenTheWindowGivesUpItsMeasurement) {
    m_session->Connect(5);
    EXPECT_EQ(m_window.busy, 1);
    m_session->Connect(6);
    m_link->Answer(1, 4711);
    EXPECT_EQ(m_window.busy, 0) << "one wait shown and ended, the second connect ignored";
    EXPECT_EQ(m_profile.GetModelNumber(), 1);
    EXPECT_EQ(m_session->PortLabel(), "COM5");
    EXPECT_EQ(m_window.configured, 1);

    m_window.keepMeasurement = true;
    m_window.stoppedBeforeAsking = m_window.asked = false;
    m_session->Connect(-1);
    m_link->Answer(5, 99);
    EXPECT_FALSE(m_session->IsConnected()) << "the new sensor is let go";
    EXPECT_TRUE(m_session->IsDisconnecting());
    EXPECT_EQ(m_profile.GetModelNumber(), 1);
    EXPECT_EQ(m_window.forgotten, 1) << "the kept measurement is not forgotten";
    EXPECT_TRUE(m_window.asked) << "the screens stopped requesting before the question";
    EXPECT_EQ(m_session->PortLabel(), "COM5");

    m_link->releaseDone();
    m_window.keepMeasurement = false;
    m_session->Connect(-1);
    m_link->Answer(1, 4711);
    EXPECT_EQ(m_window.forgotten, 1)
        << "only the first sensor was new: the same one again keeps its measurement";
    EXPECT_EQ(m_session->PortLabel(), "USB");
}

TEST_F(CSensorSessionTest, DisconnectTellsOnlyOnceThePortIsFree) {
    m_session->Connect(3);
    m_link->Answer(0, 1);
    m_window.keepMeasurement = true;
    m_session->Disconnect();
    EXPECT_TRUE(m_session->IsConnected()) << "the user kept the measurement";

    m_window.keepMeasurement = false;
    m_session->Disconnect();
    EXPECT_TRUE(m_session->IsDisconnecting());
    EXPECT_EQ(m_window.applied, 1) << "no readout shows the last reading as live";
    const size_t shownBefore = m_sandbox.Messages().shown.size();
    m_link->releaseDone();
    EXPECT_FALSE(m_session->IsDisconnecting());
    ASSERT_EQ(m_sandbox.Messages().shown.size(), shownBefore + 1);
    EXPECT_EQ(m_sandbox.Messages().shown.back().text, CAppTestSandbox::GeneralText("S_IDD_DISCONNECTED"));
    EXPECT_EQ(m_sandbox.Messages().shown.back().owner, &m_window);
}
