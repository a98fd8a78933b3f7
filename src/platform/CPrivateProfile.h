#pragma once

#include <string>

// INI ("private profile") files with the behaviour of the Windows profile functions:
// section and key names match case-insensitively, a missing file, section or key gives
// the default, values are trimmed of surrounding blanks and one pair of quotes.
// Every call reads the file afresh, so edits made by others are seen at once.
// Strings are UTF-8; the file is read and written as UTF-8.
class CPrivateProfile {
public:
    static std::string ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, const std::string& path);

    // Takes the leading decimal digits (with an optional sign); the default when there are none.
    static int ReadInt(const std::string& section, const std::string& key, int defaultValue,
                       const std::string& path);

    // Rewrites only that key's line, keeping every other line, comment and their order;
    // creates the section or file when absent. False when the file cannot be written.
    static bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                            const std::string& path);
};
