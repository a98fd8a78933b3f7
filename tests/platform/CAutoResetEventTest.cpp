#include "platform/CAutoResetEvent.h"

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
