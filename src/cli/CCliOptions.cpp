#include "cli/CCliOptions.h"

#include "appcore/CStringTable.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string_view>

bool CCliOptions::Parse(const CliContext& context, const std::vector<std::string>& known, Values& values) {
    const std::vector<std::string>& words = context.arguments;
    for (size_t i = 0; i < words.size(); i += 2) {
        const std::string& name = words[i];
        if (name.size() < 3 || name.compare(0, 2, "--") != 0 || i + 1 >= words.size()) {
            Fail(context, "expected '--name value', got '" + name + "'");
            return false;
        }
        const std::string_view option = std::string_view(name).substr(2);
        if (std::find(known.begin(), known.end(), option) == known.end()) {
            Fail(context, "unknown option '" + name + "'");
            return false;
        }
        values[std::string(option)] = words[i + 1];
    }
    return true;
}

std::vector<std::string> CCliOptions::Repeated(const CliContext& context, const std::string& name) {
    std::vector<std::string> found;
    const std::vector<std::string>& words = context.arguments;
    for (size_t i = 0; i + 1 < words.size(); i += 2)
        if (words[i] == "--" + name)
            found.push_back(words[i + 1]);
    return found;
}

bool CCliOptions::ParsePort(const std::string& text, int& port) {
    if (text == "usb") {
        port = 0;
        return true;
    }
    return ParseNumber(text, 1, 255, port);
}

bool CCliOptions::ParseNumber(const std::string& text, int minimum, int maximum, int& number) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < minimum || value > maximum)
        return false;
    number = static_cast<int>(value);
    return true;
}

bool CCliOptions::ParseReal(const std::string& text, double minimum, double maximum, double& number) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < minimum || value > maximum)
        return false;
    number = value;
    return true;
}

int CCliOptions::Fail(const CliContext& context, const std::string& reason) {
    context.err << "pelmora-cli: " << reason << "\n";
    return 1;
}

std::string CCliOptions::Text(const char* key) {
    const std::string text = CStringTable::GetGeneralText(key);
    return text.empty() ? key : text;
}
