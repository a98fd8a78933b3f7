#pragma once

#include "app/CChildFrame.h"
#include "history/CHistoryData.h"

class QPlainTextEdit;

// A history window that shows what a history file holds (header fields and row count) until
// the graphical viewer takes its place.
class CHistorySummaryFrame : public CChildFrame {
    Q_OBJECT

public:
    explicit CHistorySummaryFrame(QWidget* parent = nullptr);

    bool LoadFile(const std::string& path) override;
    std::string DocumentModelName() const override;
    QString SummaryText() const;

private:
    static QString Summarize(const CHistoryData& data);

    CHistoryData m_data;
    QPlainTextEdit* m_text;
};
