#include "app/CAppRegistry.h"
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

TEST(AppRegistry, ClearingAScreenWaitsForACallInProgress) {
    CAppRegistry registry;
    CSlowReceiver receiver;
    registry.SetMeasurementScreen(&receiver);
    std::thread worker([&] {
        registry.CallScreen(CAppRegistry::Screen::Measurement,
                            [](CReadingReceiver& screen) { screen.OnAvgReading(1, 4200); });
    });
    while (!receiver.entered)
        std::this_thread::yield();
    registry.SetMeasurementScreen(nullptr);
    // Once the slot is clear, the receiver is no longer in use and could be destroyed.
    EXPECT_TRUE(receiver.left);
    worker.join();
    EXPECT_EQ(receiver.lastValue, 4200);
}

TEST(AppRegistry, CallsReachOnlyTheScreenOfTheirSlot) {
    CAppRegistry registry;
    CSlowReceiver pulse;
    registry.SetPulseScreen(&pulse);
    int calls = 0;
    registry.CallScreen(CAppRegistry::Screen::Measurement, [&](CReadingReceiver&) { ++calls; });
    registry.CallScreen(CAppRegistry::Screen::Ccdf, [&](CReadingReceiver&) { ++calls; });
    EXPECT_EQ(calls, 0);
    registry.CallScreen(CAppRegistry::Screen::Pulse, [&](CReadingReceiver& screen) {
        EXPECT_EQ(&screen, &pulse);
        ++calls;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(registry.IsAnyScreenOpen());
    registry.Reset();
    EXPECT_FALSE(registry.IsAnyScreenOpen());
}

} // namespace
