#include "gui/screens/CCcdfView.h"

#include "gui/screens/CCcdfGraphCtrl.h"
#include "gui/screens/CCcdfSplitter.h"
#include "gui/screens/CCcdfTextView.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>

#include <algorithm>
#include <numeric>

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

// Equal columns, except that a column whose texts need more takes it from the others; when all
// need more than there is, each gets its share of what there is.
std::vector<int> CCcdfView::FitColumns(int total, const std::vector<int>& needs) {
    const int needed = std::accumulate(needs.begin(), needs.end(), 0);
    if (needed > total && needed > 0) {
        std::vector<int> widths(needs.size());
        int left = total;
        for (size_t i = 0; i < needs.size(); ++i) {
            widths[i] = static_cast<int>(static_cast<long long>(needs[i]) * total / needed);
            left -= widths[i];
        }
        widths.back() += left;
        return widths;
    }
    std::vector<bool> widened(needs.size(), false);
    int widenedWidth = 0;
    size_t rest = needs.size();
    for (bool changed = true; changed && rest > 0;) {
        changed = false;
        const int share = (total - widenedWidth) / static_cast<int>(rest);
        for (size_t i = 0; i < needs.size(); ++i) {
            if (!widened[i] && needs[i] > share && rest > 1) {
                widened[i] = true;
                widenedWidth += needs[i];
                --rest;
                changed = true;
                break;
            }
        }
    }
    std::vector<int> widths(needs.size());
    int left = total;
    for (size_t i = 0; i < needs.size(); ++i) {
        const int share = rest > 0 ? (total - widenedWidth) / static_cast<int>(rest) : 0;
        widths[i] = widened[i] ? needs[i] : share;
        left -= widths[i];
    }
    widths.back() += left;
    return widths;
}

// A quarter of the width for the left column and three quarters of the height for the graph,
// a third for each left pane but the last and each lower pane but the last; the left column, the
// lower row and its columns grow (the first two up to half the window) where their texts would
// otherwise be cut off.
void CCcdfView::LayoutPanes(int width, int height) {
    // A pane sits one pixel inside its splitter cell on each side.
    constexpr int kBorders = 2;
    int leftNeeds = 0;
    int lowerNeeds = 0;
    std::vector<int> columnNeeds;
    for (const CCcdfTextView* pane : m_panes) {
        const QSize needs = pane->ContentSize() + QSize(kBorders, kBorders);
        if (pane->parentWidget() == m_left) {
            leftNeeds = std::max(leftNeeds, needs.width());
        } else {
            lowerNeeds = std::max(lowerNeeds, needs.height());
            columnNeeds.push_back(needs.width());
        }
    }
    // The graph keeps the size its scale needs and the panes shrink their lines instead, as far
    // as they can: the left column goes when it would be too narrow to read, the lower row keeps
    // at least half the height its lines need.
    const CGraphScale& graph = m_graph->Graph().Scale();
    const int graphWidth = graph.MinimumWidth() + 2 * kBorders + m_outer->handleWidth();
    const int graphHeight = graph.MinimumHeight() + 2 * kBorders + m_right->handleWidth();
    int leftWidth =
        std::min(std::clamp(leftNeeds, width / 4, std::max(width / 4, width / 2)), width - graphWidth);
    if (leftWidth < width / 4)
        leftWidth = 0;
    const int rightWidth = width - leftWidth;
    // What the bars take is not the panes'.
    const int columnsWidth = rightWidth - m_outer->handleWidth() - 2 * m_bottomRight->handleWidth();
    const int lowerHeight = std::max(
        lowerNeeds / 2, std::min(std::clamp(lowerNeeds, height - (height / 4) * 3, std::max(height / 2, 1)),
                                 height - graphHeight));
    m_left->setVisible(leftWidth > 0);
    m_outer->setSizes({leftWidth, rightWidth});
    m_left->setSizes({height / 3, height / 3, height - 2 * (height / 3)});
    m_right->setSizes({height - lowerHeight, lowerHeight});
    const std::vector<int> columns = FitColumns(columnsWidth, columnNeeds);
    m_bottomRight->setSizes(QList<int>(columns.begin(), columns.end()));
}

void CCcdfView::contextMenuEvent(QContextMenuEvent* event) {
    m_contextMenu.Show(event->globalPos());
}
