#pragma once

#include "gui/history/CReportPage.h"
#include "gui/kit/CUiThreadPoster.h"
#include "history/CGraphSource.h"
#include "history/CReportLayout.h"

#include <QDialog>

#include <atomic>
#include <thread>

class QPrinter;
class QProgressBar;

// Prints the report on a worker thread while showing its progress. The worker draws from its
// own copy of the graph; Cancel makes it abort the job, and the dialog waits for it to end.
class CReportPrintDlg : public QDialog {
    Q_OBJECT

public:
    // The printer is borrowed; without one the dialog closes at once.
    CReportPrintDlg(QPrinter* printer, GraphContent graph, ReportTexts texts, QWidget* parent = nullptr);
    ~CReportPrintDlg() override;

    // How the last print ended (Cancelled until the worker reports).
    CReportPage::Outcome Outcome() const { return m_outcome; }
    int exec() override;
    void reject() override;

private:
    void Start();
    void OnWorkerDone(CReportPage::Outcome outcome);
    void JoinWorker();

    QPrinter* m_printer;
    GraphContent m_graph;
    ReportTexts m_texts;
    QProgressBar* m_progress;
    std::atomic<bool> m_cancel{false};
    CUiThreadPoster m_poster;
    std::thread m_worker;
    bool m_finished = false;
    CReportPage::Outcome m_outcome = CReportPage::Outcome::Cancelled;
};
