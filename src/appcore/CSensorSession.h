#pragma once

#include "appcore/CMeterLink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CSettingProfile;
struct SensorModel;

// What a sensor session asks of the window that holds it: the open screens and the state shown.
class CSessionWindow {
public:
    virtual ~CSessionWindow() = default;

    // Ends every screen's requests, so that no reading joins a measurement while the user is
    // asked what becomes of it.
    virtual void StopScreens() = 0;
    // Offers every screen's unsaved measurement for saving; false when the user cancelled.
    virtual bool OfferToSaveScreens() = 0;
    // Another sensor was taken over: nothing the screens measured belongs to its readings.
    virtual void ForgetScreenMeasurements() = 0;
    // Every open screen follows the sensor now connected.
    virtual void ConfigureScreens() = 0;
    // The sensor was let go: the screens keep their last readings, but none shows them as live.
    virtual void SensorReleased() = 0;
    // A connect or release started or ended: what the commands allow has changed.
    virtual void SessionChanged() = 0;
    // While the sensor is being identified the window shows that it waits (also the window's
    // to undo when it goes first).
    virtual void ShowBusy(bool busy) = 0;
    // Opens a history file the session wrote; false when it could not be read.
    virtual bool OpenHistory(const std::string& path) = 0;
};

// The sensor as the main window deals with it: connect and identify it, take it over into the
// settings profile, release it, and offer the measurements that a crash left in journals. The
// window keeps working throughout: the link reports back later, on the window's thread.
class CSensorSession {
public:
    // `messageOwner` owns the message boxes the session shows; the profile and window outlive it.
    CSensorSession(std::unique_ptr<CMeterLink> link, CSettingProfile& profile, CSessionWindow& window,
                   void* messageOwner);
    CSensorSession(const CSensorSession&) = delete;
    CSensorSession& operator=(const CSensorSession&) = delete;

    // Identifies the sensor on the port (below 1: USB); ignored while a connect runs.
    void Connect(int port);
    // Lets the sensor go once the screens' measurements were offered for saving.
    void Disconnect();
    bool IsConnecting() const { return m_connecting; }
    // The sensor is being released; a connect must wait for the port.
    bool IsDisconnecting() const { return m_disconnecting; }
    bool IsConnected() const { return m_link->IsConnected(); }
    // "COM5" or "USB" for the sensor connected last; empty before.
    const std::string& PortLabel() const { return m_portLabel; }
    CMeterLink& Link() { return *m_link; }

    // Writes the profile of the current model; false (after telling the user) when that failed.
    bool SaveProfile();
    // The last save, at exit; false (after telling the user) when that failed.
    bool SaveProfileOnExit();
    // Offers each measurement whose recording ended without a save (its journal was left in the
    // folder) for recovery as a history file, which then opens; one declined is given up.
    void RecoverJournals(const std::string& folder);

    static std::string PortLabelOf(int port);

private:
    void FinishConnect(int port, int32_t result);
    void ReportConnectFailure(int32_t code);
    // False when the user kept the previous sensor's unsaved measurement.
    bool TakeOverSensor(const SensorModel& model);
    bool TellIfNotSaved(bool saved);
    // Lets the sensor go without waiting for it; `released` runs once the port is free.
    void Release(std::function<void()> released = {});

    std::unique_ptr<CMeterLink> m_link;
    CSettingProfile& m_profile;
    CSessionWindow& m_window;
    void* m_messageOwner;
    std::string m_portLabel;
    bool m_connecting = false;
    bool m_disconnecting = false;
    // The profile holds the settings of a sensor connected in this session.
    bool m_sensorKnown = false;
};
