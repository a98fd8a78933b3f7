#pragma once

#include "appcore/CCcdfPaneTexts.h"
#include "ccdf/CCcdfResult.h"
#include "gui/screens/CScreenContextMenu.h"

#include <QWidget>

#include <array>
#include <vector>

class CCcdfGraphCtrl;
class CCcdfSplitter;
class CCcdfTextView;
class CSettingProfile;

// The client area of the CCDF screen: three text panes on the left, the graph at the top right
// and three text panes below it, in splitters whose bars stay where the layout puts them. It
// shows the result it was last given (its own copy).
class CCcdfView : public QWidget {
    Q_OBJECT

public:
    explicit CCcdfView(CSettingProfile& profile, QWidget* parent = nullptr);

    // Takes a new result and the window's fill, and redraws.
    void Show(const CCcdfResult& result, size_t windowSize, int identificationCode);
    // Fills the panes with their lines anew (after a reset).
    void ResetPanes();
    // The graph shows the curve again and the panes repaint (after new settings).
    void Refresh();

    CCcdfGraphCtrl* Graph() const { return m_graph; }
    CCcdfTextView* Pane(CCcdfPaneTexts::Pane pane) const { return m_panes[static_cast<size_t>(pane)]; }
    const CCcdfResult& Result() const { return m_result; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The screen's menu, on a right click anywhere in it.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CCcdfTextView* AddPane(CCcdfPaneTexts::Pane pane, CCcdfSplitter* splitter);
    void LayoutPanes(int width, int height);
    static std::vector<int> FitColumns(int total, const std::vector<int>& needs);

    CSettingProfile& m_profile;
    CCcdfResult m_result;
    size_t m_windowSize = 0;
    int m_identificationCode = -1;
    CCcdfSplitter* m_outer;
    CCcdfSplitter* m_left;
    CCcdfSplitter* m_right;
    CCcdfSplitter* m_bottomRight;
    CCcdfGraphCtrl* m_graph;
    std::array<CCcdfTextView*, CCcdfPaneTexts::PaneCount> m_panes{};
    CScreenContextMenu m_contextMenu{this};
};
