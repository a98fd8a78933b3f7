#include "cli/CCliDrawHelper.h"

#include "cli/CCliOptions.h"
#include "platform/CAppPaths.h"

#include <ostream>

namespace {
const std::vector<std::string> kBitmapWords = {"history", "bmp"};
const std::vector<std::string> kReportWords = {"history", "report"};

std::string HelperPath() {
#ifdef _WIN32
    const std::string suffix = ".exe";
#else
    const std::string suffix;
#endif
    return CAppPaths::Join(CAppPaths::ExecutableDirectory(), CCliDrawHelper::kProgramName + suffix);
}
} // namespace

std::vector<CliCommand> CCliDrawHelper::Commands(Handler bitmap, Handler report) {
    return {
        {kBitmapWords, "FILE OUT.bmp [--channel avg|rev|vswr|rl|par|peak|pulse] [--size WxH]",
         "Export the graph of a history file as a 32-bit bitmap, as the viewer shows it.", 2, 6,
         std::move(bitmap)},
        {kReportWords, "FILE OUT.pdf [--engineer T] [--site T] [--purpose T] [--result T] [--remark T]",
         "Write the one-page report of a history file as a PDF file.", 2, 12, std::move(report)},
    };
}

std::vector<CliCommand> CCliDrawHelper::Delegated() {
    return Commands([](const CliContext& context) { return RunHelper(kBitmapWords, context); },
                    [](const CliContext& context) { return RunHelper(kReportWords, context); });
}

int CCliDrawHelper::RunHelper(const std::vector<std::string>& words, const CliContext& context) {
    std::vector<std::string> commandLine = words;
    commandLine.insert(commandLine.end(), context.arguments.begin(), context.arguments.end());
    // The helper writes to the same streams; what this process wrote must come first.
    context.out.flush();
    context.err.flush();
    std::string error;
    const int code = RunProgram(HelperPath(), commandLine, error);
    if (code < 0)
        return CCliOptions::Fail(context, "cannot run " + HelperPath() + ": " + error);
    return code;
}
