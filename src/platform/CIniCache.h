#pragma once

#include <chrono>
#include <string>

// Parsed INI files kept in memory and read again when the file changes on disk (another
// size, modification or change time, or file identity). A file changed within the last two
// seconds is read again on every look-up, since a second edit inside one tick of the file
// system's clock would leave the time stamps as they were.
class CIniCache {
public:
    // How long a file that was checked is taken as it is without looking at the disk again;
    // zero (the default) checks on every look-up.
    static void SetRecheckInterval(std::chrono::milliseconds interval);
    // The raw text after '=' of the first key of that name in a section of that name (names
    // match case-insensitively); false when the file cannot be read or has no such key.
    static bool Find(const std::string& path, const std::string& section, const std::string& key,
                     std::string& rawValue);
    // Drops what is kept of a file, after a write of our own.
    static void Forget(const std::string& path);
};
