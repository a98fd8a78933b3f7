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
    std::unordered_map<std::string, std::string> values; // folded "section\nkey" -> raw value
};

std::string Fold(const std::string& section, const std::string& key) {
    std::string folded;
    folded.reserve(section.size() + key.size() + 1);
    for (const char c : section)
        folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    folded += '\n';
    for (const char c : key)
        folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
    CIniText::ForEachKey(text,
                         [&](const std::string& section, const std::string& key, const std::string& value) {
                             file.values.emplace(Fold(section, key), value);
                         });
    return true;
}

std::mutex s_mutex;
std::unordered_map<std::string, CachedFile> s_files;

} // namespace

bool CIniCache::Find(const std::string& path, const std::string& section, const std::string& key,
                     std::string& rawValue) {
    struct stat status {};
    const std::lock_guard lock(s_mutex);
    if (::stat(path.c_str(), &status) != 0) {
        s_files.erase(path);
        return false;
    }
    auto found = s_files.find(path);
    const bool current = found != s_files.end() && found->second.stamp == FileStamp(status) &&
                         found->second.stamp.modified + kSettleNanoseconds < found->second.readAt;
    if (!current) {
        CachedFile file{FileStamp(status), 0, {}};
        if (!Parse(path, file)) {
            s_files.erase(path);
            return false;
        }
        found = s_files.insert_or_assign(path, std::move(file)).first;
    }
    const auto value = found->second.values.find(Fold(section, key));
    if (value == found->second.values.end())
        return false;
    rawValue = value->second;
    return true;
}

void CIniCache::Forget(const std::string& path) {
    const std::lock_guard lock(s_mutex);
    s_files.erase(path);
}
