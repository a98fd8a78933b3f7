#include "gui/history/CHistoryFrame.h"

#include "gui/history/CHistoryView.h"

CHistoryFrame::CHistoryFrame(QWidget* parent)
    : CChildFrame(ChildKind::History, parent), m_view(new CHistoryView(this)) {
    m_view->setObjectName(QStringLiteral("HistoryView"));
    setWidget(m_view);
    setFocusProxy(m_view);
}

bool CHistoryFrame::LoadFile(const std::string& path) {
    return m_view->Load(path);
}

std::string CHistoryFrame::LoadError() const {
    return m_view->LoadError();
}

std::string CHistoryFrame::DocumentModelName() const {
    return m_view->ModelName();
}

bool CHistoryFrame::OnCommand(int id) {
    return m_view->OnCommand(id);
}

bool CHistoryFrame::OnUpdateCommand(int id, CCommandState& state) {
    return m_view->OnUpdateCommand(id, state);
}
