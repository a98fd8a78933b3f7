#include "gui/screens/CReadoutGridView.h"

#include "appcore/CommandIds.h"
#include "gui/history/CGraphCtrl.h"
#include "gui/screens/CMeasurementCtrl.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "model/HistoryChannel.h"

#include <QMouseEvent>
#include <QPainter>

CReadoutGridView::CReadoutGridView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                                   std::unique_ptr<CReadoutGridLayout> layout, QWidget* parent)
    : QWidget(parent), m_profile(profile), m_link(std::move(link)), m_layout(std::move(layout)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int panel = 0; panel < CReadoutGridLayout::kPanelCount; ++panel) {
        auto* control = new CMeasurementCtrl(m_pacer, this);
        control->setObjectName(QStringLiteral("Panel%1").arg(panel));
        control->BindProfile(&m_profile);
        m_panels[static_cast<size_t>(panel)] = control;
    }
    m_graph = new CGraphCtrl(this, &m_pacer);
    m_graph->setObjectName(QStringLiteral("Graph"));
    m_graph->BindProfile(&m_profile);
    m_graph->Graph().SetCompact(true);
    ResetPanelRoles();
    ConfigureMainQuantity();
    MarkSelection();
    ApplyLayout();
}

int CReadoutGridView::ModelNumber() const {
    return m_profile.GetModelNumber();
}

void CReadoutGridView::ResetPanelRoles() {
    for (int panel = 0; panel < CReadoutGridLayout::kPanelCount; ++panel) {
        CMeasurementCtrl* control = Panel(panel);
        control->SetQuantity(m_layout->PanelQuantity(panel));
        control->SetStyle(m_layout->PanelStyle(panel));
        control->Refresh(CMeasurementCtrl::RefreshAll);
    }
}

// Panel 0 and the graph follow the main quantity.
void CReadoutGridView::ConfigureMainQuantity() {
    Panel(0)->SetQuantity(m_layout->MainQuantity());
    Panel(0)->Refresh(CMeasurementCtrl::RefreshAll);
    m_graph->SetChannel(ModelNumber(), m_layout->MainQuantity(), false);
    m_graph->RefreshLive(false);
}

void CReadoutGridView::ConfigureForModel() {
    m_layout->ConfigureForModel(ModelNumber());
    ResetPanelRoles();
    for (CMeasurementCtrl* control : m_panels)
        control->SetAlarm(false);
    ConfigureMainQuantity();
    MarkSelection();
    ApplyLayout();
}

void CReadoutGridView::BindRecords(CRecordStore& records) {
    m_records = &records;
    for (CMeasurementCtrl* control : m_panels)
        control->BindRecords(&records);
    m_graph->BindRecords(&records);
    RedrawAll();
}

void CReadoutGridView::RedrawAll() {
    // A change of mode restarts the reference and extremes that relative values are shown against.
    if (m_records != nullptr)
        m_records->FollowRelativeMode(m_profile.IsRelativeMode());
    RedrawPanels(CMeasurementCtrl::RefreshAll);
    m_graph->RefreshLive(false);
}

// New values are shown at the pacer's rate, not at every reading. A graph the layout hides has
// nothing to show; it catches up when the layout shows it again.
void CReadoutGridView::ShowNewValue() {
    m_pacer.Prepare(this, [this] {
        RedrawPanels(CMeasurementCtrl::RefreshValues);
        if (!m_graph->isHidden())
            m_graph->RefreshLive(false);
    });
}

void CReadoutGridView::ApplyLayout() {
    const auto rects = m_layout->Geometry(width(), height());
    for (int panel = 0; panel < CReadoutGridLayout::kPanelCount; ++panel) {
        CMeasurementCtrl* control = Panel(panel);
        if (control->GetStyle() != m_layout->PanelStyle(panel)) {
            control->SetStyle(m_layout->PanelStyle(panel));
            control->Refresh(CMeasurementCtrl::RefreshAll);
        }
        const PanelRect& rect = rects[static_cast<size_t>(panel)];
        control->setGeometry(rect.x, rect.y, rect.width, rect.height);
        control->setVisible(rect.visible);
    }
    const PanelRect& graph = rects[CReadoutGridLayout::kGraphIndex];
    m_graph->setGeometry(graph.x, graph.y, graph.width, graph.height);
    const bool shownAgain = graph.visible && m_graph->isHidden();
    m_graph->setVisible(graph.visible);
    if (shownAgain)
        m_graph->RefreshLive(false);
    update();
}

void CReadoutGridView::RedrawPanels(int refreshKind) {
    for (CMeasurementCtrl* control : m_panels)
        control->Refresh(refreshKind);
}

void CReadoutGridView::MarkSelection() {
    for (int panel = 0; panel < CReadoutGridLayout::kPanelCount; ++panel)
        Panel(panel)->SetSelected(panel == m_layout->SelectedPanel());
}

void CReadoutGridView::paintEvent(QPaintEvent* /*event*/) {
    // The gaps between the panels show this black background.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

void CReadoutGridView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyLayout();
    m_graph->RefreshLive(true);
}

void CReadoutGridView::SelectAt(const QPoint& position) {
    if (m_layout->Select(m_layout->PanelAt(width(), height(), position.x(), position.y())))
        MarkSelection();
}

void CReadoutGridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SelectAt(event->position().toPoint());
    } else if (event->button() == Qt::RightButton) {
        SelectAt(event->position().toPoint());
        m_contextMenu.Show(event->globalPosition().toPoint());
    }
    event->accept();
}

void CReadoutGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint position = event->position().toPoint();
    const bool onGraph = m_graph->isVisible() && m_graph->geometry().contains(position);
    const int panel = m_layout->PanelAt(width(), height(), position.x(), position.y());
    const CReadoutGridLayout::DoubleClickAction action = m_layout->DoubleClick(panel, onGraph);
    MarkSelection();
    switch (action) {
    case CReadoutGridLayout::DoubleClickAction::MultiScreen:
        OnMultiScreen();
        break;
    case CReadoutGridLayout::DoubleClickAction::SetAsDefault:
        OnSetAsDefault();
        break;
    case CReadoutGridLayout::DoubleClickAction::FullScreen:
        OnFullScreen();
        break;
    case CReadoutGridLayout::DoubleClickAction::None:
        break;
    }
}

bool CReadoutGridView::OnCommand(int id) {
    switch (id) {
    case ID_VIEW_FULLSCREEN:
        OnFullScreen();
        return true;
    case ID_VIEW_MULTISCREEN:
        OnMultiScreen();
        return true;
    case ID_SETASDEFAULT:
        OnSetAsDefault();
        return true;
    case ID_MODE_ABSOLUTE:
    case ID_MODE_RELATIVE:
        OnMeasurementMode(id == ID_MODE_RELATIVE);
        return true;
    case ID_LIMITCHECK_ENABLE:
    case ID_LIMITCHECK_DISABLE:
        OnLimitEnabled(id == ID_LIMITCHECK_ENABLE);
        return true;
    case ID_ALARM_ON:
    case ID_ALARM_OFF:
        m_profile.SetAlarmOn(m_layout->SelectedQuantity(), id == ID_ALARM_ON);
        return true;
    default:
        return false;
    }
}

void CReadoutGridView::OnFullScreen() {
    if (!m_layout->FullScreen())
        return;
    ConfigureMainQuantity();
    ApplyLayout();
}

void CReadoutGridView::OnMultiScreen() {
    if (m_layout->MultiScreen())
        ApplyLayout();
}

void CReadoutGridView::OnSetAsDefault() {
    const bool selectedAlarm = Panel(m_layout->SelectedPanel())->GetAlarm();
    if (!m_layout->SetAsDefault())
        return;
    Panel(0)->SetAlarm(selectedAlarm);
    ConfigureMainQuantity();
    ApplyLayout();
}

void CReadoutGridView::OnMeasurementMode(bool relative) {
    m_profile.SetRelativeMode(relative);
    RedrawAll();
}

void CReadoutGridView::OnLimitEnabled(bool enabled) {
    const int quantity = m_layout->SelectedQuantity();
    m_profile.SetLimitEnabled(quantity, enabled);
    for (CMeasurementCtrl* control : m_panels) {
        if (control->GetQuantity() == quantity)
            control->Refresh(CMeasurementCtrl::RefreshLimits);
    }
    m_graph->RefreshLive(false);
}

bool CReadoutGridView::OnUpdateCommand(int id, CCommandState& state) {
    const int quantity = RuleQuantity();
    switch (id) {
    case ID_VIEW_FULLSCREEN:
    case ID_VIEW_MULTISCREEN:
        state.Enable(true);
        state.SetCheck(m_layout->IsFullScreen() == (id == ID_VIEW_FULLSCREEN));
        return true;
    case ID_SETASDEFAULT:
        state.Enable(m_layout->SelectedQuantity() != m_layout->MainQuantity());
        return true;
    case ID_MODE_ABSOLUTE:
    case ID_MODE_RELATIVE:
        state.Enable(quantity != ChannelVswr);
        state.SetCheck(m_profile.IsRelativeMode() == (id == ID_MODE_RELATIVE));
        return true;
    case ID_LIMITCHECK_ENABLE:
    case ID_LIMITCHECK_DISABLE:
        state.Enable(true);
        state.SetCheck(m_profile.IsLimitEnabled(quantity) == (id == ID_LIMITCHECK_ENABLE));
        return true;
    case ID_ALARM_ON:
    case ID_ALARM_OFF:
        state.Enable(true);
        state.SetCheck(m_profile.IsAlarmOn(quantity) == (id == ID_ALARM_ON));
        return true;
    default:
        return false;
    }
}
