#pragma once

#include <atomic>

class CShellLink;
class CSettingProfile;

// Where the main window and the settings profile are registered so that the application's
// windows can find them. The registry never dereferences what it holds.
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

private:
    std::atomic<CShellLink*> m_shell{nullptr};
    std::atomic<CSettingProfile*> m_settingProfile{nullptr};
};
