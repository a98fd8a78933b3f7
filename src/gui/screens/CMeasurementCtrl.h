#pragma once

#include <QColor>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QTextLayout>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include "appcore/CReadoutLayout.h"
#include "appcore/CReadoutTexts.h"
#include "gui/kit/CTextLayoutCache.h"
#include "gui/kit/FontCache.h"
#include "gui/screens/CAnalogGuage.h"

class CRecordStore;
class CPaintPacer;
class CSettingProfile;

// One text item of a readout: drawn at its rectangle's top-left corner; an empty rectangle
// hides it. The text is shaped once per change into `laidOut`, drawn with its baseline at
// `origin`; `advance` is its width, `inked` what painting it covers: the text's line from the
// rectangle's corner, not the rest of the rectangle, so that a new value repaints no more.
// `fontAscent` and `fontHeight` are the metrics of the font of `fontPoints`.
struct MeasurementTextItem {
    int placedPoints = 0; // the layout's size; fontPoints is smaller when the text needs it
    int fontPoints = 0;
    int fontAscent = 0;
    int fontHeight = 0;
    QColor colour;
    QString text;
    QRect rect;
    std::shared_ptr<const LaidOutText> laidOut;
    QPointF origin;
    int advance = 0;
    QRect inked;
};

// Owner-drawn readout of one measured quantity: large value, unit, reference, extremes,
// watts or return loss, limits and, in the main style, the sensor and setting lines; the
// smaller styles carry an analog gauge with the limit bands. Clicks propagate to the parent.
class CMeasurementCtrl : public QWidget {
    Q_OBJECT

public:
    enum RefreshKind { RefreshAll = 0, RefreshLimits = 1, RefreshValues = 2 };

    // New values are repainted through the pacer, which must outlive the control.
    explicit CMeasurementCtrl(CPaintPacer& pacer, QWidget* parent = nullptr);

    void BindProfile(CSettingProfile* profile) { m_profile = profile; }
    // The measurement whose values the readout shows; nothing is shown without one.
    void BindRecords(const CRecordStore* records) { m_records = records; }
    void SetQuantity(int quantity);
    int GetQuantity() const { return m_quantity; }
    void SetStyle(int style);
    int GetStyle() const { return m_style; }
    void SetSelected(bool selected);
    bool IsSelected() const { return m_selected; }
    void SetAlarm(bool alarm);
    bool GetAlarm() const { return m_alarm; }
    void Refresh(int kind);

    const MeasurementTextItem& Item(int index) const { return m_items[static_cast<std::size_t>(index)]; }
    CAnalogGuage& Gauge() { return m_gauge; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What the value texts and the needle are made of: a refresh for new values that finds it
    // as it was (another channel's reading) has nothing to do.
    struct ValueSources {
        int quantity = 0;
        uint64_t revision = 0;
        int model = 0;
        bool relative = false;
        int places = 0;
        float dutyCycle = 0.0f;
        float burstWidth = 0.0f;
        bool operator==(const ValueSources&) const = default;
    };

    // Room for a few dozen values of each changing text.
    static constexpr std::size_t kLayoutCacheSize = 64;

    ValueSources CurrentValueSources() const;
    bool ShowsAlarm() const;
    void ApplyAlarmColour();
    // Around what changed in the texts' lines; empty when no text changed.
    QRect ApplyTexts();
    static QRect ChangedArea(const MeasurementTextItem& before, const MeasurementTextItem& after);
    void LayOut(MeasurementTextItem& item);
    void LayOutAtFont(MeasurementTextItem& item);
    bool Fits(const MeasurementTextItem& item) const;
    QRect DropOverlaps();
    bool RecalcLayout();
    // Where the widest shown text ends; the gauge stays right of it.
    int TextRight() const;
    void PlaceGauge();
    void PaintSurface(QPainter& painter, const QRegion& area) const;
    ReadoutState State() const;

    CPaintPacer& m_pacer;
    CSettingProfile* m_profile = nullptr;
    const CRecordStore* m_records = nullptr;
    std::array<MeasurementTextItem, kReadoutItemCount> m_items;
    CReadoutTexts::Texts m_texts;
    CReadoutTexts::Texts m_appliedTexts; // as the items show them, to find changes without converting
    bool m_selected = false;
    CAnalogGuage m_gauge;
    int m_quantity = 0;
    int m_style = StyleMain;
    bool m_alarm = false;
    std::optional<ValueSources> m_shownValues;
    FontCache m_fonts;
    CTextLayoutCache m_layouts{m_fonts, kLayoutCacheSize};
};
