#include "platform/CNativeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include "platform/CWideText.h"

#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef _WIN32
// Windows has no FIFOs to block on; not inheriting the handle stands for close-on-exec.
int CNativeFile::OpenForReading(const std::string& path) {
    return ::_wopen(CWideText::FromUtf8(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int CNativeFile::CreateExclusive(const std::string& path) {
    return ::_wopen(CWideText::FromUtf8(path).c_str(),
                    _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int CNativeFile::CreatePrivate(const std::string& path) {
    return ::_wopen(CWideText::FromUtf8(path).c_str(),
                    _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

namespace {
// The C library's calls take an unsigned count.
unsigned Chunk(std::size_t size) {
    return static_cast<unsigned>(size < (1U << 30) ? size : (1U << 30));
}
} // namespace

std::int64_t CNativeFile::Read(int descriptor, void* buffer, std::size_t size) {
    return ::_read(descriptor, buffer, Chunk(size));
}

std::int64_t CNativeFile::Write(int descriptor, const void* data, std::size_t size) {
    return ::_write(descriptor, data, Chunk(size));
}

bool CNativeFile::IsRegularFile(int descriptor, std::int64_t* size) {
    struct _stat64 status {};
    if (::_fstat64(descriptor, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)
        return false;
    *size = status.st_size;
    return true;
}

void CNativeFile::Close(int descriptor) {
    ::_close(descriptor);
}

// A lock of the first byte stands for a lock of the whole file.
bool CNativeFile::TryLock(int descriptor) {
    OVERLAPPED first{};
    const auto file = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first) != 0;
}

bool CNativeFile::SyncToDisk(int descriptor) {
    return ::_commit(descriptor) == 0;
}

bool CNativeFile::SyncToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && SyncToDisk(::_fileno(file));
}

// The C library's rename refuses an existing target on Windows.
bool CNativeFile::Replace(const std::string& from, const std::string& to) {
    if (MoveFileExW(CWideText::FromUtf8(from).c_str(), CWideText::FromUtf8(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return false;
}

void CNativeFile::Remove(const std::string& path) {
    ::_wunlink(CWideText::FromUtf8(path).c_str());
}

// Windows removes no file that is open.
void CNativeFile::RemoveOpen(int descriptor, const std::string& path) {
    Close(descriptor);
    Remove(path);
}

int CNativeFile::ProcessId() {
    return ::_getpid();
}

bool CNativeFile::ProcessHasEnded(long pid) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD exitCode = 0;
    const bool ended = GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}
#else
int CNativeFile::OpenForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

int CNativeFile::CreateExclusive(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int CNativeFile::CreatePrivate(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

std::int64_t CNativeFile::Read(int descriptor, void* buffer, std::size_t size) {
    return ::read(descriptor, buffer, size);
}

std::int64_t CNativeFile::Write(int descriptor, const void* data, std::size_t size) {
    return ::write(descriptor, data, size);
}

bool CNativeFile::IsRegularFile(int descriptor, std::int64_t* size) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    *size = status.st_size;
    return true;
}

void CNativeFile::Close(int descriptor) {
    ::close(descriptor);
}

bool CNativeFile::TryLock(int descriptor) {
    return ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
}

bool CNativeFile::SyncToDisk(int descriptor) {
    return ::fsync(descriptor) == 0;
}

bool CNativeFile::SyncToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && SyncToDisk(::fileno(file));
}

bool CNativeFile::Replace(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void CNativeFile::Remove(const std::string& path) {
    ::unlink(path.c_str());
}

void CNativeFile::RemoveOpen(int descriptor, const std::string& path) {
    Remove(path);
    Close(descriptor);
}

int CNativeFile::ProcessId() {
    return ::getpid();
}

bool CNativeFile::ProcessHasEnded(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}
#endif
