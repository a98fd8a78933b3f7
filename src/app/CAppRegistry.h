#pragma once

#include <atomic>
#include <functional>
#include <mutex>

class CShellLink;
class CSettingProfile;
class CReadingReceiver;

// Where the main window, the settings profile and the open screens are registered so that any
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

    CShellLink* GetShell() const { return m_shell.load(); }
    void SetShell(CShellLink* shell) { m_shell.store(shell); }
    CSettingProfile* GetSettingProfile() const { return m_settingProfile.load(); }
    void SetSettingProfile(CSettingProfile* profile) { m_settingProfile.store(profile); }
    CReadingReceiver* GetMeasurementScreen() const { return m_measurementScreen.load(); }
    void SetMeasurementScreen(CReadingReceiver* screen) { SetScreen(m_measurementScreen, screen); }
    CReadingReceiver* GetPulseScreen() const { return m_pulseScreen.load(); }
    void SetPulseScreen(CReadingReceiver* screen) { SetScreen(m_pulseScreen, screen); }
    CReadingReceiver* GetCcdfScreen() const { return m_ccdfScreen.load(); }
    void SetCcdfScreen(CReadingReceiver* screen) { SetScreen(m_ccdfScreen, screen); }

    enum class Screen { Measurement, Pulse, Ccdf };
    // Calls `call` with the screen's receiver, if one is registered. A screen slot is never
    // cleared while such a call runs, so once a screen has cleared its slot no call can still
    // reach it and the screen may be destroyed. Receivers must not block.
    void CallScreen(Screen screen, const std::function<void(CReadingReceiver&)>& call);

    // True while at least one of the three screens is open.
    bool IsAnyScreenOpen() const;

private:
    void SetScreen(std::atomic<CReadingReceiver*>& slot, CReadingReceiver* screen);

    // Recursive so that a receiver may look at (or even change) the slots from inside its call.
    std::recursive_mutex m_screenCall;
    std::atomic<CShellLink*> m_shell{nullptr};
    std::atomic<CSettingProfile*> m_settingProfile{nullptr};
    std::atomic<CReadingReceiver*> m_measurementScreen{nullptr};
    std::atomic<CReadingReceiver*> m_pulseScreen{nullptr};
    std::atomic<CReadingReceiver*> m_ccdfScreen{nullptr};
};
