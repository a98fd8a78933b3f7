#include "gui/history/CHistoryView.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/history/CChangeTitleDlg.h"
#include "gui/history/CDlg_AutoScale.h"
#include "gui/history/CGraphCtrl.h"
#include "gui/history/CReportGenDlg.h"
#include "gui/history/CReportPage.h"
#include "gui/history/CReportPrintDlg.h"
#include "gui/kit/CCorePath.h"
#include "gui/kit/CMenuBuilder.h"
#include "history/CHistoryChannelCommands.h"
#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryTimeBase.h"
#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {
// A drag shorter than this is a click: it clears the selection.
constexpr int kMinimumDragPixels = 3;
// The graph shows nothing without a row block; an empty history still has a (zero-length) one.
constexpr int32_t kNoRows = 0;

std::optional<CHistoryChannelCommands::Command> ChannelCommandOf(int id) {
    switch (id) {
    case ID_VIEW_AVG:
        return CHistoryChannelCommands::PowerAvg;
    case ID_VIEW_REV:
        return CHistoryChannelCommands::PowerRev;
    case ID_VIEW_PEAK:
        return CHistoryChannelCommands::PowerPeak;
    case ID_VIEW_PULSE:
        return CHistoryChannelCommands::PowerPulse;
    case ID_VIEW_VSWR:
        return CHistoryChannelCommands::Vswr;
    case ID_VIEW_RL:
        return CHistoryChannelCommands::ReturnLoss;
    case ID_VIEW_PAR:
        return CHistoryChannelCommands::Par;
    default:
        return std::nullopt;
    }
}

QString General(const char* key) {
    return QString::fromStdString(CStringTable::GetGeneralText(key));
}

// A wait cursor for as long as a file is written.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void ApplyStates(QMenu& menu, CHistoryView& view) {
    for (QAction* item : menu.actions()) {
        if (QMenu* popup = item->menu())
            ApplyStates(*popup, view);
        const int id = CMenuBuilder::CommandOf(item);
        if (id == 0)
            continue;
        CCommandState state;
        view.OnUpdateCommand(id, state);
        item->setEnabled(state.enabled);
        item->setCheckable(state.checkable);
        item->setChecked(state.checked);
    }
}
} // namespace

CHistoryView::CHistoryView(QWidget* parent)
    : QWidget(parent), m_graph(new CGraphCtrl(this)), m_rangeBar(new QWidget(this)),
      m_rangeText(new QLabel(m_rangeBar)), m_zoom(new QPushButton(General("S_HISTORYVIEW_ZOOM"), m_rangeBar)),
      m_whole(new QPushButton(General("S_HISTORYVIEW_WHOLE"), m_rangeBar)),
      m_band(new QRubberBand(QRubberBand::Rectangle, m_graph)) {
    m_graph->setObjectName(QStringLiteral("HistoryGraph"));
    m_graph->Graph().SetCompact(true); // a small window keeps the lower scale and the axis label
    m_rangeText->setWordWrap(true);    // a long range text takes two lines rather than being cut
    m_graph->installEventFilter(this);
    m_rangeText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* bar = new QHBoxLayout(m_rangeBar);
    bar->setContentsMargins(6, 2, 6, 2);
    bar->addWidget(m_rangeText, 1);
    bar->addWidget(m_zoom);
    bar->addWidget(m_whole);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_graph, 1);
    layout->addWidget(m_rangeBar);
    connect(m_zoom, &QPushButton::clicked, this, &CHistoryView::ZoomToRange);
    connect(m_whole, &QPushButton::clicked, this, &CHistoryView::ShowWholeHistory);
    m_choosePath = [this](const QString& suffix, const QString& filter) {
        QString selected;
        QString path = QFileDialog::getSaveFileName(this, QString(), QString(), filter, &selected,
                                                    QFileDialog::DontConfirmOverwrite);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += suffix;
        return ChosenFile(path, static_cast<int>(filter.split(QStringLiteral(";;")).indexOf(selected)));
    };
    UpdateRangeBar();
}

bool CHistoryView::Load(const std::string& path) {
    const HistoryLoadResult result = m_document.Load(path);
    m_loadError = result.ok ? std::string() : result.error;
    if (!result.ok)
        return false;
    ShowHistory();
    return true;
}

std::string CHistoryView::OpenFailureText(const std::string& reason) {
    if (reason.empty())
        return CStringTable::GetGeneralText("S_MAINFRAME_ONFILEOPEN");
    return CStringTable::FillPlaceholder(CStringTable::GetGeneralText("S_MAINFRAME_ONFILEOPEN_REASON"), "%1",
                                         reason);
}

std::string CHistoryView::ModelName() const {
    const SensorModel* model = CModelTable::FindByName(m_document.Header().Text(HistoryText::ModelName));
    return model != nullptr ? model->name : std::string();
}

void CHistoryView::ShowHistory() {
    const std::vector<int32_t>& values = m_document.Data().Values();
    m_graph->SetChannel(m_document.ModelNumber(), m_document.Channel(), m_document.ReturnLoss());
    m_graph->ShowHistory(m_document.ModelNumber(), &m_document.Header(),
                         values.empty() ? &kNoRows : values.data(), m_document.Data().RowCount(),
                         m_document.ReturnLoss());
    m_zoomed = false;
    ClearRange();
}

bool CHistoryView::OnCommand(int id) {
    if (ChannelCommandOf(id)) {
        OnChannel(id);
        return true;
    }
    switch (id) {
    case ID_FILE_SAVE:
        OnSave();
        return true;
    case ID_FILE_SAVE_AS:
        OnSaveAs();
        return true;
    case ID_EXPORT_CSV:
        OnExportCsv();
        return true;
    case ID_EXPORT_JPG:
        OnExportBitmap();
        return true;
    case ID_FILE_REPORT:
        OnReport();
        return true;
    case ID_FILE_CHANGETITLE:
        OnChangeTitle();
        return true;
    case ID_FILE_CHANGESCALE:
        OnChangeScale();
        return true;
    default:
        return false;
    }
}

bool CHistoryView::OnUpdateCommand(int id, CCommandState& state) {
    if (const auto command = ChannelCommandOf(id)) {
        state.Enable(CHistoryChannelCommands::IsEnabled(*command, m_document.ModelNumber(),
                                                        m_document.Header().Mask()));
        if (const auto checked = CHistoryChannelCommands::CheckMark(
                *command, m_document.ModelNumber(), m_document.Channel(), m_document.ReturnLoss()))
            state.SetCheck(*checked);
        return true;
    }
    switch (id) {
    case ID_FILE_SAVE:
        state.Enable(m_document.IsModified());
        return true;
    case ID_FILE_SAVE_AS:
    case ID_EXPORT_CSV:
    case ID_EXPORT_JPG:
    case ID_FILE_REPORT:
    case ID_FILE_CHANGETITLE:
    case ID_FILE_CHANGESCALE:
        state.Enable(true);
        return true;
    default:
        return false;
    }
}

void CHistoryView::OnChannel(int id) {
    const CHistoryChannelCommands::Target target = CHistoryChannelCommands::TargetOf(*ChannelCommandOf(id));
    m_document.ShowChannel(target.channel, target.returnLoss);
    ShowHistory();
}

bool CHistoryView::Fail(const char* key, const std::string& error) {
    if (!error.empty())
        qWarning("%s", error.c_str());
    CMessageBoxes::FromKey(this, key, MB_ICONSTOP);
    return false;
}

void CHistoryView::DetachFromFile() {
    m_document.DetachFromFile();
}

// A history without a file of its own (a download, an older layout) is saved to a file the
// user chooses, never back into the file it was read from.
void CHistoryView::OnSave() {
    if (!m_document.IsModified())
        return;
    if (m_document.Path().empty()) {
        SaveToChosenFile(true);
        return;
    }
    std::string error;
    WaitCursor wait;
    if (!m_document.Save(&error))
        Fail("S_HISTORYVIEW_ONFILESAVE", error);
}

void CHistoryView::OnSaveAs() {
    SaveToChosenFile(false);
}

void CHistoryView::SaveToChosenFile(bool becomesOwnFile) {
    const std::string path =
        ChooseTarget(QStringLiteral(".psh"), QStringLiteral("PSH files(*.psh);;All files(*)"));
    if (path.empty())
        return;
    std::string error;
    WaitCursor wait;
    const bool saved =
        becomesOwnFile ? m_document.SaveToNewFile(path, &error) : m_document.SaveAs(path, &error);
    if (!saved)
        Fail("S_HISTORYVIEW_ONFILESAVEAS", error);
}

// The filters offer the layout with times and, while zoomed, the shown stretch alone.
void CHistoryView::OnExportCsv() {
    QStringList filters = {General("S_HISTORYVIEW_CSV_PLAIN"), General("S_HISTORYVIEW_CSV_TIMED")};
    if (m_zoomed)
        filters << General("S_HISTORYVIEW_CSV_RANGE") << General("S_HISTORYVIEW_CSV_RANGE_TIMED");
    const int allFiles = static_cast<int>(filters.size());
    filters << QStringLiteral("All files(*)");
    int filter = 0;
    const std::string path =
        ChooseTarget(QStringLiteral(".csv"), filters.join(QStringLiteral(";;")), &filter);
    if (path.empty())
        return;
    const bool timed = filter % 2 == 1 && filter < allFiles;
    const bool shownOnly = filter >= 2 && filter < allFiles;
    std::string error;
    WaitCursor wait;
    const auto layout = timed ? CHistoryCsvWriter::Layout::WithTimeBase : CHistoryCsvWriter::Layout::Plain;
    if (!CHistoryCsvWriter::Write(path, m_document.Data(), m_document.ModelNumber(), &error, layout,
                                  shownOnly ? ShownRows() : CsvRowRange{}))
        Fail("S_HISTORYVIEW_ONEXPORTTOCSV", error);
}

CsvRowRange CHistoryView::ShownRows() const {
    if (!m_zoomed)
        return {};
    const GraphSeries& series = m_graph->View().series;
    const auto first = static_cast<int>(series.xMinimum);
    return {first, static_cast<int>(series.xMaximum) - first};
}

CHistoryData CHistoryView::ShownData() const {
    const CsvRowRange rows = ShownRows();
    return CHistoryTimeBase::Slice(m_document.Data(), rows.first,
                                   rows.count < 0 ? m_document.Data().RowCount() : rows.count);
}

void CHistoryView::OnExportBitmap() {
    const std::string path =
        ChooseTarget(QStringLiteral(".bmp"), QStringLiteral("Bitmap files(*.bmp);;All files(*)"));
    if (path.empty())
        return;
    std::string error;
    WaitCursor wait;
    if (!m_graph->ExportBitmap(path, &error))
        Fail("S_HISTORYVIEW_ONEXPORTTOJPG", error);
}

void CHistoryView::OnReport() {
    const GraphContent graph = m_graph->Content();
    const auto writePdf = [this, &graph](const ReportTexts& texts) {
        const std::string path =
            ChooseTarget(QStringLiteral(".pdf"), QStringLiteral("PDF files(*.pdf);;All files(*)"));
        if (path.empty())
            return false;
        std::string error;
        WaitCursor wait;
        return CReportPage::WritePdf(path, texts, &graph, &error) || Fail("S_REPORT_ONSAVEPDF", error);
    };
    CReportGenDlg generator(
        QString::fromStdString(CReportLayout::DefaultTitle(m_document.Header().Text(HistoryText::Title))),
        writePdf, this);
    const CHistoryData shown = ShownData();
    generator.OfferConditions(CReportLayout::ConditionsText(shown.Header(), shown.RowCount()));
    if (generator.exec() != QDialog::Accepted)
        return;
    // Print without a printer would end without a page and without a word.
    if (generator.Printer() == nullptr) {
        CMessageBoxes::FromKey(this, "S_REPORT_NO_PRINTER", MB_ICONEXCLAMATION);
        return;
    }
    CReportPrintDlg printing(generator.Printer(), graph, generator.Texts(), this);
    printing.exec();
}

void CHistoryView::OnChangeTitle() {
    CChangeTitleDlg dialog(QString::fromStdString(m_document.Header().Text(HistoryText::Title)), this);
    if (dialog.exec() != QDialog::Accepted || !m_document.ChangeTitle(dialog.Title().toStdString()))
        return;
    ShowHistory();
}

void CHistoryView::OnChangeScale() {
    CDlg_AutoScale dialog(m_document.ProposedScale(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_document.ChangeScale(dialog.Range().lower, dialog.Range().upper);
    ShowHistory();
}

std::string CHistoryView::ChooseTarget(const QString& suffix, const QString& filter, int* chosenFilter) {
    const ChosenFile chosen = m_choosePath(suffix, filter);
    const QString& path = chosen.path;
    if (path.isEmpty())
        return {};
    if (chosenFilter != nullptr)
        *chosenFilter = chosen.filter;
    const QFileInfo target(path);
    if (target.exists()) {
        const bool isOpenHistory =
            !m_document.Path().empty() &&
            target.canonicalFilePath() ==
                QFileInfo(QString::fromStdString(m_document.Path())).canonicalFilePath();
        const char* question = isOpenHistory ? "S_HISTORYVIEW_REPLACE_OPEN" : "S_HISTORYVIEW_REPLACE";
        if (CMessageBoxes::FromKey(this, question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return {};
    }
    return CCorePath::FromQt(path);
}

double CHistoryView::IndexAt(int x) const {
    return m_graph->Graph().Scale().XAt(x);
}

void CHistoryView::SelectRange(double from, double to) {
    const GraphView& view = m_graph->View();
    const std::span<const GraphPoint> points(view.series.points,
                                             static_cast<std::size_t>(std::max(view.series.pointCount, 0)));
    const int channel = m_document.Channel();
    m_selection = CRangeStatistics::Compute(
        points, from, to, IsPowerChannel(channel),
        CRangeStatistics::SecondsPerSample(m_document.Header().Text(HistoryText::Interval)));
    if (!m_selection) {
        ClearRange();
        return;
    }
    m_selectedFrom = std::min(from, to);
    m_selectedTo = std::max(from, to);
    m_band->show();
    UpdateRangeBar();
    PlaceBand();
}

void CHistoryView::PlaceBand() {
    const CGraphScale& scale = m_graph->Graph().Scale();
    const auto pixel = [&scale](double index) {
        return scale.PixelX(std::clamp(static_cast<float>(index), scale.XMinimum(), scale.XMaximum()));
    };
    m_band->setGeometry(QRect(QPoint(pixel(m_selectedFrom), scale.PlotTop()),
                              QPoint(pixel(m_selectedTo), scale.PlotBottom())));
}

void CHistoryView::ClearRange() {
    m_selection.reset();
    m_band->hide();
    UpdateRangeBar();
}

void CHistoryView::ZoomToRange() {
    if (!m_selection)
        return;
    const auto first = static_cast<float>(m_graph->View().series.points[m_selection->firstIndex].x);
    const float last = first + static_cast<float>(m_selection->count);
    m_graph->ShowXRange(first, last,
                        CGraphSource::RangeTexts(&CStringTable::GetGeneralText, m_document.ModelNumber(),
                                                 m_document.Header(), m_document.Channel(),
                                                 m_document.ReturnLoss(), *m_selection, first, last));
    m_band->hide();
    m_zoomed = true;
    UpdateRangeBar();
}

void CHistoryView::ShowWholeHistory() {
    ShowHistory();
}

QString CHistoryView::RangeText() const {
    if (!m_selection)
        return {};
    const QString unit = QString::fromStdString(m_graph->View().unit);
    const auto value = [&unit](const char* key, double number) {
        // A no-break space keeps the unit with its number when the line wraps.
        return QStringLiteral("%1 : %2\u00A0%3").arg(General(key)).arg(number, 0, 'f', 2).arg(unit).trimmed();
    };
    const GraphPoint* points = m_graph->View().series.points;
    const int first = static_cast<int>(points[m_selection->firstIndex].x);
    QString text = QStringLiteral("%1 - %2 (%3 %4")
                       .arg(first)
                       .arg(first + m_selection->count - 1)
                       .arg(m_selection->count)
                       .arg(General("S_HISTORYVIEW_SAMPLES"));
    if (m_selection->durationSeconds)
        text += QStringLiteral(", %1 s").arg(*m_selection->durationSeconds, 0, 'f', 1);
    return text + QStringLiteral(")   ") + value("S_GRAPH_MAX", m_selection->maximum) +
           QStringLiteral(",  ") + value("S_GRAPH_MIN", m_selection->minimum) + QStringLiteral(",  ") +
           value("S_GRAPH_AVERAGE", m_selection->average);
}

void CHistoryView::UpdateRangeBar() {
    m_rangeText->setText(RangeText());
    m_rangeText->setToolTip(RangeText());
    m_zoom->setEnabled(m_selection.has_value() && !m_band->isHidden());
    m_whole->setEnabled(m_zoomed);
    m_rangeBar->setVisible(m_selection.has_value() || m_zoomed);
}

QMenu* CHistoryView::ContextMenu() {
    if (m_contextMenus == nullptr) {
        m_contextMenus = CMenuBuilder::BuildContextMenus(nullptr, nullptr);
        m_contextMenus->setParent(this, m_contextMenus->windowFlags());
    }
    const QList<QAction*> popups = m_contextMenus->actions();
    QMenu* history = popups.size() > 1 ? popups[1]->menu() : nullptr;
    if (history != nullptr)
        ApplyStates(*history, *this);
    return history;
}

void CHistoryView::ShowContextMenu(const QPoint& globalPosition) {
    QMenu* menu = ContextMenu();
    if (menu == nullptr)
        return;
    if (QAction* chosen = menu->exec(globalPosition))
        OnCommand(CMenuBuilder::CommandOf(chosen));
}

bool CHistoryView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_graph)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Resize && !m_band->isHidden()) {
        // The graph lays itself out in its own resize handler, which runs after this filter.
        QMetaObject::invokeMethod(this, &CHistoryView::PlaceBand, Qt::QueuedConnection);
        return QWidget::eventFilter(watched, event);
    }
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse == nullptr)
        return QWidget::eventFilter(watched, event);
    const int x = mouse->position().toPoint().x();
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
        ShowContextMenu(mouse->globalPosition().toPoint());
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        m_dragStart = x;
        return true;
    }
    if (event->type() == QEvent::MouseMove && m_dragStart) {
        const CGraphScale& scale = m_graph->Graph().Scale();
        m_band->setGeometry(QRect(QPoint(std::min(*m_dragStart, x), scale.PlotTop()),
                                  QPoint(std::max(*m_dragStart, x), scale.PlotBottom())));
        m_band->show();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton && m_dragStart) {
        const int start = *m_dragStart;
        m_dragStart.reset();
        if (std::abs(x - start) < kMinimumDragPixels)
            ClearRange();
        else
            SelectRange(IndexAt(start), IndexAt(x));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
