#pragma once

#include <QWidget>

#include <array>
#include <utility>

class QLabel;

// The status bar's two panes: pane 0 for prompts and messages, pane 1 for screen warnings.
// The panes take two thirds and one third of the frame's width; a warning longer than its third
// widens pane 1 (up to three quarters of the width), and what still does not fit is elided with
// the whole text in the pane's tool tip, rather than holding the window at a minimum width.
class CStatusPanes : public QWidget {
    Q_OBJECT

public:
    explicit CStatusPanes(QWidget* parent = nullptr);

    // Pane widths for a frame's client width: (width / 3) * 2 and width / 3, or pane 1 as wide
    // as its text needs up to three quarters of the width.
    static std::pair<int, int> PaneWidths(int clientWidth, int secondNeeds = 0);

    void SetClientWidth(int clientWidth);
    int PaneWidth(int pane) const;
    void SetText(int pane, const QString& text);
    QString Text(int pane) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    // Width the pane needs to show its whole text.
    int TextWidth(int pane) const;
    void LayOut();

    std::array<QLabel*, 2> m_panes;
    std::array<QString, 2> m_texts;
    std::array<int, 2> m_widths{0, 0};
    int m_clientWidth = 0;
};
