#include "ccdf/CCcdfResultCsv.h"

#include "ccdf/CCcdfReference.h"
#include "ccdf/CCcdfTexts.h"
#include "history/CAtomicFile.h"
#include "model/CSettingProfile.h"
#include "platform/CAnsiText.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {
const char* const kRateTargets[] = {"100000", "200000", "500000", "1000000"};

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void Line(std::string& out, const std::string& label, const std::string& value) {
    out += label + ", " + value + "\r\n";
}
} // namespace

std::string CCcdfResultCsv::ReferencePercent(float x) {
    static const std::array<float, CCcdfReference::kPointCount> kCurve = CCcdfReference::Curve();
    const long index = std::lround(x / CCcdfReference::kStepDb);
    if (x < 0.0f || index >= static_cast<long>(kCurve.size()))
        return {};
    return Fixed(std::pow(10.0, static_cast<double>(kCurve[static_cast<size_t>(index)])) * 100.0, 6);
}

std::string CCcdfResultCsv::Format(const CCcdfResult& result, const SConditions& conditions) {
    const CSettingProfile& profile = *conditions.profile;
    const int rate = profile.GetCcdfRate();
    std::string out = "CCDF result\r\n";
    Line(out, "Model", CAnsiText::FromUtf8(profile.ModelName()));
    Line(out, "SN", CAnsiText::FromUtf8(profile.GetSerialText()));
    Line(out, "Firmware", CAnsiText::FromUtf8(profile.GetFirmwareText()));
    Line(out, "Frequency", Fixed(static_cast<double>(profile.GetFrequency()), 2));
    Line(out, "Offset", Fixed(static_cast<double>(profile.GetExtOffset()), 2));
    Line(out, "Technology", profile.TechnologyName());
    Line(out, "SampleTarget", rate >= 0 && rate <= 3 ? kRateTargets[rate] : "");
    Line(out, "Sweep", profile.IsSingleSweep() ? "Single" : "Continuous");
    Line(out, "Histograms", std::to_string(conditions.windowSize));
    Line(out, "Samples", std::to_string(result.total));
    if (!result.measured) {
        out += "No measurement\r\n";
        return out;
    }
    Line(out, "AveragePower(dBm)",
         Fixed(CCcdfTexts::DisplayedAverage(result, conditions.identificationCode), 4));
    Line(out, "PeakPower(dBm)", Fixed(result.peakPower, 4));
    Line(out, "CrestFactor(dB)", Fixed(result.crestFactor, 4));
    for (size_t i = 0; i < CCcdfResult::kProbabilities.size(); ++i) {
        char label[48];
        std::snprintf(label, sizeof label, "Level at %g %%(dB)", CCcdfResult::kProbabilities[i]);
        Line(out, label, result.levelKnown[i] ? Fixed(result.levels[i], 4) : "N/A");
    }
    for (size_t i = 0; i < CCcdfResult::kLevels.size(); ++i) {
        char label[48];
        std::snprintf(label, sizeof label, "Probability at %g dB(%%)", CCcdfResult::kLevels[i]);
        Line(out, label, Fixed(result.probabilities[i], 6));
    }
    out += "PowerAboveAverage(dB), Probability(%), NoiseReference(%)\r\n";
    for (const CcdfPoint& point : result.curve)
        out += Fixed(static_cast<double>(point.x), 4) + "," +
               Fixed(std::pow(10.0, static_cast<double>(point.y)) * 100.0, 6) + "," +
               ReferencePercent(point.x) + "\r\n";
    return out;
}

bool CCcdfResultCsv::Write(const std::string& path, const CCcdfResult& result, const SConditions& conditions,
                           std::string* error) {
    const std::string contents = Format(result, conditions);
    CAtomicFile file(path);
    const bool written = file.Open() && file.Write(contents.data(), contents.size()) && file.Commit();
    if (!written && error)
        *error = file.Error();
    return written;
}
