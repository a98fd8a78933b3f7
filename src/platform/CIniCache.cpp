#include "platform/CIniCache.h"

#include "platform/CIniText.h"

#include <cctype>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

constexpr long long kNanosecondsPerSecond = 1000000000LL;
constexpr long long kSettleNanoseconds = 2 * kNanosecondsPerSecond;

long long Nanoseconds(const timespec& time) {
    return static_cast<long long>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modified = 0;
    long long changed = 0;

    explicit FileStamp(const struct stat& status)
        : device(status.st_dev), inode(status.st_ino), size(status.st_size),
          modified(Nanoseconds(status.st_mtim)), changed(Nanoseconds(status.st_ctim)) {}
    bool operator==(const FileStamp&) const = default;
};

struct CachedFile {
    FileStamp stamp;
    long long readAt = 0;
    std::chrono::steady_clock::time_point checkedAt;
    std::unordered_map<std::string, std::string> values; // folded "section\nkey" -> raw value
};

void Fold(std::string_view section, std::string_view key, std::string& folded) {
    folded.clear();
    for (const char c : section)
        folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    folded += '\n';
    for (const char c : key)
        folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string Fold(std::string_view section, std::string_view key) {
    std::string folded;
    Fold(section, key, folded);
    return folded;
}

long long Now() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

bool ReadAll(int descriptor, std::string& text) {
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

// Only regular files are read, so that a FIFO or device in the file's place never blocks.
bool Parse(const std::string& path, CachedFile& file) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status {};
    std::string text;
    const bool read =
        ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && ReadAll(descriptor, text);
    ::close(descriptor);
    if (!read)
        return false;
    file.stamp = FileStamp(status);
    file.readAt = Now();
    file.values.clear();
    CIniText::ForEachKey(text, [&](std::string_view section, std::string_view key, std::string_view value) {
        file.values.emplace(Fold(section, key), value);
    });
    return true;
}

std::mutex s_mutex;
std::unordered_map<std::string, CachedFile> s_files;
std::chrono::steady_clock::duration s_recheckInterval{};
std::string s_folded; // reused by every look-up, under the lock

// The kept copy of the file, checked against the disk unless that was done within the interval;
// none when the file cannot be read.
const CachedFile* CurrentFile(const std::string& path) {
    const auto now = std::chrono::steady_clock::now();
    auto found = s_files.find(path);
    if (found != s_files.end() && now - found->second.checkedAt < s_recheckInterval)
        return &found->second;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        s_files.erase(path);
        return nullptr;
    }
    const bool current = found != s_files.end() && found->second.stamp == FileStamp(status) &&
                         found->second.stamp.modified + kSettleNanoseconds < found->second.readAt;
    if (!current) {
        CachedFile file{FileStamp(status), 0, {}, {}};
        if (!Parse(path, file)) {
            s_files.erase(path);
            return nullptr;
        }
        found = s_files.insert_or_assign(path, std::move(file)).first;
    }
    found->second.checkedAt = now;
    return &found->second;
}

} // namespace

void CIniCache::SetRecheckInterval(std::chrono::milliseconds interval) {
    const std::lock_guard lock(s_mutex);
    s_recheckInterval = interval;
}

bool CIniCache::Find(const std::string& path, const std::string& section, const std::string& key,
                     std::string& rawValue) {
    const std::lock_guard lock(s_mutex);
    const CachedFile* file = CurrentFile(path);
    if (file == nullptr)
        return false;
    Fold(section, key, s_folded);
    const auto value = file->values.find(s_folded);
    if (value == file->values.end())
        return false;
    rawValue = value->second;
    return true;
}

void CIniCache::Forget(const std::string& path) {
    const std::lock_guard lock(s_mutex);
    s_files.erase(path);
}
