#include "gui/history/CHistoryView.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/history/CChangeTitleDlg.h"
#include "gui/history/CDlg_AutoScale.h"
#include "gui/history/CGraphCtrl.h"
#include "gui/history/CReportGenDlg.h"
#include "gui/history/CReportPage.h"
#include "gui/history/CReportPrintDlg.h"
#include "history/CHistoryFile.h"

#include "support/CAppTestSandbox.h"
#include "support/CTempDirectory.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
class HistoryViewTest : public ::testing::Test {
protected:
    HistoryViewTest() {
        m_view.resize(600, 400);
        m_view.show();
        m_view.SetPathChooser(
            [this](const QString&, const QString&) { return CHistoryView::ChosenFile(m_chosen, m_filter); });
    }

    // Model 0 (AVG, VSWR, PEAK) with AVG values 0, 1, ... dBm.
    std::string WriteHistory(const std::string& name, int rows = 10) {
        HistoryHeader header;
        header.SetMask(0x13);
        header.SetText(HistoryText::ModelName, "VL-D030");
        header.SetText(HistoryText::Interval, "500 ms");
        header.SetText(HistoryText::StartTime, "2024-03-01 10:00:00");
        header.SetStatistics(0, {-10.0f, 10.0f, 1.0f});
        header.SetDisplayRange(0, {-20.0f, 20.0f});
        std::vector<int32_t> values;
        for (int row = 0; row < rows; ++row)
            values.insert(values.end(), {row * 100, 150, row * 100 + 300});
        const std::string path = m_sandbox.Path(name);
        EXPECT_TRUE(CHistoryFile::SaveHistoryRaw(path, CHistoryData(header, values)));
        return path;
    }

    CCommandState State(int id) {
        CCommandState state;
        m_view.OnUpdateCommand(id, state);
        return state;
    }

    CAppTestSandbox m_sandbox;
    CHistoryView m_view;
    QString m_chosen;
    int m_filter = 0;
};
} // namespace

TEST_F(HistoryViewTest, ChannelCommandsFollowTheFileAndMarkItModified) {
    const std::string path = WriteHistory("run.psh");
    const std::vector<uint8_t> original = CTempDirectory::ReadBytes(path);
    ASSERT_TRUE(m_view.Load(path));
    EXPECT_EQ(m_view.Graph()->GetChannel(), 0);
    EXPECT_FALSE(State(ID_FILE_SAVE).enabled);
    EXPECT_TRUE(State(ID_VIEW_AVG).checked);
    EXPECT_FALSE(State(ID_VIEW_PULSE).enabled);
    EXPECT_FALSE(State(ID_VIEW_PAR).enabled);

    ASSERT_TRUE(m_view.OnCommand(ID_VIEW_RL));
    EXPECT_EQ(m_view.Graph()->GetChannel(), 2);
    EXPECT_TRUE(State(ID_VIEW_RL).checked);
    EXPECT_FALSE(State(ID_VIEW_VSWR).checked);
    EXPECT_EQ(m_view.Graph()->View().unit, "dB");
    ASSERT_TRUE(State(ID_FILE_SAVE).enabled);
    m_view.OnCommand(ID_FILE_SAVE);
    EXPECT_FALSE(State(ID_FILE_SAVE).enabled);
    EXPECT_EQ(CTempDirectory::ReadBytes(path), original);
    EXPECT_TRUE(m_sandbox.Messages().Texts().empty());

    QMenu* menu = m_view.ContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->actions().isEmpty());
}

TEST_F(HistoryViewTest, ExportsAskBeforeReplacingAFile) {
    const std::string path = WriteHistory("run.psh");
    const std::vector<uint8_t> original = CTempDirectory::ReadBytes(path);
    ASSERT_TRUE(m_view.Load(path));

    m_chosen = QString::fromStdString(path);
    m_sandbox.Messages().answer = IDNO;
    m_view.OnCommand(ID_EXPORT_CSV);
    ASSERT_EQ(m_sandbox.Messages().Texts().size(), 1u);
    EXPECT_EQ(m_sandbox.Messages().Texts()[0], CAppTestSandbox::GeneralText("S_HISTORYVIEW_REPLACE_OPEN"));
    EXPECT_EQ(CTempDirectory::ReadBytes(path), original);

    const std::string bitmap = m_sandbox.Path("graph.bmp");
    CTempDirectory::WriteBytes(bitmap, {1});
    m_chosen = QString::fromStdString(bitmap);
    m_view.OnCommand(ID_EXPORT_JPG);
    EXPECT_EQ(CTempDirectory::ReadBytes(bitmap).size(), 1u);
    m_sandbox.Messages().answer = IDYES;
    m_view.OnCommand(ID_EXPORT_JPG);
    EXPECT_EQ(CTempDirectory::ReadBytes(bitmap).size(), 54u + 600u * 400u * 4u);
    EXPECT_EQ(m_sandbox.Messages().Texts().back(), CAppTestSandbox::GeneralText("S_HISTORYVIEW_REPLACE"));
}

TEST_F(HistoryViewTest, FailedWritesAreReported) {
    ASSERT_TRUE(m_view.Load(WriteHistory("run.psh")));
    m_chosen = QString::fromStdString(m_sandbox.Path("missing/copy.psh"));
    m_view.OnCommand(ID_FILE_SAVE_AS);
    m_chosen = QString::fromStdString(m_sandbox.Path("missing/copy.csv"));
    m_view.OnCommand(ID_EXPORT_CSV);
    EXPECT_EQ(m_sandbox.Messages().Texts(),
              (std::vector<std::string>{CAppTestSandbox::GeneralText("S_HISTORYVIEW_ONFILESAVEAS"),
                                        CAppTestSandbox::GeneralText("S_HISTORYVIEW_ONEXPORTTOCSV")}));
}

TEST_F(HistoryViewTest, RangeStatisticsAndZoom) {
    ASSERT_TRUE(m_view.Load(WriteHistory("run.psh")));
    m_view.SelectRange(5.0, 2.0);
    ASSERT_TRUE(m_view.Selection());
    EXPECT_EQ(m_view.Selection()->count, 4);
    EXPECT_DOUBLE_EQ(m_view.Selection()->minimum, 2.0);
    EXPECT_DOUBLE_EQ(m_view.Selection()->maximum, 5.0);
    EXPECT_DOUBLE_EQ(*m_view.Selection()->durationSeconds, 2.0);
    EXPECT_TRUE(m_view.RangeText().startsWith(QStringLiteral("2 - 5 (4 samples, 2.0 s)")))
        << m_view.RangeText().toStdString();

    m_view.ZoomToRange();
    EXPECT_TRUE(m_view.IsZoomed());
    EXPECT_EQ(m_view.Graph()->Graph().Scale().XMinimum(), 2.0f);
    EXPECT_EQ(m_view.Graph()->Graph().Scale().XMaximum(), 6.0f);
    // What is shown is described: the stretch's statistics and times, not the whole history's.
    const GraphView& zoomed = m_view.Graph()->View();
    EXPECT_NE(zoomed.series.subtitle.find("5.00 dBm"), std::string::npos) << zoomed.series.subtitle;
    EXPECT_EQ(zoomed.series.subtitle.find("10.00 dBm"), std::string::npos) << zoomed.series.subtitle;
    EXPECT_NEAR(zoomed.average, 3.64, 0.01); // linear mean of 2..5 dBm
    EXPECT_EQ(zoomed.xStartLabel, "2024-03-01 10:00:01");
    EXPECT_EQ(zoomed.xEndLabel, "2024-03-01 10:00:03");
    const std::string csv = m_sandbox.Path("shown.csv");
    m_chosen = QString::fromStdString(csv);
    m_filter = 3; // the shown range, with times
    m_view.OnCommand(ID_EXPORT_CSV);
    const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(csv);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Rows, 4\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("2024-03-01T10:00:01.000,2.00,1.50,5.00\r\n"), std::string::npos) << text;
    m_view.ShowWholeHistory();
    EXPECT_FALSE(m_view.IsZoomed());
    EXPECT_FALSE(m_view.Selection());
    EXPECT_EQ(m_view.Graph()->Graph().Scale().XMaximum(), 10.0f);
}

TEST_F(HistoryViewTest, TitleAndScaleDialogsRefuseBadInput) {
    CChangeTitleDlg title(QStringLiteral("old"));
    EXPECT_EQ(title.Edit()->maxLength(), 30);
    title.Edit()->setText(QStringLiteral("   "));
    title.accept();
    EXPECT_EQ(title.result(), QDialog::Rejected);
    title.Edit()->setText(QString::fromUtf8("50 \xCE\xA9 load"));
    title.accept();
    EXPECT_EQ(title.result(), QDialog::Rejected);
    title.Edit()->setText(QStringLiteral("new title  "));
    title.accept();
    EXPECT_EQ(title.Title(), QStringLiteral("new title"));

    CDlg_AutoScale scale({-12.0f, 12.0f});
    // Every button reads in the fonts the program comes with, whatever else is installed.
    for (const QPushButton* button : scale.findChildren<QPushButton*>()) {
        ASSERT_FALSE(button->text().isEmpty());
        for (const QChar character : button->text())
            EXPECT_TRUE(QFontMetrics(button->font()).inFont(character)) << button->text().toStdString();
    }
    EXPECT_EQ(scale.UpperEdit()->text(), QStringLiteral("12.00"));
    EXPECT_FALSE(scale.UpperEdit()->isEnabled());
    scale.AutoBox()->setChecked(false);
    for (const char* bad : {"abc", "inf", "1e30"}) {
        scale.UpperEdit()->setText(QString::fromLatin1(bad));
        scale.accept();
        EXPECT_EQ(scale.result(), QDialog::Rejected) << bad;
    }
    scale.UpperEdit()->setText(QStringLiteral("-12"));
    scale.accept();
    EXPECT_EQ(scale.result(), QDialog::Rejected);
    EXPECT_EQ(
        m_sandbox.Messages().Texts(),
        (std::vector<std::string>{CAppTestSandbox::GeneralText("S_IDD_CHANGETITLE_ONOK"),
                                  CStringTable::FillPlaceholder(
                                      CAppTestSandbox::GeneralText("S_TITLE_UNSTORABLE"), "%1", "\xCE\xA9"),
                                  CAppTestSandbox::GeneralText("S_IDD_SETTING_INVALID_NUMBER"),
                                  CAppTestSandbox::GeneralText("S_IDD_SETTING_INVALID_NUMBER"),
                                  CAppTestSandbox::GeneralText("S_HISTORYVIEW_ONCHANGESCALE"),
                                  CAppTestSandbox::GeneralText("S_IDD_SETTING_ONOK_IDRNG")}));
    scale.UpperEdit()->setText(QStringLiteral("30"));
    scale.accept();
    EXPECT_EQ(scale.Range().upper, 30.0f);
    EXPECT_EQ(scale.Range().lower, -12.0f);
}

TEST_F(HistoryViewTest, PrintingIsCancelledOrFailsWithoutClaimingSuccess) {
    ASSERT_TRUE(m_view.Load(WriteHistory("run.psh")));
    const GraphContent graph = m_view.Graph()->Content();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(m_sandbox.Path("printed.pdf")));
    std::atomic<bool> cancel{true};
    EXPECT_EQ(CReportPage::Print(printer, {}, &graph, cancel), CReportPage::Outcome::Cancelled);
    cancel = false;
    EXPECT_EQ(CReportPage::Print(printer, {}, &graph, cancel), CReportPage::Outcome::Printed);
    EXPECT_GT(CTempDirectory::ReadBytes(m_sandbox.Path("printed.pdf")).size(), 1000u);
    printer.setOutputFileName(QString::fromStdString(m_sandbox.Path("missing/printed.pdf")));
    EXPECT_EQ(CReportPage::Print(printer, {}, &graph, cancel), CReportPage::Outcome::Failed);

    // The worker prints from the dialog's own copy and is joined, never left running; the
    // viewer's graph keeps its screen layout and colours.
    const CGraphScale shownScale = m_view.Graph()->Graph().Scale();
    printer.setOutputFileName(QString::fromStdString(m_sandbox.Path("dialog.pdf")));
    CReportPrintDlg dialog(&printer, graph, {});
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.Outcome(), CReportPage::Outcome::Printed);
    EXPECT_EQ(m_view.Graph()->Graph().Scale().Width(), shownScale.Width());
    EXPECT_EQ(m_view.Graph()->Graph().Scale().LineHeight(), shownScale.LineHeight());
    EXPECT_EQ(m_view.Graph()->Graph().ColourSet().background, QColor(28, 61, 114));
    CReportPrintDlg withoutPrinter(nullptr, graph, {});
    EXPECT_EQ(withoutPrinter.exec(), QDialog::Rejected);
}

TEST_F(HistoryViewTest, PrintWithoutAPrinterSaysSo) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is set up here";
    ASSERT_TRUE(m_view.Load(WriteHistory("run.psh")));
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<CReportGenDlg*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    m_view.OnCommand(ID_FILE_REPORT);
    ASSERT_FALSE(m_sandbox.Messages().Texts().empty());
    EXPECT_EQ(m_sandbox.Messages().Texts().back(), CAppTestSandbox::GeneralText("S_REPORT_NO_PRINTER"));
}

TEST_F(HistoryViewTest, ReportCarriesTheConditionsOnlyWhenAskedTo) {
    CReportGenDlg dialog(QStringLiteral("title"), nullptr);
    dialog.OfferConditions("Model VL-D030");
    EXPECT_EQ(dialog.Texts().conditions, "");
    dialog.ConditionsBox()->setChecked(true);
    EXPECT_EQ(dialog.Texts().conditions, "Model VL-D030");
}

TEST_F(HistoryViewTest, ReportDialogKeepsEngineerAndSiteAndNamesItsPrinter) {
    const QTemporaryDir settings;
    // Windows' registry cannot be redirected into the folder; an INI file can, on every system.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    {
        CReportGenDlg first(QStringLiteral("Run"), {});
        first.EngineerEdit()->setText(QStringLiteral("K. Ito"));
        first.SiteEdit()->setText(QStringLiteral("Lab 2"));
        first.accept();
    }
    CReportGenDlg next(QStringLiteral("Run"), {});
    EXPECT_EQ(next.EngineerEdit()->text(), QStringLiteral("K. Ito"));
    EXPECT_EQ(next.SiteEdit()->text(), QStringLiteral("Lab 2"));
    QSettings::setDefaultFormat(QSettings::NativeFormat);

    // Print setup's "print to file" has no printer name: the caption names the file instead.
    auto toFile = std::make_unique<QPrinter>();
    toFile->setOutputFormat(QPrinter::PdfFormat);
    toFile->setOutputFileName(QString::fromStdString(m_sandbox.Path("chart.pdf")));
    next.UsePrinter(std::move(toFile));
    EXPECT_EQ(next.windowTitle(), QStringLiteral("Print Chart - chart.pdf"));
}
