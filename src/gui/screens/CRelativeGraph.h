#pragma once

#include <QWidget>

#include <optional>

class CRelativeReadout;

// The Relative screen's live graph: the latest differences of its record, newest at the right,
// with the limits as lines; a row without a value leaves a gap.
class CRelativeGraph : public QWidget {
    Q_OBJECT

public:
    explicit CRelativeGraph(const CRelativeReadout& readout, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {600, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CRelativeReadout& m_readout;
};
