#include "sim/CPollIo.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsWoken(const pollfd& wake) {
    return (wake.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

int Poll(pollfd* fds, nfds_t count, const timespec* timeout) {
    int ready;
    do {
        ready = ppoll(fds, count, timeout, nullptr);
    } while (ready < 0 && errno == EINTR);
    return ready;
}

bool IsSocket(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

// A socket whose host left must not raise SIGPIPE in the process that runs the sensor.
ssize_t WriteSome(int fd, const uint8_t* bytes, size_t count) {
    if (IsSocket(fd))
        return send(fd, bytes, count, MSG_NOSIGNAL);
    return write(fd, bytes, count);
}
} // namespace

CPollIo::Wait CPollIo::WaitReadable(int fd, int wakeFd) {
    int readyFd = -1;
    return WaitReadable(fd, -1, wakeFd, &readyFd);
}

CPollIo::Wait CPollIo::WaitReadable(int firstFd, int secondFd, int wakeFd, int* readyFd) {
    pollfd fds[3] = {{wakeFd, POLLIN, 0}, {firstFd, POLLIN, 0}, {secondFd, POLLIN, 0}};
    if (Poll(fds, 3, nullptr) < 0)
        return Wait::Failed;
    if (IsWoken(fds[0]))
        return Wait::Woken;
    for (const pollfd& entry : {fds[1], fds[2]}) {
        if (entry.fd >= 0 && entry.revents != 0) {
            *readyFd = entry.fd;
            return Wait::Ready;
        }
    }
    return Wait::Failed;
}

bool CPollIo::WriteAll(int fd, const uint8_t* bytes, size_t count, int wakeFd) {
    size_t done = 0;
    while (done < count) {
        const ssize_t written = WriteSome(fd, bytes + done, count - done);
        if (written > 0) {
            done += static_cast<size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {fd, POLLOUT, 0}};
        if (Poll(fds, 2, nullptr) < 0 || IsWoken(fds[0]) || (fds[1].revents & (POLLERR | POLLHUP)))
            return false;
    }
    return true;
}

bool CPollIo::Pause(std::chrono::microseconds duration, int wakeFd) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    const timespec timeout{static_cast<time_t>(seconds.count()),
                           static_cast<long>((duration - seconds).count() * 1000)};
    pollfd wake{wakeFd, POLLIN, 0};
    return Poll(&wake, 1, &timeout) == 0;
}

bool CPollIo::SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}
