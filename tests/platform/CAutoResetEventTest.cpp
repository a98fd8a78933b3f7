#include "platform/CAutoResetEvent.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

TEST(AutoResetEvent, ASetIsTakenByOneWaitOnly) {
    CAutoResetEvent event;
    EXPECT_FALSE(event.Wait(0));
    event.Set();
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(10));
}

TEST(AutoResetEvent, WaitAnyPrefersTheFirstAndResetsOnlyIt) {
    CAutoResetEvent stop, request;
    request.Set();
    stop.Set();
    EXPECT_EQ(CAutoResetEvent::WaitAny({&stop, &request}, 0), 0);
    EXPECT_EQ(CAutoResetEvent::WaitAny({&stop, &request}, 0), 1);
    EXPECT_EQ(CAutoResetEvent::WaitAny({&stop, &request}, 5), -1);
}

TEST(AutoResetEvent, WakesAWaiterOnAnotherThread) {
    CAutoResetEvent event;
    std::thread setter([&] { event.Set(); });
    EXPECT_TRUE(event.Wait(-1));
    setter.join();
}

// A request and an answer handed back and forth, first back to back (the waits spin), then with
// pauses (they sleep): a Set that misses its waiter would leave a wait to time out.
TEST(AutoResetEvent, HandsOverBackAndForthWithoutLosingASet) {
    for (const auto pause : {std::chrono::microseconds(0), std::chrono::microseconds(200)}) {
        CAutoResetEvent request, answer;
        constexpr int kRounds = 2000;
        int answered = 0;
        std::thread worker([&] {
            for (int round = 0; round < kRounds && request.Wait(2000); ++round) {
                std::this_thread::sleep_for(pause);
                answer.Set();
            }
        });
        for (int round = 0; round < kRounds; ++round) {
            request.Set();
            answered += answer.Wait(2000) ? 1 : 0;
        }
        worker.join();
        EXPECT_EQ(answered, kRounds);
    }
}
