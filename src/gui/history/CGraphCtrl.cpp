#include "gui/history/CGraphCtrl.h"

#include <QPainter>

#include "appcore/CStringTable.h"
#include "gui/kit/CPaintPacer.h"
#include "history/CBitmapWriter.h"
#include "history/HistoryHeader.h"
#include "model/CSettingProfile.h"

CGraphCtrl::CGraphCtrl(QWidget* parent, CPaintPacer* pacer)
    : QWidget(parent), m_pacer(pacer), m_graph(this, CGraph::ColourSetScreen) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    ResetTexts();
    m_view.series.yAxisLabel = CStringTable::GetGeneralText("S_GRAPH_POWER");
    m_view.series.kind = kSeriesKindSampled;
    m_view.series.style = kSeriesStyleLine;
    m_view.series.xMinimum = 0.0f;
    m_view.series.xMaximum = static_cast<float>(m_windowLength);
    m_view.series.yFirst = -40.0f;
    m_view.series.ySecond = 50.0f;
    ApplyView();
}

void CGraphCtrl::ResetTexts() {
    m_view.series.title = CStringTable::GetGeneralText("S_GRAPH_HISTOGRAM");
    m_view.series.subtitle.clear();
    m_view.series.xAxisLabel = CStringTable::GetGeneralText("S_GRAPH_TIME");
}

void CGraphCtrl::BindProfile(CSettingProfile* profile) {
    m_profile = profile;
}

void CGraphCtrl::SetChannel(int modelNumber, int channel, bool returnLoss) {
    m_channel = channel;
    ResetTexts();
    m_view.series.yAxisLabel =
        CGraphSource::AxisLabel(&CStringTable::GetGeneralText, modelNumber, channel, returnLoss);
    ApplyView();
}

void CGraphCtrl::ShowHistory(int modelNumber, const HistoryHeader* header, const int32_t* rows, int rowCount,
                             bool returnLoss) {
    if (header == nullptr || rows == nullptr)
        return;
    m_channel = CGraphSource::FromHistory(&CStringTable::GetGeneralText, modelNumber, *header, rows, rowCount,
                                          m_channel, returnLoss, m_points, m_view);
    ApplyView();
}

void CGraphCtrl::ShowXRange(float first, float last, const GraphRangeTexts& texts) {
    m_view.series.xMinimum = first;
    m_view.series.xMaximum = last;
    m_view.series.subtitle = texts.subtitle;
    m_view.average = texts.average;
    m_view.xStartLabel = texts.xStartLabel;
    m_view.xEndLabel = texts.xEndLabel;
    // The points stay, and with them what the graph keeps to draw them quickly.
    m_graph.ShowXRange(first, last);
    m_graph.SetSubtitle(texts.subtitle);
    m_graph.SetAverage(texts.average, m_view.averageShown);
    m_graph.SetXEndLabels(texts.xStartLabel, texts.xEndLabel);
    m_surfaceStale = true;
    update();
}

void CGraphCtrl::RefreshLive(bool resetWindow) {
    if (m_profile == nullptr || m_records == nullptr || m_channel < 0 || m_channel >= kChannelCount)
        return;
    if (resetWindow) {
        // The layout may not have seen the latest size yet while the window is hidden.
        m_graph.Resize(0, 0, width(), height());
        m_windowLength = std::max(m_graph.PlotWidth(), 1);
        m_points.clear();
        m_points.shrink_to_fit();
    }
    m_points.reserve(static_cast<std::size_t>(m_windowLength));
    CGraphSource::FromLive(&CStringTable::GetGeneralText, *m_profile, *m_records, m_channel, m_windowLength,
                           m_points, m_view);
    ApplyView(resetWindow ? Repaint::Now : Repaint::Paced);
}

void CGraphCtrl::ApplyView(Repaint repaint) {
    m_graph.ShowView(m_view);
    m_surfaceStale = true;
    if (repaint == Repaint::Paced && m_pacer != nullptr)
        m_pacer->Request(this);
    else
        update();
}

QImage CGraphCtrl::RenderImage() {
    return m_graph.RenderImage(size());
}

bool CGraphCtrl::ExportBitmap(const std::string& path, std::string* error) {
    const QImage image = RenderImage().convertToFormat(QImage::Format_RGB32);
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    for (int row = 0; row < image.height(); ++row) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(row));
        pixels.insert(pixels.end(), line, line + image.width());
    }
    return CBitmapWriter::Write(path, image.width(), image.height(), pixels, error);
}

GraphContent CGraphCtrl::Content() const {
    GraphContent content{m_view, std::vector<GraphPoint>(m_view.series.points,
                                                         m_view.series.points + m_view.series.pointCount)};
    content.view.series.points = content.points.data();
    return content;
}

void CGraphCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_graph.Resize(0, 0, width(), height());
    m_surface.Resize(size().expandedTo(QSize(kMinSurfaceSize, kMinSurfaceSize)), devicePixelRatioF());
    m_surfaceStale = true;
}

void CGraphCtrl::paintEvent(QPaintEvent*) {
    const QSize logical = size().expandedTo(QSize(kMinSurfaceSize, kMinSurfaceSize));
    if (m_surface.LogicalSize() != logical || m_surface.Surface().devicePixelRatio() != devicePixelRatioF()) {
        m_surface.Resize(logical, devicePixelRatioF());
        m_surfaceStale = true;
    }
    if (m_surfaceStale) {
        UpdateStaticLayer();
        QPainter painter(&m_surface.Surface());
        painter.drawPixmap(0, 0, m_staticLayer);
        m_graph.DrawDataLayer(painter);
        m_surfaceStale = false;
    }
    QPainter painter(this);
    m_surface.Present(painter);
}

// Frame, grid and texts are drawn again only when they change, not with every new value.
void CGraphCtrl::UpdateStaticLayer() {
    const QPixmap& surface = m_surface.Surface();
    const CGraph::StaticLayerKey key = m_graph.StaticKey();
    if (key == m_staticKey && m_staticLayer.size() == surface.size() &&
        m_staticLayer.devicePixelRatio() == surface.devicePixelRatio())
        return;
    m_staticLayer = QPixmap(surface.size());
    m_staticLayer.setDevicePixelRatio(surface.devicePixelRatio());
    m_staticLayer.fill(m_graph.ColourSet().background);
    QPainter painter(&m_staticLayer);
    m_graph.DrawStaticLayer(painter);
    m_staticKey = key;
}
