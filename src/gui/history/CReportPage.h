#pragma once

#include "history/CGraphSource.h"
#include "history/CReportLayout.h"

#include <QSize>

#include <atomic>
#include <functional>
#include <string>

class QPainter;
class QPrinter;

// The one-page report: the form with the user's texts and the history graph in black on
// white, drawn on a printer, into a PDF file or onto any painter.
class CReportPage {
public:
    enum class Outcome { Printed, Cancelled, Failed };
    // The document name a print job carries.
    static constexpr const char* kDocumentName = "TrelPowerMeter Report Printing";

    // Draws the page (page size in device pixels) step by step; stops early and returns false
    // once `cancel` is set. The graph is drawn from its own copy of the content.
    static bool Paint(QPainter& painter, const QSize& page, const ReportTexts& texts,
                      const GraphContent* graph, const std::atomic<bool>& cancel);
    // Prints the page on its own thread's printer; a cancelled job is aborted, a failed start,
    // page end or document end is reported as failure. `started` runs once the job began.
    static Outcome Print(QPrinter& printer, const ReportTexts& texts, const GraphContent* graph,
                         const std::atomic<bool>& cancel, const std::function<void()>& started = {});
    // The page as an A4 PDF file; an existing file is replaced only once the whole file is written.
    static bool WritePdf(const std::string& path, const ReportTexts& texts, const GraphContent* graph,
                         std::string* error = nullptr);
};
