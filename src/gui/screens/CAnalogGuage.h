#pragma once

#include <QPixmap>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "appcore/CGaugeLayout.h"
#include "model/MeterThresholdCollection.h"

class CPaintPacer;
class QPainter;

// A 270-degree needle instrument: shaded bezel, coloured bands, labelled ticks, caption,
// needle, hub and glass. The owner sets range, value, caption and bands. Everything under the
// needle and everything over it are cached and rebuilt only when size, range, colours,
// caption or bands change, so a new value repaints only the needle, and only once its tip has
// moved by a visible amount. Where nothing shows through the gauge, the area around the needle
// is also kept, as drawn, for the last few values: a jittering reading shows the same few
// again and again. Clicks are left to propagate to the owner.
class CAnalogGuage : public QWidget {
    Q_OBJECT

public:
    // Repaints for new values go through the pacer, which must outlive the gauge.
    explicit CAnalogGuage(CPaintPacer& pacer, QWidget* parent = nullptr);

    // Clamped into [min, max]; repaints only when the needle's tip moves by a quarter pixel or
    // more from where the last repaint asked for put it.
    void SetValue(double value);
    void SetMinValue(double minimum);
    void SetMaxValue(double maximum);
    double GetValue() const { return m_value; }
    double GetMinValue() const { return m_min; }
    double GetMaxValue() const { return m_max; }

    void SetBackColor(uint32_t argb);
    uint32_t GetFaceColor() const { return m_faceColor; }
    uint32_t GetHubColor() const { return m_hubColor; }
    uint32_t GetTextColor() const { return m_textColor; }
    float GetStartAngle() const { return CGaugeLayout::kStartAngle; }
    float GetEndAngle() const { return CGaugeLayout::kEndAngle; }
    float GetScaleFactor() const { return m_layout.Scale(); }
    int GetMajorTickCount() const { return m_majorTicks; }
    int GetMinorTickCount() const { return m_minorTicks; }
    const CGaugeLayout& Layout() const { return m_layout; }
    const MeterThresholdCollection& Bands() const { return m_bands; }
    const QString& Caption() const { return m_caption; }

    // Bands and caption take effect with the next repaint the owner causes.
    void AddBand(double low, double high, uint32_t argb);
    void ClearBands();
    void SetCaption(const QString& caption);

    // The whole gauge at its current size, drawn layer by layer as a repaint shows it.
    QImage Render();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The gauge with the needle at `value`, over `area` around the needle.
    struct NeedleTile {
        double value = 0.0;
        QRect area;
        QImage image;
    };

    // What the kept tiles may take together; the oldest go first. A gauge of a few hundred
    // pixels keeps a few dozen values.
    static constexpr qsizetype kNeedleTileBytes = 1024 * 1024;

    void RecalcLayout();
    void DrawBackground(QPainter& painter, const QRectF& rect);
    void DrawFace(QPainter& painter, const QRectF& rect);
    void DrawBands(QPainter& painter, const QRectF& rect);
    void DrawScale(QPainter& painter, const QRectF& rect);
    void DrawCaption(QPainter& painter, const QRectF& rect);
    void DrawNeedle(QPainter& painter);
    void DrawHub(QPainter& painter, const QRectF& rect);
    void DrawGlass(QPainter& painter, const QRectF& rect);
    void InvalidateLayers();
    void BuildLayers();
    QPixmap NewLayer() const;
    std::array<QPointF, 4> NeedleCorners(double value) const;
    QRect NeedleArea(double value) const;
    void PaintGauge(QPainter& painter);
    void PaintLayers(QPainter& painter);
    void ComposeWithoutNeedle();
    const NeedleTile& TileFor(double value);
    static QRectF ToRect(const GaugeRect& rect);

    CPaintPacer& m_pacer;
    uint32_t m_backColor = 0xFFFFFFFF;
    uint32_t m_faceColor = 0xFF4169E1;
    uint32_t m_hubColor = 0xFFFFFF00;
    uint32_t m_textColor = 0xFFFFFFFF;
    double m_value = 10.0;
    double m_shownValue = 10.0; // where the last repaint asked for put the needle
    double m_min = 0.0;
    double m_max = 100.0;
    int m_majorTicks = 10;
    int m_minorTicks = 9;
    MeterThresholdCollection m_bands;
    QString m_caption;
    CGaugeLayout m_layout;
    QPixmap m_underNeedle;
    QPixmap m_overNeedle;
    // Under and over the needle in one, kept while the layers are opaque at one pixel per
    // pixel; null otherwise, and the layers are then drawn one by one.
    QImage m_withoutNeedle;
    std::deque<NeedleTile> m_tiles;
    qsizetype m_tileBytes = 0;
    bool m_layersValid = false;
};
