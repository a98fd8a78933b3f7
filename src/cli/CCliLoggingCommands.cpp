#include "cli/CCliLoggingCommands.h"

#include "appcore/CLoggingSetup.h"
#include "cli/CCliOptions.h"
#include "cli/CCliSensor.h"
#include "history/CHistoryFile.h"
#include "history/CHistoryRecorder.h"
#include "history/CLoggedTimeBase.h"
#include "model/CRecordStore.h"
#include "platform/CAnsiText.h"
#include "protocol/CLoggingDownload.h"
#include "protocol/CMeterEngine.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>

using Options = CCliOptions::Values;

static constexpr double kMaxOffsetDb = 100.0;

std::vector<CliCommand> CCliLoggingCommands::Commands() {
    return {
        {{"logging", "start"},
         "--interval SECONDS --runtime MINUTES --channels avg,peak,rev,pulse [--freq MHZ] [--offset DB] "
         "[--port N|usb]",
         "Set the sensor's logging up as the logging page does (default port: usb).",
         6,
         12,
         Start},
        {{"logging", "clear"}, "[--port N|usb]", "Switch the sensor's logging off.", 0, 2, Clear},
        {{"logging", "status"},
         "[--port N|usb]",
         "Read the sensor's logging status (default port: usb).",
         0,
         2,
         Status},
        {{"logging", "download"},
         "--out FILE.psh [--title TEXT] [--port N|usb]",
         "Download the logged data into a history file.",
         2,
         6,
         Download},
        {{"logging", "erase"}, "[--port N|usb]", "Erase the data the sensor logged.", 0, 2, Erase},
    };
}

// A refusal of the sensor's, with the reason the engine recorded for it.
static int FailOnSensor(const CliContext& context, const CMeterEngine& engine, const std::string& text) {
    const std::string reason = CCliSensor::ExchangeFailure(engine, "");
    return CCliOptions::Fail(context, reason.empty() ? text : text + " (" + reason + ")");
}

static bool ParseWhole(const std::string& text, int32_t& number) {
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX)
        return false;
    number = static_cast<int32_t>(value);
    return true;
}

static bool ParseReal(const std::string& text, double& number) {
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(number);
}

static bool ParseChannels(const std::string& text, int32_t& mask) {
    static const std::pair<const char*, int32_t> kChannels[] = {
        {"avg", 0x01}, {"peak", 0x02}, {"rev", 0x04}, {"pulse", 0x08}};
    mask = 0;
    std::istringstream names(text);
    std::string name;
    while (std::getline(names, name, ',')) {
        int32_t bit = 0;
        for (const auto& [channelName, channelBit] : kChannels)
            if (name == channelName)
                bit = channelBit;
        if (bit == 0)
            return false;
        mask |= bit;
    }
    return !text.empty();
}

// Frequency and offset as the setting pages judge them, written into the profile.
static bool ApplyMeasurement(const CliContext& context, Options& options, CSettingProfile& profile) {
    const auto refuse = [&context](const std::string& reason) {
        CCliOptions::Fail(context, reason);
        return false;
    };
    double frequency = profile.GetFrequency();
    double offset = profile.GetExtOffset();
    if (options.count("freq") && !ParseReal(options["freq"], frequency))
        return refuse("bad frequency '" + options["freq"] + "' (MHz)");
    if (options.count("offset") && !ParseReal(options["offset"], offset))
        return refuse("bad offset '" + options["offset"] + "' (dB)");
    const SensorModel* model = profile.GetModel();
    if (!model || frequency < model->minFrequencyMHz || frequency > model->maxFrequencyMHz)
        return refuse(CCliOptions::Text("S_IDD_SETTING_ONOK_IFREQ"));
    if (offset < -kMaxOffsetDb || offset > kMaxOffsetDb)
        return refuse(CCliOptions::Text("S_IDD_SETTING_INVAL_OFFSET"));
    profile.SetFrequency(static_cast<float>(frequency));
    profile.SetExtOffset(static_cast<float>(offset));
    return true;
}

int CCliLoggingCommands::Start(const CliContext& context) {
    Options options;
    if (!CCliOptions::Parse(context, {"interval", "runtime", "channels", "freq", "offset", "port"}, options))
        return 1;
    int32_t interval = 0;
    int32_t runTime = 0;
    int32_t mask = 0;
    if (!ParseWhole(options["interval"], interval))
        return CCliOptions::Fail(context, "bad interval '" + options["interval"] + "' (seconds)");
    if (!ParseWhole(options["runtime"], runTime))
        return CCliOptions::Fail(context, "bad run time '" + options["runtime"] + "' (minutes)");
    if (!ParseChannels(options["channels"], mask))
        return CCliOptions::Fail(context, "bad channels '" + options["channels"] + "' (avg,peak,rev,pulse)");
    const CLoggingSetup::Refusal refusal = CLoggingSetup::Check(mask, interval, runTime, true);
    if (refusal != CLoggingSetup::Refusal::None)
        return CCliOptions::Fail(context, CLoggingSetup::RefusalText(refusal, mask));

    CCliSensor sensor;
    if (!sensor.Open(context, options))
        return 1;
    CSettingProfile& profile = sensor.Profile();
    if (!ApplyMeasurement(context, options, profile))
        return 1;
    profile.SetLoggingItems(mask);
    profile.SetLoggingInterval(interval);
    profile.SetLoggingRunTime(runTime);
    const CLoggingSequence::StartValues values = CLoggingSetup::StartValues(profile);
    if (!sensor.Engine().StartLogging(values))
        return FailOnSensor(context, sensor.Engine(), CCliOptions::Text("S_SETTING_WARNING_LOGGING_FAIL"));
    context.out << "logging " << values.recordCount << " records every " << interval << " s at "
                << values.frequencyHundredths / 100 << " MHz\n";
    return 0;
}

int CCliLoggingCommands::Clear(const CliContext& context) {
    Options options;
    CCliSensor sensor;
    if (!CCliOptions::Parse(context, {"port"}, options) || !sensor.Open(context, options))
        return 1;
    if (!sensor.Engine().SetLoggingMode(0))
        return FailOnSensor(context, sensor.Engine(), CCliOptions::Text("S_SETTING_WARNING_CLEAR_FAIL"));
    context.out << "logging switched off\n";
    return 0;
}

int CCliLoggingCommands::Status(const CliContext& context) {
    Options options;
    CCliSensor sensor;
    if (!CCliOptions::Parse(context, {"port"}, options) || !sensor.Open(context, options))
        return 1;
    CMeterEngine& engine = sensor.Engine();
    const auto words = engine.ReadLoggingStatus();
    if (!words)
        return FailOnSensor(context, engine, "the sensor did not report its logging status");
    char mask[8];
    std::snprintf(mask, sizeof mask, "0x%02X", static_cast<unsigned>((*words)[0] & 0xFF));
    context.out << "channels " << mask << "\n"
                << "held " << (*words)[1] << "\n"
                << "samples " << (*words)[6] << "\n"
                << "words";
    for (const int32_t word : *words)
        context.out << " " << word;
    context.out << "\n";
    return 0;
}

int CCliLoggingCommands::Download(const CliContext& context) {
    Options options;
    if (!CCliOptions::Parse(context, {"port", "out", "title"}, options))
        return 1;
    if (options["out"].empty())
        return CCliOptions::Fail(context, "--out FILE.psh is required");
    // Refused before the download, rather than stored with '?' in place of those characters.
    if (const std::string unstorable = CAnsiText::Unstorable(options["title"]); !unstorable.empty())
        return CCliOptions::Fail(context,
                                 "a history file cannot store these characters of the title: " + unstorable);
    CCliSensor sensor;
    if (!sensor.Open(context, options))
        return 1;
    CMeterEngine& engine = sensor.Engine();
    const auto words = engine.ReadLoggingStatus();
    if (!words)
        return FailOnSensor(context, engine, "the sensor did not report its logging status");
    CLoggingDownload download(engine, *words);
    if (download.HoldFlag() != 0)
        return CCliOptions::Fail(context, "the sensor holds its logged data back (status word 1 is set)");
    CRecordStore records;
    const CLoggingDownload::Result result = download.Download(records, sensor.IsSerial());
    if (result == CLoggingDownload::NothingLogged)
        return CCliOptions::Fail(context, CCliOptions::Text("S_SETTING_WARNING_DN_0_FAIL"));
    if (result == CLoggingDownload::Failed)
        return FailOnSensor(context, engine, CCliOptions::Text("S_SETTING_WARNING_DN_FAIL"));
    std::string error;
    const auto mask = static_cast<uint8_t>(download.LoggedChannelMask());
    const CSettingProfile& profile = sensor.Profile();
    CHistoryData history = CHistoryRecorder::BuildFromRecords(profile, records, mask, options["title"]);
    CLoggedTimeBase::Stamp(history.Header(), profile.GetLoggingRun(), profile.GetSerialText(),
                           history.RowCount());
    if (!CHistoryFile::SaveHistoryRaw(options["out"], history, &error))
        return CCliOptions::Fail(context,
                                 "cannot write " + options["out"] + (error.empty() ? "" : ": " + error));
    context.out << download.LoggedSampleCount() << " samples written to " << options["out"] << "\n";
    return 0;
}

int CCliLoggingCommands::Erase(const CliContext& context) {
    Options options;
    CCliSensor sensor;
    if (!CCliOptions::Parse(context, {"port"}, options) || !sensor.Open(context, options))
        return 1;
    if (!CLoggingDownload::ClearLoggedData(sensor.Engine()))
        return FailOnSensor(context, sensor.Engine(), CCliOptions::Text("S_SETTING_WARNING_CLEAR_FAIL"));
    context.out << CCliOptions::Text("S_SETTING_WARNING_CLEAR_SUCCESS") << "\n";
    return 0;
}
