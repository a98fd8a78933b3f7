#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QRect>
#include <QString>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "history/CGraphScale.h"
#include "history/CGraphSource.h"
#include "history/CMinMaxPyramid.h"
#include "history/GraphSeries.h"

class QPainter;
class QPaintDevice;
class QWidget;

// A complete line graph (frame, grid, texts, value labels, series, average and limit lines)
// painted into any QPainter. It owns no window; the series' points belong to the caller.
class CGraph {
public:
    enum ColourSetId { ColourSetDefault = 0, ColourSetScreen = 1, ColourSetPrint = 8 };

    struct Colours {
        QColor background;
        QColor frame;
        QColor title;
        QColor subtitle;
        QColor xLabel;
        QColor yLabel;
        QColor tickMajor;
        QColor tickMinor;
        QColor data;
    };

    static constexpr int kMaxSeriesKind = 12;
    static constexpr int kMaxSeriesStyle = 4;

    // The font is measured at the owner's resolution (96 dpi without one).
    explicit CGraph(const QWidget* owner = nullptr, int colourSet = ColourSetScreen);
    virtual ~CGraph() = default;
    CGraph(const CGraph&) = delete;
    CGraph& operator=(const CGraph&) = delete;

    // Refuses unknown kinds and styles and points that are missing; then takes the texts and ranges.
    bool SetSeries(const GraphSeries& series);
    // The series and everything else a view holds (end labels, unit, average and limit lines).
    bool ShowView(const GraphView& view);
    // Another part of the same points, which stay as they are.
    void ShowXRange(float first, float last);
    void SetXEndLabels(const std::string& start, const std::string& end);
    void SetSubtitle(const std::string& subtitle);
    void SetUnit(const std::string& unit);
    void SetAverage(float value, bool shown);
    void SetLimitLines(float low, float high);
    void EnableLimitLines(bool enabled);
    void Resize(int left, int top, int width, int height);
    void SetCompact(bool compact) { m_scale.SetCompact(compact); }
    void SetColourSet(int colourSet);
    // "Arial" 10 points at the given vertical resolution; line height and character width follow.
    void SetFont(int dotsPerInchY);

    int PlotWidth() const { return m_scale.PlotWidth(); }
    int PlotHeight() const { return m_scale.PlotHeight(); }
    const CGraphScale& Scale() const { return m_scale; }
    const Colours& ColourSet() const { return m_colours; }
    const GraphSeries& Series() const { return m_series; }
    const QString& Title() const { return m_title; }
    const QString& Subtitle() const { return m_subtitle; }

    virtual void Draw(QPainter& painter);
    // Draw() in two layers: frame, grid and texts, which change seldom, and the data drawn
    // over them. Equal keys mean equal static layers, so a window can keep one and reuse it.
    struct StaticLayerKey {
        QRect geometry;
        int dotsPerInchY = 0;
        std::array<QRgb, 6> colours{};
        bool grid = false;
        float yMinimum = 0.0f;
        float yMaximum = 0.0f;
        std::array<QString, 7> texts;
        bool operator==(const StaticLayerKey&) const = default;
    };
    void DrawStaticLayer(QPainter& painter);
    void DrawDataLayer(QPainter& painter);
    StaticLayerKey StaticKey() const;
    // The graph in print colours within the rectangle, its font measured on the painter's device.
    void Print(QPainter& painter, const QRect& rect);
    // A fresh graph of the given size, as the screen shows it.
    QImage RenderImage(const QSize& size);

protected:
    void DrawBackground(QPainter& painter);
    void DrawFrameAndGrid(QPainter& painter);
    void DrawTitle(QPainter& painter);
    void DrawSubtitle(QPainter& painter);
    void DrawXAxisLabel(QPainter& painter);
    void DrawYAxisLabel(QPainter& painter);
    virtual void DrawXEndLabels(QPainter& painter);
    virtual void DrawValueLabels(QPainter& painter);
    void DrawAverageLine(QPainter& painter);
    virtual void DrawSeries(QPainter& painter);
    void DrawLimitLines(QPainter& painter);

    // A line through the points: x outside the range skipped, y clamped into it. Where many
    // points share a pixel column, that column's span is drawn instead of each segment.
    void DrawCurve(QPainter& painter, const GraphPoint* points, int count, const QColor& colour) const;
    // Text in a box filled with the background colour first.
    void DrawTextBox(QPainter& painter, const QRect& box, int flags, const QString& text,
                     const QColor& colour) const;
    void DrawHorizontalLine(QPainter& painter, float value, const QColor& colour) const;
    QString ValueText(float value) const;
    // The texts under the ends of the x axis: the labels, or the range's ends without them.
    std::pair<QString, QString> EndLabelTexts() const;

    CGraphScale m_scale;
    Colours m_colours;
    QFont m_font;
    GraphSeries m_series;
    QString m_title = QStringLiteral("History Graph");
    QString m_subtitle;
    QString m_yAxisLabel = QStringLiteral("Power Level");
    QString m_xAxisLabel = QStringLiteral("Time");
    QString m_xStartLabel;
    QString m_xEndLabel;
    QString m_unit;
    bool m_gridOn = true;
    bool m_averageShown = false;
    float m_average = 0.0f;
    bool m_limitsEnabled = false;
    float m_lowLimit = 0.0f;
    float m_highLimit = 0.0f;

private:
    // Series at least this long keep a min/max pyramid, so drawing follows the pixel width.
    static constexpr int kPyramidMinPoints = 4096;

    // The curve as drawn: per pixel column the span its points cover, and a line from each
    // column's last point to the next column's first.
    struct CurveStrokes {
        std::vector<QLine> lines;
        std::vector<QRect> spans;
        bool started = false;
        int column = 0;
        int low = 0;
        int high = 0;
        int lastY = 0;

        void Add(int x, int firstY, int lastOfColumnY, int lowY, int highY);
        void Extend(int y);
        void Flush();
    };

    static Colours ColoursOf(int colourSet);
    void CollectPoints(const GraphPoint* points, int count, CurveStrokes& strokes) const;
    void CollectPoint(const GraphPoint& point, CurveStrokes& strokes) const;
    void CollectColumns(const GraphPoint* points, int count, CurveStrokes& strokes) const;

    CMinMaxPyramid m_pyramid;
    bool m_pyramidChecked = false;

    int m_dotsPerInchY = 96;
};
