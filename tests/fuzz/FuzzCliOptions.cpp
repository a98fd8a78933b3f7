// Command lines of any words (the input split at zero bytes) through the tool's command table
// and option parsers; no command runs, each only parses its options. Parsed numbers must lie
// within the range asked for.
#include "FuzzCheck.h"

#include "cli/CCliCcdfCommand.h"
#include "cli/CCliDeviceCommands.h"
#include "cli/CCliDispatcher.h"
#include "cli/CCliHistoryCommands.h"
#include "cli/CCliLoggingCommands.h"
#include "cli/CCliOptions.h"
#include "cli/CCliRecordCommand.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {
int ParseOnly(const CliContext& context) {
    CCliOptions::Values values;
    if (!CCliOptions::Parse(context, {"port", "count", "freq", "offset", "out", "mode"}, values))
        return 1;
    int number = 0;
    double real = 0.0;
    for (const auto& [name, value] : values) {
        if (CCliOptions::ParsePort(value, number))
            Check(number >= 0 && number <= 255);
        if (CCliOptions::ParseNumber(value, -5, 100000, number))
            Check(number >= -5 && number <= 100000);
        if (CCliOptions::ParseReal(value, -100.0, CCliOptions::kMaxFrequencyMHz, real))
            Check(std::isfinite(real) && real >= -100.0 && real <= CCliOptions::kMaxFrequencyMHz);
    }
    return 0;
}

const CCliDispatcher& Dispatcher() {
    static const CCliDispatcher dispatcher = [] {
        CCliDispatcher table;
        for (std::vector<CliCommand> commands :
             {CCliHistoryCommands::Commands(), CCliDeviceCommands::Commands(), CCliRecordCommand::Commands(),
              CCliLoggingCommands::Commands(), CCliCcdfCommand::Commands()}) {
            for (CliCommand& command : commands)
                command.run = ParseOnly;
            table.Add(commands);
        }
        return table;
    }();
    return dispatcher;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Kept across runs, so that the list grows only while longer command lines turn up.
    static std::vector<std::string> words;
    words.clear();
    const auto* const end = reinterpret_cast<const char*>(data) + size;
    for (const auto* word = reinterpret_cast<const char*>(data); words.size() < 64; ++word) {
        const auto* const wordEnd = std::find(word, end, '\0');
        words.emplace_back(word, wordEnd);
        if (wordEnd == end)
            break;
        word = wordEnd;
    }
    std::ostringstream out;
    std::ostringstream err;
    const int code = Dispatcher().Run(words, out, err);
    Check(code >= 0 && code <= CCliDispatcher::UsageError);
    Check(code == 0 || !err.str().empty());
    return 0;
}
