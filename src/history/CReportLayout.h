#pragma once

#include "platform/CLocalTime.h"

#include <array>
#include <string>
#include <vector>

struct ReportRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ReportRect&) const = default;
};

struct ReportPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ReportPoint&) const = default;
};

// The texts a report carries besides its graph.
struct ReportTexts {
    std::string title;
    std::string date;
    std::string engineer;
    std::string site;
    std::string purpose;
    std::string result;
    std::string remark;
    std::string conditions; // the measurement conditions line, empty when not asked for
};

class HistoryHeader;

// Where everything of the one-page report goes, in device pixels of a page W x H: every
// position is a whole number of hundredths of the page (ux = W / 100, uy = H / 100).
class CReportLayout {
public:
    enum Label {
        LabelTitle,
        LabelEngineer,
        LabelDate,
        LabelSite,
        LabelPurpose,
        LabelData,
        LabelResult,
        LabelRemark,
        LabelCount
    };
    enum Value { ValueTitle, ValueEngineer, ValueDate, ValueSite, ValueCount };
    enum Box { BoxPurpose, BoxResult, BoxRemark, BoxCount };

    CReportLayout(int pageWidth, int pageHeight);

    // The report's title: the history's own, or "History Graph" for a history without one.
    static std::string DefaultTitle(const std::string& historyTitle);
    // " 2024,03,01 PM 2:05": year, month, day, AM/PM and the hour 1-12 without leading zero.
    static std::string DateText(const LocalTimeFields& time);
    // Model, serial number, frequency, offset, interval, start and stop time and row count.
    static std::string ConditionsText(const HistoryHeader& header, int rowCount);

    int UnitX() const { return m_ux; }
    int UnitY() const { return m_uy; }
    // The page outline, the header block's lines and cells, and the three text boxes.
    std::vector<ReportRect> Frames() const;
    ReportPoint Heading() const;
    int HeadingHeight() const { return 3 * m_uy; }
    ReportPoint LabelAt(Label label) const;
    static const char* LabelText(Label label);
    ReportPoint ValueAt(Value value) const;
    ReportRect BoxAt(Box box) const;
    // A box shrunk by 2ux left and right and uy top and bottom: where its text wraps.
    ReportRect TextArea(Box box) const;
    ReportRect GraphArea() const;
    // Below the "Data" label, above the graph: one line.
    ReportRect ConditionsArea() const;

private:
    int m_width;
    int m_height;
    int m_ux;
    int m_uy;
};
