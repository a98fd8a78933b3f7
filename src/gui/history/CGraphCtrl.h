#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

#include "gui/history/CGraph.h"
#include "gui/kit/CMemDC.h"
#include "history/CGraphSource.h"

class CRecordStore;
class CPaintPacer;
class CSettingProfile;
class HistoryHeader;

// Child window showing one channel as a line graph: a saved history, or the newest samples of
// the live records with one sample per plot pixel. Paints through an off-screen surface;
// button presses propagate to the parent.
class CGraphCtrl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinSurfaceSize = 100;

    // A live graph repaints new values through the pacer, which must outlive it; without one
    // (a history) every change repaints at once.
    explicit CGraphCtrl(QWidget* parent = nullptr, CPaintPacer* pacer = nullptr);

    // The display ranges and limits of the live records; nullptr for a history.
    void BindProfile(CSettingProfile* profile);
    // The live records a screen's graph shows; nullptr for a history.
    void BindRecords(const CRecordStore* records) { m_records = records; }
    void SetChannel(int modelNumber, int channel, bool returnLoss);
    int GetChannel() const { return m_channel; }
    // Does nothing without a header or rows.
    void ShowHistory(int modelNumber, const HistoryHeader* header, const int32_t* rows, int rowCount,
                     bool returnLoss);
    // Narrows the shown history to the indices first..last, with the statistics and end times of
    // that stretch; end labels left empty show the indices.
    void ShowXRange(float first, float last, const GraphRangeTexts& texts);
    // Shows the newest live samples; a new window fits the samples to the current width.
    void RefreshLive(bool resetWindow);

    int WindowLength() const { return m_windowLength; }
    CGraph& Graph() { return m_graph; }
    const GraphView& View() const { return m_view; }
    // A fresh graph of the control's size, for the bitmap export.
    QImage RenderImage();
    // RenderImage() as a 32-bit bitmap file; an existing file is replaced only on success.
    bool ExportBitmap(const std::string& path, std::string* error = nullptr);
    // A copy of what the graph shows, for drawing it on another thread.
    GraphContent Content() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    enum class Repaint { Now, Paced };

    void ApplyView(Repaint repaint = Repaint::Now);
    void UpdateStaticLayer();
    void ResetTexts();

    CPaintPacer* m_pacer;
    CSettingProfile* m_profile = nullptr;
    const CRecordStore* m_records = nullptr;
    int m_channel = 0;
    CGraph m_graph;
    GraphView m_view;
    std::vector<GraphPoint> m_points;
    int m_windowLength = CGraphSource::kDefaultWindowLength;
    CMemDC m_surface;
    QPixmap m_staticLayer;
    CGraph::StaticLayerKey m_staticKey;
    bool m_surfaceStale = true;
};
