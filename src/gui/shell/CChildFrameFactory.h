#pragma once

#include "gui/kit/CChildFrame.h"

#include <functional>

class CMeterLink;
class CSettingProfile;

// Creates the child window of each kind. Screens that are built later install their own
// creator; until then a kind gets its stand-in window.
class CChildFrameFactory {
public:
    using Creator = std::function<CChildFrame*()>;

    // A screen measures with the profile's settings through the link's engine.
    static CChildFrame* Create(ChildKind kind, CSettingProfile& profile, CMeterLink& link);
    // An empty creator restores the stand-in.
    static void SetCreator(ChildKind kind, Creator creator);

private:
    static Creator& CreatorOf(ChildKind kind);
};
