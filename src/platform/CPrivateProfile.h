#pragma once

#include <chrono>
#include <string>
#include <vector>

// INI ("private profile") files with the behaviour of the Windows profile functions:
// section and key names match case-insensitively, a missing file, section or key gives
// the default, values are trimmed of surrounding blanks and one pair of quotes.
// Reads come from a parsed copy that is renewed whenever the file changes, so edits made by
// others are seen at once, or within the recheck interval when one is set.
// Strings are UTF-8; the file is read and written as UTF-8. On Windows these are the system's
// profile functions themselves (GetPrivateProfileStringW, WritePrivateProfileStringW): files are
// then in the ANSI code page, or UTF-16 when they start with its byte-order mark.
class CPrivateProfile {
public:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };

    // How long a file is read from its parsed copy without looking for edits by others; zero
    // (the default) looks on every read. Writes of our own are seen at once either way.
    static void SetRecheckInterval(std::chrono::milliseconds interval);

    static std::string ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, const std::string& path);

    // Takes the leading decimal digits (with an optional sign); the default when there are none.
    static int ReadInt(const std::string& section, const std::string& key, int defaultValue,
                       const std::string& path);

    // Rewrites only that key's line, keeping every other line, comment and their order;
    // creates the section or file when absent. False when the file cannot be written.
    static bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                            const std::string& path);
    // The keys in order as by WriteString, replacing the file once for all of them.
    static bool WriteStrings(const std::vector<Entry>& entries, const std::string& path);
};
