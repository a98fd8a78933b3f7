#include "gui/history/CReportPrintDlg.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString DialogText(const char* key) {
    return QString::fromStdString(CStringTable::GetText("IDD_PRINT", key));
}
} // namespace

CReportPrintDlg::CReportPrintDlg(QPrinter* printer, GraphContent graph, ReportTexts texts, QWidget* parent)
    : QDialog(parent), m_printer(printer), m_graph(std::move(graph)), m_texts(std::move(texts)),
      m_progress(new QProgressBar(this)) {
    m_graph.view.series.points = m_graph.points.data();
    setWindowTitle(DialogText("CAPTION"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(DialogText("IDCANCEL"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &CReportPrintDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(DialogText("IDC_TEXT"), this));
    layout->addWidget(m_progress);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

CReportPrintDlg::~CReportPrintDlg() {
    m_cancel = true;
    JoinWorker();
}

int CReportPrintDlg::exec() {
    if (m_printer == nullptr)
        return QDialog::Rejected; // no printer: nothing to print, nothing to say
    Start();
    return QDialog::exec();
}

void CReportPrintDlg::Start() {
    m_cancel = false;
    m_finished = false;
    // The dialog joins the worker before it goes away, so the worker may post to it.
    m_worker = std::thread([this, post = m_poster.Poster()] {
        const CReportPage::Outcome outcome =
            CReportPage::Print(*m_printer, m_texts, &m_graph, m_cancel,
                               [this, post] { post([this] { m_progress->setValue(1); }); });
        post([this, outcome] { OnWorkerDone(outcome); });
    });
}

void CReportPrintDlg::OnWorkerDone(CReportPage::Outcome outcome) {
    if (m_finished)
        return; // the user cancelled first
    JoinWorker();
    m_outcome = outcome;
    m_finished = true;
    if (outcome == CReportPage::Outcome::Failed)
        CMessageBoxes::FromKey(this, "S_REPORT_ONPRINT", MB_ICONSTOP);
    if (outcome == CReportPage::Outcome::Printed)
        QDialog::accept();
    else
        QDialog::reject();
}

void CReportPrintDlg::reject() {
    // The worker sees the flag between drawing steps and aborts the job; it is never killed.
    m_cancel = true;
    JoinWorker();
    m_finished = true;
    QDialog::reject();
}

void CReportPrintDlg::JoinWorker() {
    if (m_worker.joinable())
        m_worker.join();
}
