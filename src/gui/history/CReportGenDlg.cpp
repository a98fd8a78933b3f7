#include "gui/history/CReportGenDlg.h"

#include "appcore/CStringTable.h"
#include "platform/CLocalTime.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>

namespace {
constexpr const char* kSection = "IDD_REPORT";
// The user's own profile keeps who tested and where from one report to the next.
constexpr const char* kEngineerKey = "Report/Engineer";
constexpr const char* kSiteKey = "Report/Site";

QString DialogText(const char* key) {
    return QString::fromStdString(CStringTable::GetText(kSection, key));
}

QLineEdit* LineEdit(QWidget* parent, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    return edit;
}

// Multi-line fields have no built-in limit: longer input is cut back as it is typed.
QPlainTextEdit* TextEdit(QWidget* parent, int maxLength) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4 + 12);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxLength] {
        const QString text = edit->toPlainText();
        if (text.size() <= maxLength)
            return;
        const QSignalBlocker blocker(edit);
        edit->setPlainText(text.left(maxLength));
        edit->moveCursor(QTextCursor::End);
    });
    return edit;
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

std::string Text(const QPlainTextEdit* edit) {
    return edit->toPlainText().toStdString();
}

// What the caption names: the printer, or the file that printing to a file writes.
QString DeviceName(const QPrinter& printer) {
    if (!printer.printerName().isEmpty())
        return printer.printerName();
    return QFileInfo(printer.outputFileName()).fileName();
}
} // namespace

CReportGenDlg::CReportGenDlg(const QString& title, PdfWriter writePdf, QWidget* parent)
    : QDialog(parent), m_writePdf(std::move(writePdf)), m_date(LineEdit(this, 50)),
      m_engineer(LineEdit(this, 30)), m_site(LineEdit(this, 60)), m_purpose(TextEdit(this, 200)),
      m_result(TextEdit(this, 700)), m_remark(TextEdit(this, 200)), m_title(LineEdit(this, 60)) {
    setWindowTitle(DialogText("CAPTION"));
    m_title->setText(title);
    m_date->setText(QString::fromStdString(CReportLayout::DateText(CLocalTime::Fields(CLocalTime::Now()))));
    m_title->setMinimumWidth(360);
    const QSettings settings;
    m_engineer->setText(settings.value(kEngineerKey).toString());
    m_site->setText(settings.value(kSiteKey).toString());

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(DialogText("IDOK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    QPushButton* pdf = buttons->addButton(DialogText("IDC_SAVE_PDF"), QDialogButtonBox::ActionRole);
    QPushButton* setup = buttons->addButton(DialogText("IDC_PRINT_SETUP"), QDialogButtonBox::ActionRole);
    buttons->addButton(DialogText("IDCANCEL"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CReportGenDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(setup, &QPushButton::clicked, this, &CReportGenDlg::OnPrintSetup);
    connect(pdf, &QPushButton::clicked, this, &CReportGenDlg::OnSavePdf);

    auto* layout = new QGridLayout(this);
    const std::pair<const char*, QWidget*> rows[] = {
        {"IDC_STATIC_TITLE", m_title},  {"IDC_STATIC_DATE", m_date},    {"IDC_STATIC_ENGIN", m_engineer},
        {"IDC_STATIC_SITE", m_site},    {"IDC_STATIC_TEST", m_purpose}, {"IDC_STATIC_RESULT", m_result},
        {"IDC_STATIC_REMARK", m_remark}};
    int row = 0;
    for (const auto& [label, field] : rows) {
        layout->addWidget(new QLabel(DialogText(label), this), row, 0, Qt::AlignTop);
        layout->addWidget(field, row++, 1);
    }
    layout->addWidget(buttons, row, 0, 1, 2);

    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (!defaultPrinter.isNull())
        UsePrinter(std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution));
}

CReportGenDlg::~CReportGenDlg() = default;

ReportTexts CReportGenDlg::Texts() const {
    const bool conditions = m_conditionsBox != nullptr && m_conditionsBox->isChecked();
    return {Text(m_title),   Text(m_date),   Text(m_engineer), Text(m_site),
            Text(m_purpose), Text(m_result), Text(m_remark),   conditions ? m_conditions : std::string()};
}

void CReportGenDlg::OfferConditions(const std::string& conditions) {
    m_conditions = conditions;
    if (m_conditionsBox != nullptr)
        return;
    m_conditionsBox = new QCheckBox(DialogText("IDC_CONDITIONS"), this);
    m_conditionsBox->setToolTip(QString::fromStdString(conditions));
    auto* grid = static_cast<QGridLayout*>(layout());
    const int buttonsRow = grid->rowCount() - 1;
    QLayoutItem* buttons = grid->itemAtPosition(buttonsRow, 0);
    grid->removeItem(buttons);
    grid->addWidget(m_conditionsBox, buttonsRow, 1);
    grid->addItem(buttons, buttonsRow + 1, 0, 1, 2);
}

void CReportGenDlg::accept() {
    RememberTexts();
    QDialog::accept();
}

void CReportGenDlg::RememberTexts() const {
    QSettings settings;
    settings.setValue(kEngineerKey, m_engineer->text());
    settings.setValue(kSiteKey, m_site->text());
}

void CReportGenDlg::UsePrinter(std::unique_ptr<QPrinter> printer) {
    m_printer = std::move(printer);
    const QString device = DeviceName(*m_printer);
    setWindowTitle(device.isEmpty() ? DialogText("CAPTION") : QStringLiteral("Print Chart - %1").arg(device));
}

void CReportGenDlg::OnPrintSetup() {
    auto printer = m_printer ? std::make_unique<QPrinter>(QPrinterInfo::printerInfo(m_printer->printerName()),
                                                          QPrinter::HighResolution)
                             : std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        UsePrinter(std::move(printer));
}

void CReportGenDlg::OnSavePdf() {
    if (m_writePdf && m_writePdf(Texts())) {
        RememberTexts();
        m_savedAsPdf = true;
        done(QDialog::Rejected); // nothing is left to print
    }
}
