#include "cli/CCliHistoryCommands.h"

#include "history/CHistoryChannels.h"
#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/CModelTable.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

namespace {
std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string MaskText(uint8_t mask) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", mask);
    return text;
}

std::string ChannelName(int channel, int modelNumber) {
    static const char* const names[CHistoryChannels::Count] = {"AVG", "REV", "VSWR", "PEAK", "PULSE"};
    return channel == 2 && CModelTable::ReportsPar(modelNumber) ? "PAR" : names[channel];
}

// A value of the channel table: "none" where the file holds no number for it.
std::string Cell(bool meaningful, float value) {
    return meaningful && std::isfinite(value) ? Fixed(value, 2) : "none";
}

void PrintField(std::ostream& out, const char* label, const std::string& value) {
    out << label << ": " << value << "\n";
}
} // namespace

std::vector<CliCommand> CCliHistoryCommands::Commands() {
    return {
        {{"history", "info"},
         "FILE",
         "Print the header fields and the row count of a history file.",
         1,
         1,
         Info},
        {{"history", "csv"},
         "FILE OUT.csv [--time]",
         "Export a history file as CSV; --time adds each row's time and the offset, interval and row "
         "count.",
         2,
         3,
         Csv},
    };
}

int CCliHistoryCommands::Info(const CliContext& context) {
    CHistoryData data;
    bool legacy = false;
    if (!Load(context, data, legacy))
        return 1;
    const HistoryHeader& header = data.Header();
    std::ostream& out = context.out;
    const int model = data.ModelNumber();
    PrintField(out, "Layout", legacy ? "older (244-byte header, converted)" : "current (216-byte header)");
    std::string channels;
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        if (data.HasChannel(channel))
            channels += " " + ChannelName(channel, model);
    }
    PrintField(out, "Mask", MaskText(header.Mask()) + " (" + channels.substr(1) + ")");
    PrintField(out, "Model",
               header.Text(HistoryText::ModelName) + " (model number " + std::to_string(model) + ")");
    PrintField(out, "Serial number", header.Text(HistoryText::SerialNumber));
    PrintField(out, "Type", header.IsDirectional() ? "A (directional)" : "B (terminating)");
    PrintField(out, "Frequency", Fixed(header.FrequencyX100() / 100.0, 2) + " MHz");
    PrintField(out, "Start time", header.Text(HistoryText::StartTime));
    PrintField(out, "Stop time", header.Text(HistoryText::StopTime));
    PrintField(out, "Offset", Fixed(header.ExternalOffset(), 2) + " dB");
    PrintField(out, "Interval", header.Text(HistoryText::Interval));
    PrintField(out, "Title", header.Text(HistoryText::Title));
    PrintField(out, "Rows", std::to_string(data.RowCount()));
    PrintChannels(context, data);
    return 0;
}

int CCliHistoryCommands::Csv(const CliContext& context) {
    const bool timed = context.arguments.size() == 3;
    if (timed && context.arguments[2] != "--time") {
        context.err << "pelmora-cli: unknown option '" << context.arguments[2] << "' (--time)\n";
        return 1;
    }
    CHistoryData data;
    bool legacy = false;
    if (!Load(context, data, legacy))
        return 1;
    std::string error;
    const auto layout = timed ? CHistoryCsvWriter::Layout::WithTimeBase : CHistoryCsvWriter::Layout::Plain;
    if (!CHistoryCsvWriter::Write(context.arguments[1], data, data.ModelNumber(), &error, layout)) {
        context.err << "pelmora-cli: " << error << "\n";
        return 1;
    }
    return 0;
}

bool CCliHistoryCommands::Load(const CliContext& context, CHistoryData& data, bool& legacy) {
    const std::string& path = context.arguments[0];
    const HistoryLoadResult result = CHistoryFile::LoadHistory(path, data);
    if (!result.ok)
        context.err << "pelmora-cli: " << path << ": " << result.error << "\n";
    legacy = result.legacy;
    return result.ok;
}

void CCliHistoryCommands::PrintChannels(const CliContext& context, const CHistoryData& data) {
    const HistoryHeader& header = data.Header();
    context.out << "Channel  In file     Minimum     Maximum     Average  Range lower  Range upper\n";
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        // The statistics of a channel the file does not hold are whatever the writer left there.
        const bool held = data.HasChannel(channel);
        const HistoryStatistics statistics = header.Statistics(channel);
        const HistoryRange range = header.DisplayRange(channel);
        char line[512];
        std::snprintf(line, sizeof line, "%-8s %-7s %11s %11s %11s %12s %12s\n",
                      ChannelName(channel, data.ModelNumber()).c_str(), held ? "yes" : "no",
                      Cell(held, statistics.minimum).c_str(), Cell(held, statistics.maximum).c_str(),
                      Cell(held, statistics.average).c_str(), Cell(true, range.lower).c_str(),
                      Cell(true, range.upper).c_str());
        context.out << line;
    }
}
