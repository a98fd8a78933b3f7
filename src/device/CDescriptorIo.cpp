#include "device/CDescriptorIo.h"

#include "device/CCancelSignal.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <ctime>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point start, int timeoutMs) {
    if (timeoutMs < 0)
        return -1;
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return spent >= timeoutMs ? 0 : timeoutMs - static_cast<int>(spent);
}

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

int WaitResult(CCancelSignal::Outcome outcome) {
    switch (outcome) {
    case CCancelSignal::Outcome::Ready:
        return 0;
    case CCancelSignal::Outcome::TimedOut:
        return ETIMEDOUT;
    case CCancelSignal::Outcome::Cancelled:
        return ECANCELED;
    case CCancelSignal::Outcome::Failed:
        break;
    }
    return errno ? errno : EIO;
}

// Set on threads that keep SIGPIPE blocked for good (KeepSigpipeBlocked).
thread_local bool t_sigpipeKeptBlocked = false;

sigset_t PipeOnly() {
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    return pipeOnly;
}

// Takes the SIGPIPE that a failed write on this thread left pending, without waiting.
void SwallowSigpipe() {
    const sigset_t pipeOnly = PipeOnly();
    const timespec noWait{0, 0};
    sigtimedwait(&pipeOnly, nullptr, &noWait);
}

// A write to a pipe or socket whose reader has gone raises SIGPIPE, which would end the
// program; block it for this thread and swallow the one the write caused. A SIGPIPE can only be
// pending here when it was blocked before, so only then is the pending set looked at. A thread
// that keeps it blocked for good writes without changing its mask.
ssize_t WriteWithoutSigpipe(int fd, const uint8_t* bytes, size_t count) {
    if (t_sigpipeKeptBlocked) {
        const ssize_t result = write(fd, bytes, count);
        const int error = errno;
        if (result < 0 && error == EPIPE)
            SwallowSigpipe();
        errno = error;
        return result;
    }
    const sigset_t pipeOnly = PipeOnly();
    sigset_t previous, pending;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    const bool wasBlocked = sigismember(&previous, SIGPIPE) == 1;
    const bool alreadyPending =
        wasBlocked && sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    const ssize_t result = write(fd, bytes, count);
    const int error = errno;
    if (result < 0 && error == EPIPE && !alreadyPending)
        SwallowSigpipe();
    if (!wasBlocked)
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return result;
}
} // namespace

void CDescriptorIo::KeepSigpipeBlocked() {
    const sigset_t pipeOnly = PipeOnly();
    t_sigpipeKeptBlocked = pthread_sigmask(SIG_BLOCK, &pipeOnly, nullptr) == 0;
}

int CDescriptorIo::ReadAvailable(int fd, uint8_t* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (count == 0)
        return 0;
    const ssize_t got = read(fd, buffer, count);
    if (got >= 0) {
        *done = static_cast<uint32_t>(got);
        return 0;
    }
    return WouldBlock(errno) ? 0 : errno;
}

int CDescriptorIo::ReadExactly(int fd, uint8_t* buffer, uint32_t count, uint32_t* done, int timeoutMs,
                               const CCancelSignal& cancel) {
    const auto start = Clock::now();
    *done = 0;
    while (*done < count) {
        const int waited = WaitResult(cancel.WaitFor(fd, POLLIN, RemainingMs(start, timeoutMs)));
        if (waited != 0)
            return waited;
        const ssize_t got = read(fd, buffer + *done, count - *done);
        if (got == 0)
            return ECONNRESET;
        if (got < 0 && !WouldBlock(errno))
            return errno;
        if (got > 0)
            *done += static_cast<uint32_t>(got);
    }
    return cancel.IsCancelled() ? ECANCELED : 0;
}

int CDescriptorIo::WriteAvailable(int fd, const uint8_t* bytes, uint32_t count, uint32_t* done) {
    *done = 0;
    if (count == 0)
        return 0;
    const ssize_t put = WriteWithoutSigpipe(fd, bytes, count);
    if (put >= 0) {
        *done = static_cast<uint32_t>(put);
        return 0;
    }
    if (errno == EPIPE)
        return ECONNRESET;
    return WouldBlock(errno) ? 0 : errno;
}

int CDescriptorIo::WriteAll(int fd, const uint8_t* bytes, uint32_t count, uint32_t* done, int timeoutMs,
                            const CCancelSignal& cancel) {
    const auto start = Clock::now();
    *done = 0;
    if (cancel.IsCancelled())
        return ECANCELED;
    while (*done < count) {
        uint32_t put = 0;
        const int error = WriteAvailable(fd, bytes + *done, count - *done, &put);
        if (error != 0)
            return error;
        *done += put;
        if (*done == count)
            break;
        const int waited = WaitResult(cancel.WaitFor(fd, POLLOUT, RemainingMs(start, timeoutMs)));
        if (waited != 0)
            return waited;
    }
    return 0;
}

bool CDescriptorIo::ReadReply(int fd, uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs,
                              const CCancelSignal& cancel) {
    if (fd < 0)
        return false;
    uint32_t done = 0;
    const int timeout = timeoutMs > INT_MAX ? INT_MAX : static_cast<int>(timeoutMs);
    const bool ok = ReadExactly(fd, buffer, count, &done, timeout, cancel) == 0;
    if (read)
        *read = done;
    return ok;
}

void CDescriptorIo::DiscardInput(int fd) {
    uint8_t scratch[4096];
    uint32_t got = 0;
    for (int round = 0; round < 64; ++round) {
        if (ReadAvailable(fd, scratch, sizeof scratch, &got) != 0 || got == 0)
            return;
    }
}

bool CDescriptorIo::SendCommand(int fd, const uint8_t* bytes, uint32_t count, uint32_t* written,
                                const CCancelSignal& cancel) {
    if (fd < 0)
        return false;
    uint32_t done = 0;
    const bool ok = WriteAll(fd, bytes, count, &done, -1, cancel) == 0;
    if (written)
        *written = done;
    return ok;
}
