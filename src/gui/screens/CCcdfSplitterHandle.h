#pragma once

#include <QSplitterHandle>

// A bar of the CCDF screen's splitters, drawn as a raised bar the width of the gap rather than
// the style's grip dots, which at five pixels leave only specks on the screen.
class CCcdfSplitterHandle : public QSplitterHandle {
    Q_OBJECT

public:
    CCcdfSplitterHandle(Qt::Orientation orientation, QSplitter* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
