#include "cli/CCliHistoryExports.h"

#include "cli/CCliDrawHelper.h"
#include "cli/CCliOptions.h"
#include "gui/history/CGraphCtrl.h"
#include "gui/history/CReportPage.h"
#include "history/CHistoryChannelCommands.h"
#include "history/CHistoryDocument.h"
#include "history/CReportLayout.h"
#include "platform/CLocalTime.h"

#include <QApplication>

#include <array>
#include <cstdio>
#include <memory>
#include <ostream>
#include <utility>

namespace {
const std::array<std::pair<const char*, CHistoryChannelCommands::Command>, 7> kChannels = {{
    {"avg", CHistoryChannelCommands::PowerAvg},
    {"rev", CHistoryChannelCommands::PowerRev},
    {"vswr", CHistoryChannelCommands::Vswr},
    {"rl", CHistoryChannelCommands::ReturnLoss},
    {"par", CHistoryChannelCommands::Par},
    {"peak", CHistoryChannelCommands::PowerPeak},
    {"pulse", CHistoryChannelCommands::PowerPulse},
}};

// The arguments after FILE and OUT as "--name value" options.
bool ParseOptions(const CliContext& context, const std::vector<std::string>& known,
                  CCliOptions::Values& values) {
    const std::vector<std::string> options(context.arguments.begin() + 2, context.arguments.end());
    return CCliOptions::Parse(CliContext{options, context.out, context.err}, known, values);
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && CCliOptions::ParseNumber(text.substr(0, x), 1, 10000, width) &&
           CCliOptions::ParseNumber(text.substr(x + 1), 1, 10000, height);
}

bool SelectChannel(const CliContext& context, const CHistoryDocument& document, const std::string& name,
                   CHistoryChannelCommands::Target& target) {
    for (const auto& [channelName, command] : kChannels) {
        if (name != channelName)
            continue;
        if (!CHistoryChannelCommands::IsEnabled(command, document.ModelNumber(), document.Header().Mask())) {
            CCliOptions::Fail(context, "the history has no " + name + " channel");
            return false;
        }
        target = CHistoryChannelCommands::TargetOf(command);
        return true;
    }
    CCliOptions::Fail(context, "unknown channel '" + name + "' (avg, rev, vswr, rl, par, peak or pulse)");
    return false;
}

// The graph the viewer shows for the document, at the given size.
std::unique_ptr<CGraphCtrl> GraphOf(const CHistoryDocument& document, int width, int height) {
    auto graph = std::make_unique<CGraphCtrl>();
    graph->setAttribute(Qt::WA_DontShowOnScreen);
    graph->resize(width, height);
    graph->SetChannel(document.ModelNumber(), document.Channel(), document.ReturnLoss());
    graph->ShowHistory(document.ModelNumber(), &document.Header(), document.Data().Values().data(),
                       document.Data().RowCount(), document.ReturnLoss());
    return graph;
}
} // namespace

std::vector<CliCommand> CCliHistoryExports::Commands() {
    return CCliDrawHelper::Commands(Bitmap, Report);
}

int CCliHistoryExports::Bitmap(const CliContext& context) {
    CCliOptions::Values options;
    if (!ParseOptions(context, {"channel", "size"}, options))
        return 1;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    if (options.count("size") && !ParseSize(options["size"], width, height))
        return CCliOptions::Fail(context, "the size must be WIDTHxHEIGHT, each 1 to 10000");
    CHistoryDocument document;
    if (!Load(context, document))
        return 1;
    if (options.count("channel")) {
        CHistoryChannelCommands::Target target{};
        if (!SelectChannel(context, document, options["channel"], target))
            return 1;
        document.ShowChannel(target.channel, target.returnLoss);
    }
    EnsureApplication();
    std::string error;
    if (!GraphOf(document, width, height)->ExportBitmap(context.arguments[1], &error))
        return CCliOptions::Fail(context, error);
    return 0;
}

int CCliHistoryExports::Report(const CliContext& context) {
    CCliOptions::Values options;
    if (!ParseOptions(context, {"engineer", "site", "purpose", "result", "remark"}, options))
        return 1;
    CHistoryDocument document;
    if (!Load(context, document))
        return 1;
    ReportTexts texts;
    texts.title = CReportLayout::DefaultTitle(document.Header().Text(HistoryText::Title));
    texts.date = CReportLayout::DateText(CLocalTime::Fields(CLocalTime::Now()));
    texts.engineer = options["engineer"];
    texts.site = options["site"];
    texts.purpose = options["purpose"];
    texts.result = options["result"];
    texts.remark = options["remark"];
    EnsureApplication();
    const GraphContent content = GraphOf(document, kDefaultWidth, kDefaultHeight)->Content();
    std::string error;
    if (!CReportPage::WritePdf(context.arguments[1], texts, &content, &error))
        return CCliOptions::Fail(context, error);
    return 0;
}

bool CCliHistoryExports::Load(const CliContext& context, CHistoryDocument& document) {
    const std::string& path = context.arguments[0];
    const HistoryLoadResult result = document.Load(path);
    if (!result.ok)
        CCliOptions::Fail(context, path + ": " + result.error);
    return result.ok;
}

void CCliHistoryExports::EnsureApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pelmora-cli";
    static char* argv[] = {name, nullptr};
    // Left to the end of the process: tearing Qt down from a static destructor is not safe.
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}
