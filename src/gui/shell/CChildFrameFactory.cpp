#include "gui/shell/CChildFrameFactory.h"

#include "appcore/CMeasurementLink.h"
#include "appcore/CMeterLink.h"
#include "gui/history/CHistoryFrame.h"
#include "gui/screens/CCcdfFrame.h"
#include "gui/screens/CMeasurementFrame.h"
#include "gui/screens/CPulseFrame.h"
#include "gui/shell/CPlaceholderScreenFrame.h"

#include <array>

CChildFrame* CChildFrameFactory::Create(ChildKind kind, CSettingProfile& profile, CMeterLink& link) {
    if (const Creator& creator = CreatorOf(kind))
        return creator();
    if (kind == ChildKind::History)
        return new CHistoryFrame();
    if (kind == ChildKind::Measurement)
        return new CMeasurementFrame(&profile, link.MeasurementLink(profile));
    if (kind == ChildKind::Pulse)
        return new CPulseFrame(&profile, link.MeasurementLink(profile));
    if (kind == ChildKind::Ccdf)
        return new CCcdfFrame(&profile, link.MeasurementLink(profile));
    return new CPlaceholderScreenFrame(kind);
}

void CChildFrameFactory::SetCreator(ChildKind kind, Creator creator) {
    CreatorOf(kind) = std::move(creator);
}

CChildFrameFactory::Creator& CChildFrameFactory::CreatorOf(ChildKind kind) {
    static std::array<Creator, 4> creators;
    return creators[static_cast<size_t>(kind)];
}
