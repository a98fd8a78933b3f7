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
    // A file created, or emptied, for writing; only its owner may read it where the system says so.
    static int CreatePrivate(const std::string& path);
    // Bytes read (0 at the end), or -1.
    static std::int64_t Read(int descriptor, void* buffer, std::size_t size);
    // Bytes written (possibly fewer than asked), or -1.
    static std::int64_t Write(int descriptor, const void* data, std::size_t size);
    // Whether the open descriptor is a regular file, and its size.
    static bool IsRegularFile(int descriptor, std::int64_t* size);
    static void Close(int descriptor);
    // Takes an exclusive lock of the file without waiting, held until the descriptor is closed;
    // false when another descriptor holds it.
    static bool TryLock(int descriptor);
    // Flushes the system's cache of the file to the disk.
    static bool SyncToDisk(int descriptor);
    // Flushes the stream and the system's cache of it to the disk.
    static bool SyncToDisk(std::FILE* file);
    // Renames from to to, replacing a file there.
    static bool Replace(const std::string& from, const std::string& to);
    static void Remove(const std::string& path);
    // Removes the file open as the descriptor and closes it. Where the system allows, the name
    // goes first, so that no one finds the file unlocked on its way out.
    static void RemoveOpen(int descriptor, const std::string& path);
    static int ProcessId();
    // True only when no process of that id runs (a process that cannot be checked is running).
    static bool ProcessHasEnded(long pid);
};
