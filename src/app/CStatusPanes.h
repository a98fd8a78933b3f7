#pragma once

#include <QWidget>

#include <array>
#include <utility>

class QLabel;

// The status bar's two panes: pane 0 for prompts and messages, pane 1 for screen warnings.
// The panes take two thirds and one third of the frame's width; what does not fit is cut off
// rather than holding the window at a minimum width.
class CStatusPanes : public QWidget {
    Q_OBJECT

public:
    explicit CStatusPanes(QWidget* parent = nullptr);

    // Pane widths for a frame's client width: (width / 3) * 2 and width / 3.
    static std::pair<int, int> PaneWidths(int clientWidth);

    void SetClientWidth(int clientWidth);
    int PaneWidth(int pane) const;
    void SetText(int pane, const QString& text);
    QString Text(int pane) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void LayOut();

    std::array<QLabel*, 2> m_panes;
    std::array<int, 2> m_widths{0, 0};
};
