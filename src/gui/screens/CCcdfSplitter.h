#pragma once

#include <QSplitter>

// A splitter of the CCDF screen: 5-pixel bars that, once fixed, ignore the mouse.
class CCcdfSplitter : public QSplitter {
    Q_OBJECT

public:
    explicit CCcdfSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

    void SetFixed(bool fixed);
    bool IsFixed() const { return m_fixed; }

protected:
    QSplitterHandle* createHandle() override;

private:
    bool m_fixed = false;
};
