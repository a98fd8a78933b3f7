#include "gui/history/CReportPage.h"

#include "gui/history/CGraph.h"
#include "history/CAtomicFile.h"

#include <QBuffer>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {
constexpr int kPdfResolution = 600;

QRect ToRect(const ReportRect& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Texts are placed by their top-left corner, as the form's positions are.
void DrawAt(QPainter& painter, const ReportPoint& at, const QString& text) {
    painter.drawText(QRect(at.x, at.y, painter.device()->width(), painter.device()->height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

QFont ReportFont(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    if (pixelHeight > 0)
        font.setPixelSize(pixelHeight);
    else
        font.setPointSize(10); // the device's default size for the face
    font.setBold(bold);
    return font;
}

void DrawFrames(QPainter& painter, const CReportLayout& layout) {
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    for (const ReportRect& frame : layout.Frames())
        painter.drawRect(ToRect(frame));
}

void DrawTexts(QPainter& painter, const CReportLayout& layout, const ReportTexts& texts) {
    painter.setPen(Qt::black);
    painter.setFont(ReportFont(layout.HeadingHeight(), true));
    DrawAt(painter, layout.Heading(), QStringLiteral("Measurement Report"));
    painter.setFont(ReportFont(0, false));
    for (int label = 0; label < CReportLayout::LabelCount; ++label) {
        const auto which = static_cast<CReportLayout::Label>(label);
        DrawAt(painter, layout.LabelAt(which), QString::fromLatin1(CReportLayout::LabelText(which)));
    }
    DrawAt(painter, layout.ValueAt(CReportLayout::ValueTitle), Utf8(texts.title));
    DrawAt(painter, layout.ValueAt(CReportLayout::ValueEngineer), Utf8(texts.engineer));
    DrawAt(painter, layout.ValueAt(CReportLayout::ValueDate), Utf8(texts.date));
    DrawAt(painter, layout.ValueAt(CReportLayout::ValueSite), Utf8(texts.site));
    // Long texts wrap inside their box and are cut by it; nothing spills onto a second page.
    const std::pair<CReportLayout::Box, const std::string*> boxes[] = {
        {CReportLayout::BoxPurpose, &texts.purpose},
        {CReportLayout::BoxResult, &texts.result},
        {CReportLayout::BoxRemark, &texts.remark}};
    if (!texts.conditions.empty()) {
        const QRect area = ToRect(layout.ConditionsArea());
        painter.save();
        painter.setFont(ReportFont(layout.UnitY() * 9 / 10, false));
        painter.setClipRect(area);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Utf8(texts.conditions));
        painter.restore();
    }
    for (const auto& [box, text] : boxes) {
        const QRect area = ToRect(layout.TextArea(box));
        painter.save();
        painter.setClipRect(area);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Utf8(*text));
        painter.restore();
    }
}

void DrawGraph(QPainter& painter, const CReportLayout& layout, const GraphContent& content) {
    GraphContent copy = content;
    copy.view.series.points = copy.points.data();
    CGraph graph(nullptr, CGraph::ColourSetPrint);
    graph.ShowView(copy.view);
    graph.Print(painter, ToRect(layout.GraphArea()));
}
} // namespace

bool CReportPage::Paint(QPainter& painter, const QSize& page, const ReportTexts& texts,
                        const GraphContent* graph, const std::atomic<bool>& cancel) {
    const CReportLayout layout(page.width(), page.height());
    if (cancel)
        return false;
    DrawFrames(painter, layout);
    if (cancel)
        return false;
    DrawTexts(painter, layout, texts);
    if (cancel)
        return false;
    if (graph != nullptr)
        DrawGraph(painter, layout, *graph);
    return !cancel;
}

CReportPage::Outcome CReportPage::Print(QPrinter& printer, const ReportTexts& texts,
                                        const GraphContent* graph, const std::atomic<bool>& cancel,
                                        const std::function<void()>& started) {
    printer.setDocName(QString::fromLatin1(kDocumentName));
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer))
        return Outcome::Failed;
    if (started)
        started();
    const QSize page(printer.width(), printer.height());
    if (!Paint(painter, page, texts, graph, cancel)) {
        printer.abort();
        painter.end();
        return Outcome::Cancelled;
    }
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error ? Outcome::Printed : Outcome::Failed;
}

bool CReportPage::WritePdf(const std::string& path, const ReportTexts& texts, const GraphContent* graph,
                           std::string* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(kPdfResolution);
        writer.setTitle(QString::fromLatin1(kDocumentName));
        writer.setCreator(QStringLiteral("Pelmora"));
        QPainter painter;
        const std::atomic<bool> never{false};
        if (!painter.begin(&writer) ||
            !Paint(painter, QSize(writer.width(), writer.height()), texts, graph, never) || !painter.end()) {
            if (error)
                *error = "the report could not be drawn";
            return false;
        }
    }
    CAtomicFile file(path);
    const QByteArray& bytes = buffer.data();
    const bool written =
        file.Open() && file.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) && file.Commit();
    if (!written && error)
        *error = file.Error();
    return written;
}
