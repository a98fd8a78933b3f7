#pragma once

#include "gui/kit/CChildFrame.h"

#include <array>
#include <functional>
#include <string>

class CMeterLink;
class CSettingProfile;

// Creates the child windows of one main window: the screens on its settings profile, measuring
// through the link to the current sensor's engine and keeping their journals in the folder given,
// and the history viewers. A test may put its own window in the place of a kind.
class CChildFrameFactory {
public:
    using Creator = std::function<CChildFrame*()>;

    CChildFrameFactory(CSettingProfile& profile, CMeterLink& link) : m_profile(profile), m_link(link) {}

    CChildFrame* Create(ChildKind kind) const;
    // An empty creator restores the real window.
    void SetCreator(ChildKind kind, Creator creator);
    // Screens created from now on keep crash-safe journals of their measurements in the folder.
    void KeepJournalsIn(const std::string& folder) { m_journalFolder = folder; }
    const std::string& JournalFolder() const { return m_journalFolder; }

private:
    CChildFrame* CreateScreen(ChildKind kind) const;

    CSettingProfile& m_profile;
    CMeterLink& m_link;
    std::string m_journalFolder;
    std::array<Creator, 5> m_creators;
};
