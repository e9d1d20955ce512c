#include "platform/job_scheduler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <latch>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace anitrope {
namespace {

// A one-thread pool whose thread is held by a first job until Release, so that everything
// submitted meanwhile waits in the queue and then runs in queue order on that one thread.
class HeldPool : public ::testing::Test {
  protected:
    void SetUp() override {
        blocker = scheduler->Submit([this, release = released.get_future().share()] {
            started.set_value();
            release.wait();
        });
        started.get_future().wait();
    }
    void TearDown() override { Release(); }

    void Release() {
        if (!releasedOnce) released.set_value();
        releasedOnce = true;
    }

    // A job that appends `name` to the run order.
    JobHandle Record(const std::string& name, JobPriority priority = JobPriority::Normal) {
        return scheduler->Submit([this, name] { order.push_back(name); }, priority);
    }

    // Releases the pool thread and returns the run order once everything queued so far ran.
    std::vector<std::string> RunOrder() {
        std::promise<void> drained;
        scheduler->Submit([&] { drained.set_value(); }, JobPriority::Background);
        Release();
        drained.get_future().wait();
        return order;
    }

    std::promise<void> started;
    std::promise<void> released;
    bool releasedOnce = false;
    std::vector<std::string> order;  // written by the pool thread only
    // Last, so that it is destroyed, joining its thread, before what its jobs use.
    std::unique_ptr<JobScheduler> scheduler = std::make_unique<JobScheduler>(1);
    JobHandle blocker;
};

using Order = std::vector<std::string>;

TEST_F(HeldPool, SameClassRunsInSubmissionOrder) {
    for (const char* name : {"a", "b", "c", "d"}) Record(name);
    EXPECT_EQ(RunOrder(), (Order{"a", "b", "c", "d"}));
}

TEST_F(HeldPool, HigherClassesRunFirstAndEachClassStaysInOrder) {
    Record("bg1", JobPriority::Background);
    Record("n1");
    Record("u1", JobPriority::Urgent);
    Record("bg2", JobPriority::Background);
    Record("u2", JobPriority::Urgent);
    Record("n2");
    EXPECT_EQ(RunOrder(), (Order{"u1", "u2", "n1", "n2", "bg1", "bg2"}));
}

TEST_F(HeldPool, PrioritizedJobJumpsEveryClassAndTheLatestGoesFirst) {
    Record("u", JobPriority::Urgent);
    Record("a");
    JobHandle b = Record("b", JobPriority::Background);
    JobHandle c = Record("c");
    EXPECT_TRUE(scheduler->Prioritize(b));
    EXPECT_TRUE(scheduler->Prioritize(c));
    EXPECT_EQ(RunOrder(), (Order{"c", "b", "u", "a"}));
}

TEST_F(HeldPool, OnlyQueuedJobsCanBePrioritized) {
    EXPECT_FALSE(scheduler->Prioritize(blocker));  // running
    EXPECT_FALSE(scheduler->Prioritize(JobHandle{}));
    JobHandle done = Record("done");
    scheduler->Wait(done);
    EXPECT_FALSE(scheduler->Prioritize(done));
}

TEST_F(HeldPool, WaitingForAnUnstartedJobRunsItOnTheWaitingThread) {
    std::thread::id ranOn;
    JobHandle job = scheduler->Submit([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(scheduler->Status(job), JobStatus::Queued);
    scheduler->Wait(job);  // the only pool thread is still held: this would hang otherwise
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(scheduler->Status(job), JobStatus::Finished);
    EXPECT_EQ(scheduler->Status(blocker), JobStatus::Running);
}

TEST_F(HeldPool, CancelledJobNeverRunsAndDropsWhatItCaptured) {
    auto captured = std::make_shared<int>(0);
    std::weak_ptr<int> watch = captured;
    JobHandle job = scheduler->Submit([captured] { ++*captured; });
    Record("kept");
    captured.reset();
    EXPECT_TRUE(scheduler->Cancel(job));
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(scheduler->Status(job), JobStatus::Cancelled);
    EXPECT_FALSE(scheduler->Cancel(job));
    scheduler->Wait(job);  // returns at once
    EXPECT_EQ(RunOrder(), (Order{"kept"}));
}

TEST_F(HeldPool, RunningAndFinishedJobsCannotBeCancelled) {
    EXPECT_FALSE(scheduler->Cancel(blocker));
    JobHandle done = Record("done");
    scheduler->Wait(done);
    EXPECT_FALSE(scheduler->Cancel(done));
    EXPECT_EQ(scheduler->Status(done), JobStatus::Finished);
}

TEST_F(HeldPool, DestructorCancelsQueuedJobsAndJoins) {
    constexpr int kQueued = 20;
    std::atomic<int> ran{0};
    std::latch dropped(kQueued);
    // Each job's capture counts down when the job's function is destroyed, run or not.
    struct Token {
        std::latch* latch;
        ~Token() { latch->count_down(); }
    };
    for (int i = 0; i < kQueued; ++i) {
        auto token = std::make_shared<Token>(&dropped);
        scheduler->Submit([token, &ran] { ++ran; });
    }
    std::thread destroyer([&] { scheduler.reset(); });
    // The pool thread is still held, so the captures can only go by cancellation.
    dropped.wait();
    Release();
    destroyer.join();
    EXPECT_EQ(ran.load(), 0);
}

TEST(JobScheduler, WaitForARunningJobBlocksUntilItFinishes) {
    JobScheduler scheduler(2);
    std::promise<void> started;
    std::promise<void> release;
    std::atomic<bool> finished{false};
    JobHandle job = scheduler.Submit([&] {
        started.set_value();
        release.get_future().wait();
        finished = true;
    });
    started.get_future().wait();
    EXPECT_EQ(scheduler.Status(job), JobStatus::Running);
    std::thread releaser([&] { release.set_value(); });
    scheduler.Wait(job);
    EXPECT_TRUE(finished.load());
    EXPECT_EQ(scheduler.Status(job), JobStatus::Finished);
    releaser.join();
}

TEST(JobScheduler, JobWaitingForAnotherOnTheOnlyThreadRunsItInline) {
    JobScheduler scheduler(1);
    std::atomic<bool> innerRan{false};
    JobHandle outer = scheduler.Submit([&] {
        JobHandle inner = scheduler.Submit([&] { innerRan = true; });
        scheduler.Wait(inner);
    });
    scheduler.Wait(outer);
    EXPECT_TRUE(innerRan.load());
}

TEST(JobScheduler, WaitRethrowsWhatTheJobThrewAndThePoolRunsOn) {
    JobScheduler scheduler(1);
    JobHandle failing = scheduler.Submit([] { throw std::runtime_error("no memory"); });
    EXPECT_THROW(scheduler.Wait(failing), std::runtime_error);
    std::atomic<bool> ran{false};
    JobHandle next = scheduler.Submit([&] { ran = true; });
    scheduler.Wait(next);
    EXPECT_TRUE(ran.load());
}

TEST(JobScheduler, ManyJobsFromManyThreadsEachRunExactlyOnce) {
    constexpr int kSubmitters = 6;
    constexpr int kJobsEach = 400;
    JobScheduler scheduler(4);
    std::vector<std::atomic<int>> runs(kSubmitters * kJobsEach);
    std::vector<std::thread> submitters;
    for (int s = 0; s < kSubmitters; ++s) {
        submitters.emplace_back([&, s] {
            std::vector<JobHandle> mine;
            for (int j = 0; j < kJobsEach; ++j) {
                const int slot = s * kJobsEach + j;
                const auto priority = static_cast<JobPriority>(j % 3);
                mine.push_back(scheduler.Submit([&runs, slot] { ++runs[slot]; }, priority));
                if (j % 7 == 0) scheduler.Prioritize(mine[j / 2]);
            }
            for (const JobHandle& job : mine) scheduler.Wait(job);
        });
    }
    for (std::thread& t : submitters) t.join();
    for (std::size_t i = 0; i < runs.size(); ++i) ASSERT_EQ(runs[i].load(), 1) << "job " << i;
}

TEST(JobScheduler, ThreadCountIsAtLeastOne) {
    EXPECT_GE(JobScheduler::DefaultThreadCount(), 1u);
    JobScheduler none(0);
    EXPECT_EQ(none.ThreadCount(), 1u);
    std::atomic<bool> ran{false};
    std::promise<void> done;
    none.Submit([&] {
        ran = true;
        done.set_value();
    });
    done.get_future().wait();  // ran on the pool thread, not inline
    EXPECT_TRUE(ran.load());
}

}  // namespace
}  // namespace anitrope
