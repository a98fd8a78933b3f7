#include "platform/CStaleTemporaryFiles.h"

#include "platform/CFilePath.h"
#include "platform/CNativeFile.h"

#include <cctype>
#include <filesystem>
#include <string_view>

namespace {

bool AllDigits(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return false;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

long ParseNumber(std::string_view digits) {
    long number = 0;
    for (const char c : digits)
        number = number * 10 + (c - '0');
    return number;
}

// A process id written in decimal digits, or 0.
long ProcessId(std::string_view digits) {
    return AllDigits(digits) ? ParseNumber(digits) : 0;
}

} // namespace

long CStaleTemporaryFiles::WriterOf(const std::string& fileName) {
    const std::string_view name = fileName;
    constexpr std::string_view historyPrefix = ".pelmora-", historySuffix = ".tmp", iniMark = ".ini.tmp";
    if (name.starts_with(historyPrefix) && name.ends_with(historySuffix)) {
        const std::string_view middle =
            name.substr(historyPrefix.size(), name.size() - historyPrefix.size() - historySuffix.size());
        const auto dash = middle.find('-');
        if (dash == std::string_view::npos || !AllDigits(middle.substr(dash + 1)))
            return 0;
        return ProcessId(middle.substr(0, dash));
    }
    const auto mark = name.rfind(iniMark);
    if (mark == std::string_view::npos || mark == 0)
        return 0;
    return ProcessId(name.substr(mark + iniMark.size()));
}

void CStaleTemporaryFiles::RemoveIn(const std::string& directory) {
    std::error_code error;
    const std::filesystem::path folder =
        directory.empty() ? std::filesystem::path(".") : CFilePath::FromUtf8(directory);
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const long pid = WriterOf(CFilePath::ToUtf8(entry->path().filename()));
        std::error_code ignored;
        if (pid != 0 && pid != CNativeFile::ProcessId() && CNativeFile::ProcessHasEnded(pid) &&
            entry->is_regular_file(ignored))
            std::filesystem::remove(entry->path(), ignored);
    }
}
