#include "screens/CCcdfView.h"

#include "app/CAppRegistry.h"
#include "app/CMenuBuilder.h"
#include "app/CShellLink.h"
#include "screens/CCcdfGraphCtrl.h"
#include "screens/CCcdfSplitter.h"
#include "screens/CCcdfTextView.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>

namespace {

// The graph's ranges: 0 to 20 dB above average, probability from 100 % down to 0.01 %.
constexpr float kXMinimum = 0.0f;
constexpr float kXMaximum = 20.0f;
constexpr float kYTop = 0.0f;
constexpr float kYBottom = -4.0f;

} // namespace

CCcdfView::CCcdfView(CSettingProfile& profile, QWidget* parent)
    : QWidget(parent), m_profile(profile), m_outer(new CCcdfSplitter(Qt::Horizontal, this)),
      m_left(new CCcdfSplitter(Qt::Vertical, m_outer)), m_right(new CCcdfSplitter(Qt::Vertical, m_outer)),
      m_bottomRight(new CCcdfSplitter(Qt::Horizontal)), m_graph(new CCcdfGraphCtrl(m_right)) {
    AddPane(CCcdfPaneTexts::Device, m_left);
    AddPane(CCcdfPaneTexts::Measurement, m_left);
    AddPane(CCcdfPaneTexts::Alarm, m_left);
    m_right->addWidget(m_graph);
    m_right->addWidget(m_bottomRight);
    AddPane(CCcdfPaneTexts::Power, m_bottomRight);
    AddPane(CCcdfPaneTexts::Levels, m_bottomRight);
    AddPane(CCcdfPaneTexts::Probabilities, m_bottomRight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_outer);
    for (CCcdfSplitter* splitter : {m_outer, m_left, m_right, m_bottomRight})
        splitter->SetFixed(true);
    ResetPanes();
    Refresh();
}

CCcdfTextView* CCcdfView::AddPane(CCcdfPaneTexts::Pane pane, CCcdfSplitter* splitter) {
    auto* view = new CCcdfTextView(
        pane,
        [this] {
            return CCcdfPaneTexts::SValues{&m_profile, &m_result, m_windowSize, m_identificationCode};
        },
        splitter);
    splitter->addWidget(view);
    m_panes[static_cast<size_t>(pane)] = view;
    return view;
}

void CCcdfView::Show(const CCcdfResult& result, size_t windowSize, int identificationCode) {
    m_result = result;
    m_windowSize = windowSize;
    m_identificationCode = identificationCode;
    Refresh();
}

void CCcdfView::ResetPanes() {
    for (CCcdfTextView* pane : m_panes) {
        pane->ClearLines();
        for (const CCcdfPaneTexts::SLine& line : CCcdfPaneTexts::Lines(pane->Pane()))
            pane->AddLine(line);
    }
}

void CCcdfView::Refresh() {
    m_graph->SetData(kXMinimum, kXMaximum, kYTop, kYBottom, m_result.curve);
    for (CCcdfTextView* pane : m_panes)
        pane->update();
}

void CCcdfView::resizeEvent(QResizeEvent* event) {
    LayoutPanes(width(), height());
    QWidget::resizeEvent(event);
}

// A quarter of the width for the left column and for each lower pane but the last, three
// quarters of the height for the graph, a third for each left pane but the last.
void CCcdfView::LayoutPanes(int width, int height) {
    const int rightWidth = width - width / 4;
    m_outer->setSizes({width / 4, rightWidth});
    m_left->setSizes({height / 3, height / 3, height - 2 * (height / 3)});
    m_right->setSizes({(height / 4) * 3, height - (height / 4) * 3});
    m_bottomRight->setSizes({width / 4, width / 4, rightWidth - 2 * (width / 4)});
}

void CCcdfView::contextMenuEvent(QContextMenuEvent* event) {
    CShellLink* shell = CAppRegistry::Instance().GetShell();
    if (shell == nullptr)
        return;
    if (m_contextMenus == nullptr) {
        m_contextMenus = CMenuBuilder::BuildContextMenus(nullptr, &shell->Commands());
        m_contextMenus->setParent(this, m_contextMenus->windowFlags());
    }
    if (m_contextMenus->actions().isEmpty() || m_contextMenus->actions().constFirst()->menu() == nullptr)
        return;
    shell->UpdateCommandStates();
    m_contextMenus->actions().constFirst()->menu()->exec(event->globalPos());
}
