#pragma once

#include "appcore/CCcdfPaneTexts.h"
#include "gui/kit/CMemDC.h"
#include "gui/kit/FontCache.h"

#include <QWidget>

#include <functional>
#include <map>

// One of the CCDF screen's text panes: a list of lines, white-grey on dark blue. The screen
// fills the lines on every reset; the pane asks for the values each time it paints.
class CCcdfTextView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinSurfaceWidth = 300;
    static constexpr int kMinSurfaceHeight = 200;

    using ValuesSource = std::function<CCcdfPaneTexts::SValues()>;

    CCcdfTextView(CCcdfPaneTexts::Pane pane, ValuesSource values, QWidget* parent = nullptr);

    CCcdfPaneTexts::Pane Pane() const { return m_pane; }
    void AddLine(const CCcdfPaneTexts::SLine& line);
    void ClearLines();
    // The lines as shown now, in order (for the tests and the screen's snapshot).
    std::vector<std::string> Texts() const;
    // Room the lines need: their widest and their last line's bottom, with half the first line's
    // offsets as margins.
    QSize ContentSize() const;
    // The lines that fit the pane at the font size it can afford, as drawn.
    std::vector<std::string> ShownTexts() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct SPlacedLine {
        QRect box;
        int fontPoints = 0;
        std::string text;
        uint32_t colour = 0;
    };
    // Lines placed in `client`: fonts shrink when the pane is too small for the lines, and a
    // line that still does not fit is left out whole, never cut.
    std::vector<SPlacedLine> Place(const QRect& client) const;
    void DrawLines(QPainter& painter, const QRect& client) const;

    CCcdfPaneTexts::Pane m_pane;
    ValuesSource m_values;
    std::map<int, CCcdfPaneTexts::SLine> m_lines;
    CMemDC m_surface;
    mutable FontCache m_fonts; // filled while measuring and painting
};
