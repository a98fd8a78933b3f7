#pragma once

#include <string>

// Temporary files that this program writes beside a target and renames over it
// (".pelmora-<pid>-<n>.tmp" and "<name>.ini.tmp<pid>"). A writer killed before the rename
// leaves its file behind; the next save into the same folder removes it.
class CStaleTemporaryFiles {
public:
    // Removes the files of that naming in the folder whose writer process has ended; a file
    // of a running process, or of a process that cannot be checked, stays.
    static void RemoveIn(const std::string& directory);
    // The writer's process id named in a file name of that naming, or 0.
    static long WriterOf(const std::string& fileName);
};
