#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Writes a file through a temporary file beside it that replaces the target only once every
// byte is on disk, so that a failed save leaves an existing file as it was.
class CAtomicFile {
public:
    explicit CAtomicFile(std::string path);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    bool Open();
    bool Write(const void* data, std::size_t size);
    // Flushes, closes and renames over the target; false leaves the target untouched.
    bool Commit();
    // Reason of the last failure, one line.
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what);
    void Discard();

    std::string m_path;
    std::string m_temporaryPath;
    std::FILE* m_file = nullptr;
    std::string m_error;
};
