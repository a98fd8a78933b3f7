#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The file calls whose names, flags or path encodings differ between POSIX and Windows.
// Paths are UTF-8; failures leave errno set.
class CNativeFile {
public:
    // A descriptor for reading, that never blocks on a FIFO or device; -1 on failure.
    static int OpenForReading(const std::string& path);
    // A new file created exclusively for writing (EEXIST when the name is taken); -1 on failure.
    static int CreateExclusive(const std::string& path);
    // Bytes read (0 at the end), or -1.
    static std::int64_t Read(int descriptor, void* buffer, std::size_t size);
    // Whether the open descriptor is a regular file, and its size.
    static bool IsRegularFile(int descriptor, std::int64_t* size);
    static void Close(int descriptor);
    // Flushes the stream and the system's cache of it to the disk.
    static bool SyncToDisk(std::FILE* file);
    // Renames from to to, replacing a file there.
    static bool Replace(const std::string& from, const std::string& to);
    static void Remove(const std::string& path);
    static int ProcessId();
    // True only when no process of that id runs (a process that cannot be checked is running).
    static bool ProcessHasEnded(long pid);
};
