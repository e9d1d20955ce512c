#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace anitrope {

// Classes of queued work; a higher class always runs before a lower one.
enum class JobPriority : int32_t { Background = 0, Normal = 1, Urgent = 2 };

enum class JobStatus { Queued, Running, Finished, Cancelled };

struct JobState;

// Names one submitted job. Copies name the same job; an empty handle names none.
class JobHandle {
public:
    JobHandle() = default;
    explicit operator bool() const { return state_ != nullptr; }

private:
    friend class JobScheduler;
    explicit JobHandle(std::shared_ptr<JobState> state) : state_(std::move(state)) {}
    std::shared_ptr<JobState> state_;
};

// A fixed pool of threads running submitted functions. The next job taken is the one of the
// highest class, and within a class the one submitted first.
//
// Waiting for a job that has not started runs it on the waiting thread, so a pool thread
// that waits for another job, or an interface thread that waits while every pool thread is
// busy, never waits for a thread that cannot come.
//
// Every member may be called from any thread, pool threads included, except the destructor.
class JobScheduler {
public:
    // One thread per core, at least one.
    static std::size_t DefaultThreadCount();

    // Starts `threadCount` threads (0 counts as 1).
    explicit JobScheduler(std::size_t threadCount = DefaultThreadCount());
    // Cancels the queued jobs, lets the running ones finish and joins the threads. No other
    // member may be running or called meanwhile.
    ~JobScheduler();
    JobScheduler(const JobScheduler&) = delete;
    JobScheduler& operator=(const JobScheduler&) = delete;

    JobHandle Submit(std::function<void()> work, JobPriority priority = JobPriority::Normal);

    // Moves a queued job to the front of the queue, ahead of every class: it is the next job
    // taken, until another one is prioritized after it. False when the job is not queued.
    bool Prioritize(const JobHandle& job);

    // Returns once the job has finished or was cancelled. A queued job is taken off the queue
    // and run here. When the job ended by throwing, its exception is rethrown here (a job
    // nobody waits for just ends).
    void Wait(const JobHandle& job);

    // Takes a queued job off the queue and drops its function at once. False, changing
    // nothing, when the job is running or has ended.
    bool Cancel(const JobHandle& job);

    // An empty handle counts as cancelled.
    JobStatus Status(const JobHandle& job) const;
    std::size_t ThreadCount() const { return threads_.size(); }

private:
    // Queue order: larger rank first, then smaller sequence.
    struct QueueKey {
        int64_t rank;
        int64_t sequence;
        bool operator<(const QueueKey& other) const {
            return rank != other.rank ? rank > other.rank : sequence < other.sequence;
        }
    };
    using Queue = std::map<QueueKey, std::shared_ptr<JobState>>;

    void WorkerLoop();
    // Runs a job taken off the queue (status Running) and records how it ended.
    void Run(JobState& job);
    std::shared_ptr<JobState> TakeQueued(JobState& job);

    mutable std::mutex lock_;
    std::condition_variable workQueued_;
    std::condition_variable jobEnded_;
    Queue queue_;
    int64_t nextSequence_ = 0;
    int64_t nextFrontSequence_ = 0;  // counts down, so the latest prioritized job comes first
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace anitrope
