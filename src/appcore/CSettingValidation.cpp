#include "appcore/CSettingValidation.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "model/CModelTable.h"

static constexpr double kMaxOffsetDb = 100.0;
static constexpr double kWholeNumberTolerance = 1e-6;

std::optional<double> CSettingValidation::ParseNumber(const std::string& text) {
    const char* blanks = " \t";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(blanks);
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin; // from_chars refuses the plus sign that people type
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string CSettingValidation::FormatNumber(float value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value);
    return std::string(digits, result.ptr);
}

std::string CSettingValidation::FormatFixed(double value, int decimals) {
    char digits[400];
    const auto result =
        std::to_chars(digits, digits + sizeof(digits), value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(digits, result.ptr) : std::string();
}

bool CSettingValidation::IsFrequencyInRange(int modelNumber, double mhz) {
    const SensorModel* model = CModelTable::FindByNumber(modelNumber);
    return model != nullptr && mhz >= model->minFrequencyMHz && mhz <= model->maxFrequencyMHz;
}

bool CSettingValidation::IsOffsetInRange(double db) {
    return db >= -kMaxOffsetDb && db <= kMaxOffsetDb;
}

bool CSettingValidation::IsAscending(double lower, double upper) {
    return lower < upper;
}

bool CSettingValidation::IsManualDutyInRange(double fraction) {
    constexpr int kThousandths = 1000;
    const int choice = TruncateScaled(fraction, kThousandths);
    return choice >= 1 && choice <= kThousandths;
}

int CSettingValidation::TruncateScaled(double value, int scale) {
    const double scaled = value * scale;
    const double nearest = std::round(scaled);
    const double whole = std::fabs(scaled - nearest) < kWholeNumberTolerance ? nearest : std::trunc(scaled);
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (!(whole >= lowest))
        return std::numeric_limits<int>::min();
    if (whole > highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(whole);
}

int CSettingValidation::ChoiceIndex(int stored, int count, int fallback) {
    return stored >= 0 && stored < count ? stored : fallback;
}
