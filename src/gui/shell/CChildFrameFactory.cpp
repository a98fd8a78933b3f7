#include "gui/shell/CChildFrameFactory.h"

#include "appcore/CMeasurementLink.h"
#include "appcore/CMeterLink.h"
#include "gui/history/CHistoryFrame.h"
#include "gui/screens/CCcdfFrame.h"
#include "gui/screens/CMeasurementFrame.h"
#include "gui/screens/CPulseFrame.h"

CChildFrame* CChildFrameFactory::Create(ChildKind kind) const {
    if (const Creator& creator = m_creators[static_cast<size_t>(kind)])
        return creator();
    if (kind == ChildKind::History)
        return new CHistoryFrame();
    return CreateScreen(kind);
}

CChildFrame* CChildFrameFactory::CreateScreen(ChildKind kind) const {
    CScreenFrame* screen = nullptr;
    if (kind == ChildKind::Measurement)
        screen = new CMeasurementFrame(m_profile, m_link.MeasurementLink(m_profile));
    else if (kind == ChildKind::Pulse)
        screen = new CPulseFrame(m_profile, m_link.MeasurementLink(m_profile));
    else
        screen = new CCcdfFrame(m_profile, m_link.MeasurementLink(m_profile));
    screen->KeepJournalIn(m_journalFolder);
    return screen;
}

void CChildFrameFactory::SetCreator(ChildKind kind, Creator creator) {
    m_creators[static_cast<size_t>(kind)] = std::move(creator);
}
