#include "protocol/CReadingSinks.h"
#include "protocol/CReadingReceiver.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Takes a while over each reading, like a receiver that is interrupted mid-call.
class CSlowReceiver : public CReadingReceiver {
public:
    void OnAvgReading(int32_t, int32_t value) override {
        entered = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        lastValue = value;
        left = true;
    }
    std::atomic<bool> entered{false};
    std::atomic<bool> left{false};
    std::atomic<int32_t> lastValue{0};
};

TEST(ReadingSinks, ClearingASlotWaitsForACallInProgress) {
    CReadingSinks sinks;
    CSlowReceiver receiver;
    sinks.Set(CReadingSinks::Kind::Measurement, &receiver);
    std::thread worker([&] {
        sinks.Call(CReadingSinks::Kind::Measurement,
                   [](CReadingReceiver& sink) { sink.OnAvgReading(1, 4200); });
    });
    while (!receiver.entered)
        std::this_thread::yield();
    sinks.Remove(&receiver);
    // Once the slot is clear, the sink is no longer in use and could be destroyed.
    EXPECT_TRUE(receiver.left);
    worker.join();
    EXPECT_EQ(receiver.lastValue, 4200);
}

TEST(ReadingSinks, CallsReachOnlyTheSinkOfTheirSlot) {
    CReadingSinks sinks;
    CSlowReceiver pulse;
    sinks.Set(CReadingSinks::Kind::Pulse, &pulse);
    int calls = 0;
    sinks.Call(CReadingSinks::Kind::Measurement, [&](CReadingReceiver&) { ++calls; });
    sinks.Call(CReadingSinks::Kind::Ccdf, [&](CReadingReceiver&) { ++calls; });
    EXPECT_EQ(calls, 0);
    sinks.Call(CReadingSinks::Kind::Pulse, [&](CReadingReceiver& screen) {
        EXPECT_EQ(&screen, &pulse);
        ++calls;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(sinks.IsAnySet());
    sinks.Clear();
    EXPECT_FALSE(sinks.IsAnySet());
}

} // namespace
