#include "appcore/CScpiNumber.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The length of the decimal number at the start of text: sign, digits, point, exponent.
size_t NumberLength(std::string_view text) {
    size_t i = 0;
    auto digits = [&] {
        const size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const size_t beforeExponent = i++;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            i = beforeExponent; // "5E" leaves the E to the suffix, which then fails
    }
    return i;
}

} // namespace

CScpiNumber::SResult CScpiNumber::Parse(std::string_view text, Unit unit) {
    text = Trim(text);
    const size_t length = NumberLength(text);
    if (length == 0)
        return {};
    std::string number(text.substr(0, length));
    if (number.front() == '+')
        number.erase(0, 1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return {};
    const std::optional<double> factor = SuffixFactor(Trim(text.substr(length)), unit);
    if (!factor)
        return {Status::WrongSuffix, 0.0};
    return {Status::Valid, value * *factor};
}

std::optional<double> CScpiNumber::SuffixFactor(std::string_view suffix, Unit unit) {
    if (suffix.empty())
        return 1.0;
    std::string upper(suffix);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    switch (unit) {
    case Unit::Hertz:
        if (upper == "HZ")
            return 1.0;
        if (upper == "KHZ")
            return 1e3;
        if (upper == "MHZ")
            return 1e6;
        if (upper == "GHZ")
            return 1e9;
        return std::nullopt;
    case Unit::Decibel:
        return upper == "DB" ? std::optional<double>(1.0) : std::nullopt;
    case Unit::DecibelMilliwatt:
        return upper == "DBM" ? std::optional<double>(1.0) : std::nullopt;
    case Unit::None:
        return std::nullopt;
    }
    return std::nullopt;
}
