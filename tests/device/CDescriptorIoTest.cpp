#include "device/CDescriptorIo.h"

#include "device/CCancelSignal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace {
bool SigpipePending() {
    sigset_t pending;
    return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
}

bool SigpipeBlocked() {
    sigset_t mask;
    return pthread_sigmask(SIG_SETMASK, nullptr, &mask) == 0 && sigismember(&mask, SIGPIPE) == 1;
}

// Writes to a pipe whose reader has gone; SIGPIPE's default action would end the test program.
int WriteToVanishedReader() {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    close(fds[0]);
    const uint8_t byte = 1;
    uint32_t done = 0;
    CCancelSignal cancel;
    const int result = CDescriptorIo::WriteAll(fds[1], &byte, 1, &done, 100, cancel);
    close(fds[1]);
    return result;
}
} // namespace

// Both ways of keeping SIGPIPE away: the mask changed around each write, and a thread that keeps
// it blocked for good. Neither may leave a signal pending or the mask changed behind it.
TEST(DescriptorIo, AVanishedReaderGivesConnectionResetAndNoSignal) {
    std::thread([] {
        EXPECT_EQ(WriteToVanishedReader(), ECONNRESET);
        EXPECT_FALSE(SigpipeBlocked());
        EXPECT_FALSE(SigpipePending());
    }).join();
    std::thread([] {
        CDescriptorIo::KeepSigpipeBlocked();
        EXPECT_EQ(WriteToVanishedReader(), ECONNRESET);
        EXPECT_EQ(WriteToVanishedReader(), ECONNRESET);
        EXPECT_TRUE(SigpipeBlocked());
        EXPECT_FALSE(SigpipePending());
    }).join();
}
