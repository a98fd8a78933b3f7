#pragma once

#include <optional>
#include <string>

// Reading and judging the number fields of the setting dialogs. Numbers are read with the
// C locale whatever the user's regional settings, so "1,5" is not a number.
class CSettingValidation {
public:
    // The number a field holds; blanks around it are allowed, anything else is not.
    static std::optional<double> ParseNumber(const std::string& text);
    // Shortest text that reads back as the same float ("2450.7", "-30").
    static std::string FormatNumber(float value);
    // "%.<decimals>f" in the C locale.
    static std::string FormatFixed(double value, int decimals);

    // Inclusive frequency range of the model's table row; false for a model without a row.
    static bool IsFrequencyInRange(int modelNumber, double mhz);
    static bool IsOffsetInRange(double db);
    // A display range or a limit pair must have its lower end strictly below its upper end.
    static bool IsAscending(double lower, double upper);

    // A manual duty cycle is a fraction of 0.001 to 1: a smaller one is stored as 0, which means
    // automatic, and a larger or negative one is no duty cycle at all.
    static bool IsManualDutyInRange(double fraction);

    // trunc(value x scale), clamped to the int range. A product within a millionth of a whole
    // number counts as that number, so "1.001" x 1000 gives 1001 and not 1000.
    static int TruncateScaled(double value, int scale);
    // Index of a stored choice in a list of count entries, or fallback when it is not one.
    static int ChoiceIndex(int stored, int count, int fallback);
};
