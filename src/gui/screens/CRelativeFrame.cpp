#include "gui/screens/CRelativeFrame.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CScreenController.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/kit/CCorePath.h"
#include "gui/screens/CRelativeGraph.h"
#include "gui/screens/CScreenFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

using Clock = CRelativeReadout::Clock;
// Often enough for a live readout, rarely enough to cost the window nothing worth counting.
constexpr int kFollowMs = 100;
// A partner may be as old as the slower sensor's time between readings, with a quarter to
// spare for the jitter of its exchanges.
constexpr double kCycleSpare = 1.25;
constexpr double kFirstCycleMs = 1000.0;
constexpr int kValuePoints = 36;
constexpr int kMinValuePoints = 12;

QString Text(const char* key) {
    return QString::fromStdString(CStringTable::GetGeneralText(key));
}

QString Number(std::optional<float> value, const char* unit) {
    if (!value)
        return Text("S_RELATIVE_NO_VALUE");
    return QStringLiteral("%1 %2").arg(static_cast<double>(*value), 0, 'f', 2).arg(QLatin1String(unit));
}

} // namespace

CRelativeFrame::CRelativeFrame(SourceFinder findSources, QWidget* parent)
    : CChildFrame(ChildKind::Relative, parent), m_findSources(std::move(findSources)),
      m_readout(std::chrono::milliseconds(static_cast<int>(kFirstCycleMs))) {
    auto* view = new QWidget(this);
    auto* layout = new QVBoxLayout(view);
    layout->addWidget(BuildControls());
    m_value = new QLabel(view);
    QFont big = m_value->font();
    big.setPointSize(kValuePoints);
    big.setBold(true);
    m_value->setFont(big);
    m_value->setAlignment(Qt::AlignCenter);
    // Its width follows the window; the font follows its width.
    m_value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_value->installEventFilter(this);
    layout->addWidget(m_value);
    m_details = new QLabel(view);
    m_details->setAlignment(Qt::AlignCenter);
    m_details->setWordWrap(true);
    layout->addWidget(m_details);
    m_graph = new CRelativeGraph(m_readout, view);
    layout->addWidget(m_graph, 1);
    // A window squeezed by tiling clips the screen rather than laying its controls over each other.
    view->setMinimumSize(layout->minimumSize());
    setWidget(view);
    setWindowTitle(Text("S_RELATIVE_TITLE"));
    ApplyLimits();
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CRelativeFrame::Follow);
    m_timer->start(kFollowMs);
    Follow();
    ChooseSensors(0, 1);
}

CRelativeFrame::~CRelativeFrame() {
    Detach(CRelativePairing::SideA);
    Detach(CRelativePairing::SideB);
}

QWidget* CRelativeFrame::BuildControls() {
    auto* controls = new QWidget(this);
    // Short rows, so that the screen still shows every control, and each sensor's whole name,
    // when it shares the window.
    auto* grid = new QGridLayout(controls);
    for (int side = 0; side < 2; ++side) {
        grid->addWidget(new QLabel(Text(side == 0 ? "S_RELATIVE_SENSOR_A" : "S_RELATIVE_SENSOR_B"), controls),
                        side, 0);
        m_sensorBoxes[side] = new QComboBox(controls);
        m_sensorBoxes[side]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        grid->addWidget(m_sensorBoxes[side], side, 1, Qt::AlignLeft);
    }
    auto* channelRow = new QHBoxLayout;
    channelRow->addWidget(new QLabel(Text("S_RELATIVE_CHANNEL"), controls));
    m_channelBox = new QComboBox(controls);
    m_channelBox->addItems({QStringLiteral("AVG"), QStringLiteral("PEAK"), QStringLiteral("PULSE")});
    channelRow->addWidget(m_channelBox);
    m_unitBox = new QComboBox(controls);
    m_unitBox->addItems({QStringLiteral("dB"), QStringLiteral("%")});
    channelRow->addWidget(m_unitBox);
    auto* exportButton = new QPushButton(Text("S_RELATIVE_EXPORT"), controls);
    channelRow->addWidget(exportButton);
    channelRow->addStretch(1);
    grid->addLayout(channelRow, 2, 0, 1, 2);
    auto* row = new QHBoxLayout;
    grid->addLayout(row, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    m_limitBox = new QCheckBox(Text("S_RELATIVE_LIMITS"), controls);
    row->addWidget(m_limitBox);
    m_lowBox = new QDoubleSpinBox(controls);
    m_highBox = new QDoubleSpinBox(controls);
    for (QDoubleSpinBox* box : {m_lowBox, m_highBox}) {
        box->setRange(-1000.0, 100000.0);
        box->setDecimals(2);
        row->addWidget(box);
    }
    m_lowBox->setValue(-60.0);
    m_highBox->setValue(60.0);
    m_alarmBox = new QCheckBox(Text("S_RELATIVE_ALARM"), controls);
    row->addWidget(m_alarmBox);
    row->addStretch(1);
    connect(exportButton, &QPushButton::clicked, this, &CRelativeFrame::ExportCsv);
    const auto limitsChanged = [this] { ApplyLimits(); };
    connect(m_limitBox, &QCheckBox::toggled, this, limitsChanged);
    connect(m_alarmBox, &QCheckBox::toggled, this, limitsChanged);
    connect(m_lowBox, &QDoubleSpinBox::valueChanged, this, limitsChanged);
    connect(m_highBox, &QDoubleSpinBox::valueChanged, this, limitsChanged);
    connect(m_unitBox, &QComboBox::currentIndexChanged, this, [this](int unit) {
        m_readout.SetUnit(unit == 0 ? CRelativeReadout::Unit::Db : CRelativeReadout::Unit::Percent);
        Refresh();
    });
    // Another channel or sensor is another measurement: its pairs start afresh.
    const auto sourcesChanged = [this] {
        Detach(CRelativePairing::SideA);
        Detach(CRelativePairing::SideB);
        m_intervalMs = {0.0, 0.0};
        Follow();
    };
    connect(m_channelBox, &QComboBox::currentIndexChanged, this, sourcesChanged);
    for (QComboBox* box : m_sensorBoxes)
        connect(box, &QComboBox::activated, this, sourcesChanged);
    return controls;
}

void CRelativeFrame::ChooseSensors(int a, int b) {
    for (int side = 0; side < 2; ++side) {
        const int wanted = side == 0 ? a : b;
        if (wanted < m_sensorBoxes[side]->count())
            m_sensorBoxes[side]->setCurrentIndex(wanted);
    }
    Detach(CRelativePairing::SideA);
    Detach(CRelativePairing::SideB);
    Follow();
}

void CRelativeFrame::SetLimits(bool on, double low, double high, bool alarm) {
    m_lowBox->setValue(low);
    m_highBox->setValue(high);
    m_limitBox->setChecked(on);
    m_alarmBox->setChecked(alarm);
    ApplyLimits();
    Refresh();
}

ChildKind CRelativeFrame::SourceScreen() const {
    return m_channelBox->currentIndex() == 2 ? ChildKind::Pulse : ChildKind::Measurement;
}

int CRelativeFrame::RecordChannel() const {
    static constexpr int channels[] = {ChannelAvg, ChannelPeak, ChannelPulse};
    return channels[std::clamp(m_channelBox->currentIndex(), 0, 2)];
}

void CRelativeFrame::Follow() {
    m_sources = m_findSources(SourceScreen());
    for (int side = 0; side < 2; ++side) {
        QComboBox* box = m_sensorBoxes[side];
        const int chosen = box->currentIndex();
        if (box->count() != static_cast<int>(m_sources.size())) {
            box->clear();
            for (const SRelativeSource& source : m_sources)
                box->addItem(source.name);
            box->setCurrentIndex(std::min(chosen < 0 ? side : chosen, box->count() - 1));
        }
        const int index = box->currentIndex();
        CScreenFrame* screen =
            index >= 0 ? m_sources[static_cast<std::size_t>(index)].screen.data() : nullptr;
        if (screen != m_attached[side])
            Attach(side, screen);
    }
    const std::string a = m_sensorBoxes[0]->currentText().toStdString();
    const std::string b = m_sensorBoxes[1]->currentText().toStdString();
    m_readout.SetNames(a, b);
    const double slower = std::max({m_intervalMs[0], m_intervalMs[1], 1.0});
    m_readout.SetCycle(std::chrono::milliseconds(static_cast<int>(
        (m_intervalMs[0] > 0 && m_intervalMs[1] > 0 ? slower : kFirstCycleMs) * kCycleSpare)));
    m_readout.Tick(Clock::now());
    Refresh();
}

void CRelativeFrame::Attach(int side, CScreenFrame* screen) {
    Detach(side);
    m_attached[side] = screen;
    if (screen == nullptr)
        return;
    screen->Controller().Recording().Records().SetObserver(this, [this, side](int channel, float value) {
        if (channel == RecordChannel())
            OnValue(side, value);
    });
}

void CRelativeFrame::Detach(int side) {
    if (m_attached[side])
        m_attached[side]->Controller().Recording().Records().RemoveObserver(this);
    m_attached[side] = nullptr;
    m_readout.OnReading(static_cast<CRelativePairing::Side>(side), std::nullopt, Clock::now());
}

void CRelativeFrame::OnValue(int side, float value) {
    const Clock::time_point now = Clock::now();
    if (m_lastReadingAt[side] != Clock::time_point{}) {
        const double interval =
            std::chrono::duration<double, std::milli>(now - m_lastReadingAt[side]).count();
        // Smoothed, so that one late reading does not make every partner fresh.
        m_intervalMs[side] = m_intervalMs[side] > 0 ? 0.8 * m_intervalMs[side] + 0.2 * interval : interval;
    }
    m_lastReadingAt[side] = now;
    // A row without a reading (the sensor was lost) is no value.
    const std::optional<float> reading = std::isnan(value) ? std::nullopt : std::optional<float>(value);
    m_readout.OnReading(static_cast<CRelativePairing::Side>(side), reading, now);
    if (side == CRelativePairing::SideB)
        m_readout.IsAlarm(now, true);
}

bool CRelativeFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_value && event->type() == QEvent::Resize)
        FitValueFont();
    return CChildFrame::eventFilter(watched, event);
}

// The big figure takes the largest size, up to its own, at which the widest value fits.
void CRelativeFrame::FitValueFont() {
    static const QString widest = QStringLiteral("B - A  -100.00 dB");
    QFont font = m_value->font();
    int points = kValuePoints;
    for (; points > kMinValuePoints; --points) {
        font.setPointSize(points);
        if (QFontMetrics(font).horizontalAdvance(widest) <= m_value->contentsRect().width())
            break;
    }
    font.setPointSize(points);
    if (font != m_value->font())
        m_value->setFont(font);
}

QString CRelativeFrame::ValueText() const {
    const bool percent = m_readout.GetUnit() == CRelativeReadout::Unit::Percent;
    return QStringLiteral("B - A  ") + Number(m_readout.Current(Clock::now()), percent ? "%" : "dB");
}

void CRelativeFrame::Refresh() {
    const Clock::time_point now = Clock::now();
    m_value->setText(ValueText());
    const std::optional<float> current = m_readout.Current(now);
    const RangeLimitItem& limits = m_readout.Limits();
    const bool outside =
        current && limits.limitEnabled && (*current < limits.lowLimit || *current > limits.highLimit);
    // Red outside the limits, green inside, grey while there is no value to judge.
    m_value->setStyleSheet(!current  ? QStringLiteral("color: gray")
                           : outside ? QStringLiteral("color: red")
                                     : QStringLiteral("color: green"));
    const CRecordStore& records = m_readout.Records();
    const CRelativeReadout::Unit unit = m_readout.GetUnit();
    const auto shown = [&](float db) { return CRelativeReadout::InUnit(db, unit); };
    const bool extremes = records.HasExtremes(ChannelAvg);
    const char* unitText = unit == CRelativeReadout::Unit::Percent ? "%" : "dB";
    m_details->setText(
        QStringLiteral("A %1    B %2    Ref %3    Min %4    Max %5    %6 rows")
            .arg(
                Number(m_readout.Fresh(CRelativePairing::SideA, now), "dBm"),
                Number(m_readout.Fresh(CRelativePairing::SideB, now), "dBm"),
                Number(extremes ? std::optional(shown(records.Reference(ChannelAvg))) : std::nullopt,
                       unitText),
                Number(extremes ? std::optional(shown(records.Minimum(ChannelAvg))) : std::nullopt, unitText),
                Number(extremes ? std::optional(shown(records.Maximum(ChannelAvg))) : std::nullopt, unitText))
            .arg(m_readout.RowCount()));
    m_graph->update();
}

void CRelativeFrame::ApplyLimits() {
    RangeLimitItem& limits = m_readout.Limits();
    limits.limitEnabled = m_limitBox->isChecked();
    limits.alarmOn = m_alarmBox->isChecked();
    limits.lowLimit = static_cast<float>(m_lowBox->value());
    limits.highLimit = static_cast<float>(m_highBox->value());
}

void CRelativeFrame::Start() {
    if (m_readout.IsRunning())
        return;
    if (m_readout.HasUnsavedRows() &&
        CMessageBoxes::FromKey(this, "S_MEASUREVIEW_ONMEASURESTART", MB_YESNOQUESTION) == IDYES &&
        !SaveWithDialog())
        return;
    m_readout.Start();
    // The sensors' own screens measure for it; one Start sets them going.
    for (const QPointer<CScreenFrame>& screen : m_attached)
        if (screen && !screen->Controller().IsRunning())
            screen->OnCommand(ID_MEASURE_START);
}

bool CRelativeFrame::OnCommand(int id) {
    switch (id) {
    case ID_MEASURE_START:
        Start();
        return true;
    case ID_MEASURE_STOP:
        m_readout.Stop();
        return true;
    case ID_MEASURE_RESET:
        if (CMessageBoxes::FromKey(this, "S_MEASUREVIEW_ONMEASURERESET", MB_YESNOQUESTION) == IDYES) {
            const bool running = m_readout.IsRunning();
            m_readout.Start();
            if (!running)
                m_readout.Stop();
        }
        return true;
    case ID_FILE_SAVE:
        SaveWithDialog();
        return true;
    default:
        return false;
    }
}

bool CRelativeFrame::OnUpdateCommand(int id, CCommandState& state) {
    switch (id) {
    case ID_MEASURE_START:
        state.Enable(true);
        state.SetCheck(m_readout.IsRunning());
        return true;
    case ID_MEASURE_STOP:
        state.Enable(true);
        state.SetCheck(!m_readout.IsRunning());
        return true;
    case ID_MEASURE_RESET:
        state.Enable(true);
        return true;
    case ID_FILE_SAVE:
        state.Enable(!m_readout.IsRunning() && m_readout.HasUnsavedRows());
        return true;
    case ID_DEVICE_SETTING:
        state.Enable(false); // its settings are on the screen itself
        return true;
    default:
        return false;
    }
}

bool CRelativeFrame::OfferToSave() {
    if (!m_readout.HasUnsavedRows())
        return true;
    switch (CMessageBoxes::FromKey(this, "S_SCREEN_ONDISCARD", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        m_readout.Stop();
        return SaveWithDialog();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void CRelativeFrame::ForgetMeasurement() {
    m_readout.Stop();
}

bool CRelativeFrame::SaveWithDialog() {
    const int b = m_sensorBoxes[1]->currentIndex();
    if (b < 0 || m_sources[static_cast<std::size_t>(b)].profile == nullptr)
        return false;
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                      QStringLiteral("PSH files(*.psh);;All files(*.*)"));
    if (path.isEmpty())
        return false;
    std::string error;
    if (m_readout.SaveHistory(CCorePath::FromQt(path), *m_sources[static_cast<std::size_t>(b)].profile,
                              &error))
        return true;
    CMessageBoxes::FromKey(this, "S_MEASUREVIEW_ONFILESAVE", MB_ICONSTOP);
    return false;
}

void CRelativeFrame::ExportCsv() {
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                      QStringLiteral("CSV files(*.csv);;All files(*.*)"));
    if (!path.isEmpty() && !m_readout.ExportCsv(CCorePath::FromQt(path)))
        CMessageBoxes::FromKey(this, "S_MEASUREVIEW_ONFILESAVE", MB_ICONSTOP);
}
