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

std::int64_t CNativeFile::Read(int descriptor, void* buffer, std::size_t size) {
    const auto chunk = static_cast<unsigned>(size < (1U << 30) ? size : (1U << 30));
    return ::_read(descriptor, buffer, chunk);
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

bool CNativeFile::SyncToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::_commit(::_fileno(file)) == 0;
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

std::int64_t CNativeFile::Read(int descriptor, void* buffer, std::size_t size) {
    return ::read(descriptor, buffer, size);
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

bool CNativeFile::SyncToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool CNativeFile::Replace(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void CNativeFile::Remove(const std::string& path) {
    ::unlink(path.c_str());
}

int CNativeFile::ProcessId() {
    return ::getpid();
}

bool CNativeFile::ProcessHasEnded(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}
#endif
