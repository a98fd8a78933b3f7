#include "app/CHistorySummaryFrame.h"

#include "history/CHistoryFile.h"
#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

#include <QPlainTextEdit>

namespace {

const char* const kChannelNames[kChannelCount] = {"AVG", "REV", "VSWR/PAR", "PEAK", "PULSE"};

QString Text(const HistoryHeader& header, HistoryText field) {
    return QString::fromStdString(header.Text(field));
}

} // namespace

CHistorySummaryFrame::CHistorySummaryFrame(QWidget* parent)
    : CChildFrame(ChildKind::History, parent), m_text(new QPlainTextEdit(this)) {
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::NoFocus); // leaves Ctrl+A and the other shortcuts to the frame
    m_text->setFont(QFont(QStringLiteral("Courier New")));
    setWidget(m_text);
}

bool CHistorySummaryFrame::LoadFile(const std::string& path) {
    if (!CHistoryFile::LoadHistory(path, m_data).ok)
        return false;
    m_text->setPlainText(Summarize(m_data));
    return true;
}

std::string CHistorySummaryFrame::DocumentModelName() const {
    const SensorModel* model = CModelTable::FindByName(m_data.Header().Text(HistoryText::ModelName));
    return model != nullptr ? model->name : std::string();
}

QString CHistorySummaryFrame::SummaryText() const {
    return m_text->toPlainText();
}

QString CHistorySummaryFrame::Summarize(const CHistoryData& data) {
    const HistoryHeader& header = data.Header();
    QStringList lines;
    lines << QStringLiteral("Title:        %1").arg(Text(header, HistoryText::Title))
          << QStringLiteral("Model:        %1").arg(Text(header, HistoryText::ModelName))
          << QStringLiteral("Serial:       %1").arg(Text(header, HistoryText::SerialNumber))
          << QStringLiteral("Frequency:    %1 MHz").arg(header.FrequencyX100() / 100.0, 0, 'f', 2)
          << QStringLiteral("Offset:       %1 dB").arg(header.ExternalOffset(), 0, 'f', 2)
          << QStringLiteral("Start:        %1").arg(Text(header, HistoryText::StartTime))
          << QStringLiteral("Stop:         %1").arg(Text(header, HistoryText::StopTime))
          << QStringLiteral("Interval:     %1").arg(Text(header, HistoryText::Interval))
          << QStringLiteral("Rows:         %1").arg(data.RowCount()) << QString();
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (!data.HasChannel(channel))
            continue;
        const HistoryStatistics statistics = header.Statistics(channel);
        lines << QStringLiteral("%1  min %2  max %3  avg %4")
                     .arg(QLatin1String(kChannelNames[channel]), -9)
                     .arg(statistics.minimum, 9, 'f', 2)
                     .arg(statistics.maximum, 9, 'f', 2)
                     .arg(statistics.average, 9, 'f', 2);
    }
    return lines.join(QLatin1Char('\n'));
}
