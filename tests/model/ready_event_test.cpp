#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "model/gif.h"

namespace anitrope {
namespace {

bool Signaled(Gif& gif) {
    std::lock_guard lock(gif.stateLock);
    return gif.readySignaled;
}

TEST(ModelReadyEvent, SettingReadySignalsOnceAndWaitingConsumesIt) {
    Gif gif(nullptr);
    SetIndexedReady(gif, 0);
    EXPECT_EQ(IsIndexedReady(gif), 0);
    SetIndexedReady(gif, 1);
    EXPECT_EQ(IsIndexedReady(gif), 1);
    EXPECT_TRUE(Signaled(gif));
    WaitReadyEvent(gif);
    // Auto-reset: the signal is gone, so another wait would block until the next one.
    EXPECT_FALSE(Signaled(gif));
    EXPECT_EQ(IsIndexedReady(gif), 1);  // the flag itself stays
}

TEST(ModelReadyEvent, ASecondWaiterNeedsASecondSignal) {
    Gif gif(nullptr);
    SetIndexedReady(gif, 1);
    WaitReadyEvent(gif);

    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        WaitReadyEvent(gif);
        woke = true;
    });
    EXPECT_FALSE(woke.load());  // the consumed signal cannot release it
    SetIndexedReady(gif, 1);
    waiter.join();
    EXPECT_TRUE(woke.load());
    EXPECT_FALSE(Signaled(gif));
}

TEST(ModelReadyEvent, ClearingDropsAPendingSignal) {
    Gif gif(nullptr);
    SetIndexedReady(gif, 1);
    SetIndexedReady(gif, 0);
    EXPECT_FALSE(Signaled(gif));

    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        WaitReadyEvent(gif);
        woke = true;
    });
    EXPECT_FALSE(woke.load());
    SetIndexedReady(gif, 1);
    waiter.join();
    EXPECT_TRUE(woke.load());
}

TEST(ModelReadyEvent, WaitForReductionReturnsWhenTheWorkerEnds) {
    Gif gif(nullptr);
    WaitForReduction(gif);  // never had a worker: returns at once
    SetReductionFinished(gif, 0);
    std::thread worker([&] { SetReductionFinished(gif, 1); });
    WaitForReduction(gif);
    worker.join();
    std::lock_guard lock(gif.stateLock);
    EXPECT_EQ(gif.reductionFinished, 1);
}

}  // namespace
}  // namespace anitrope
