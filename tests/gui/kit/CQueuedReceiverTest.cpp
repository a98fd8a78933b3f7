#include "gui/kit/CQueuedReceiver.h"
#include "gui/kit/CUiCallQueue.h"
#include "gui/kit/CUiThreadPoster.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

class CRecordingHandler : public CReadingReceiver {
public:
    void OnAvgReading(int32_t state, int32_t value) override { Record({0, state, value}); }
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override {
        Record({1, state, forward, reverse});
    }
    void OnPulseReading(int32_t state, int32_t power, int32_t v1, int32_t v2, int32_t v3,
                        int32_t v4) override {
        Record({4, state, power, v1, v2, v3, v4});
    }
    void OnCcdfData(int32_t state, const PowerHistogram& histogram) override {
        Record({5, state, static_cast<int32_t>(histogram.size())});
    }

    std::vector<std::vector<int32_t>> calls;
    bool onOtherThread = false;

private:
    void Record(std::vector<int32_t> call) {
        onOtherThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        calls.push_back(std::move(call));
    }
};

} // namespace

TEST(CQueuedReceiver, ReadingsFromTheWorkerArriveOnTheUserInterfaceThreadInOrder) {
    QObject context;
    CRecordingHandler handler;
    CQueuedReceiver receiver(&context, handler);
    std::thread worker([&receiver] {
        receiver.OnAvgReading(1, -1234);
        receiver.OnForwardReverseReading(1, 500, -700);
        receiver.OnPulseReading(1, 10, 20, 30, 40, 50);
        receiver.OnCcdfData(0, {{1, 2}});
    });
    worker.join();
    EXPECT_TRUE(handler.calls.empty()) << "nothing runs on the worker thread";
    QCoreApplication::processEvents();
    const std::vector<std::vector<int32_t>> expected = {
        {0, 1, -1234}, {1, 1, 500, -700}, {4, 1, 10, 20, 30, 40, 50}, {5, 0, 1}};
    EXPECT_EQ(handler.calls, expected);
    EXPECT_FALSE(handler.onOtherThread);
}

TEST(CQueuedReceiver, ReadingsForAClosedScreenAreDropped) {
    CRecordingHandler handler;
    auto context = std::make_unique<QObject>();
    CQueuedReceiver receiver(context.get(), handler);
    std::thread worker([&receiver] { receiver.OnAvgReading(1, 5); });
    worker.join();
    context.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(handler.calls.empty());
}

TEST(CUiThreadPoster, CompletionsRunOnTheUserInterfaceThreadWhileTheirOwnerLives) {
    std::vector<int> results;
    auto poster = std::make_unique<CUiThreadPoster>();
    const std::function<void(int)> done = poster->Wrap(std::function<void(int)>([&results](int value) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        results.push_back(value);
    }));
    std::thread([done] { done(1); }).join();
    QCoreApplication::processEvents();
    std::thread([done] { done(2); }).join();
    poster.reset();
    std::thread([done] { done(3); }).join(); // the worker may still hold the completion
    QCoreApplication::processEvents();
    EXPECT_EQ(results, std::vector<int>{1});
}

TEST(CUiCallQueue, CallsOfSeveralQueuesRunInTheOrderTheyWerePosted) {
    std::vector<int> order;
    CUiCallQueue first;
    CUiCallQueue second;
    std::thread([&] {
        for (int call = 0; call < 6; ++call)
            (call % 3 == 0 ? second : first).Post([&order, call] { order.push_back(call); });
    }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}
