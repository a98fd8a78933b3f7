#pragma once

#include <atomic>

class CMainFrame;
class CSettingProfile;
class CReadingReceiver;

// Where the main frame, the settings profile and the open screens are registered so that any
// part of the program can find them. Slots are written on the user-interface thread and read
// by the acquisition worker, hence atomic; the registry never dereferences what it holds.
class CAppRegistry {
public:
    // The process-wide instance, created on first use.
    static CAppRegistry& Instance();
    // Deletes the instance; the next Instance() creates a fresh, empty one.
    static void DestroyInstance();

    // Empties every slot.
    void Reset();

    CMainFrame* GetMainFrame() const { return m_mainFrame.load(); }
    void SetMainFrame(CMainFrame* frame) { m_mainFrame.store(frame); }
    CSettingProfile* GetSettingProfile() const { return m_settingProfile.load(); }
    void SetSettingProfile(CSettingProfile* profile) { m_settingProfile.store(profile); }
    CReadingReceiver* GetMeasurementScreen() const { return m_measurementScreen.load(); }
    void SetMeasurementScreen(CReadingReceiver* screen) { m_measurementScreen.store(screen); }
    CReadingReceiver* GetPulseScreen() const { return m_pulseScreen.load(); }
    void SetPulseScreen(CReadingReceiver* screen) { m_pulseScreen.store(screen); }
    CReadingReceiver* GetCcdfScreen() const { return m_ccdfScreen.load(); }
    void SetCcdfScreen(CReadingReceiver* screen) { m_ccdfScreen.store(screen); }

    // True while at least one of the three screens is open.
    bool IsAnyScreenOpen() const;

private:
    std::atomic<CMainFrame*> m_mainFrame{nullptr};
    std::atomic<CSettingProfile*> m_settingProfile{nullptr};
    std::atomic<CReadingReceiver*> m_measurementScreen{nullptr};
    std::atomic<CReadingReceiver*> m_pulseScreen{nullptr};
    std::atomic<CReadingReceiver*> m_ccdfScreen{nullptr};
};
