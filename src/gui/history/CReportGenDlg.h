#pragma once

#include "history/CReportLayout.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;

// Collects the report's texts and holds the printer (the default one, or the one chosen in
// print setup). Print closes it with OK; "Save as PDF" writes the page through a callback.
// Either keeps the engineer and the site in the user's settings for the next report.
class CReportGenDlg : public QDialog {
    Q_OBJECT

public:
    // Writes the report as PDF; true when written (the dialog then closes).
    using PdfWriter = std::function<bool(const ReportTexts& texts)>;

    CReportGenDlg(const QString& title, PdfWriter writePdf, QWidget* parent = nullptr);
    ~CReportGenDlg() override;

    ReportTexts Texts() const;
    // Offers to print the measurement conditions (a check box, off at first).
    void OfferConditions(const std::string& conditions);
    QCheckBox* ConditionsBox() const { return m_conditionsBox; }
    // The printer to print on; nullptr when the system has none.
    QPrinter* Printer() const { return m_printer.get(); }
    bool SavedAsPdf() const { return m_savedAsPdf; }

    QLineEdit* TitleEdit() const { return m_title; }
    QLineEdit* EngineerEdit() const { return m_engineer; }
    QLineEdit* SiteEdit() const { return m_site; }
    QPlainTextEdit* ResultEdit() const { return m_result; }

    // Prints on this printer from now on; the caption names it.
    void UsePrinter(std::unique_ptr<QPrinter> printer);

    void accept() override;

private:
    void RememberTexts() const;
    void OnPrintSetup();
    void OnSavePdf();

    PdfWriter m_writePdf;
    std::unique_ptr<QPrinter> m_printer;
    bool m_savedAsPdf = false;
    QLineEdit* m_date;
    QLineEdit* m_engineer;
    QLineEdit* m_site;
    QPlainTextEdit* m_purpose;
    QPlainTextEdit* m_result;
    QPlainTextEdit* m_remark;
    QLineEdit* m_title;
    QCheckBox* m_conditionsBox = nullptr;
    std::string m_conditions;
};
