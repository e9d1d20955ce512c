#include "platform/job_scheduler.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace anitrope {

// Guarded by the scheduler's lock, except `work`, which only the thread that took the job
// off the queue touches afterwards.
struct JobState {
    std::function<void()> work;
    JobStatus status = JobStatus::Queued;
    int64_t rank = 0;
    int64_t sequence = 0;
    std::exception_ptr error;
};

namespace {

// Above every JobPriority.
constexpr int64_t kFrontRank = std::numeric_limits<int64_t>::max();

}  // namespace

std::size_t JobScheduler::DefaultThreadCount() {
    return std::max<std::size_t>(1, std::thread::hardware_concurrency());
}

JobScheduler::JobScheduler(std::size_t threadCount) {
    threadCount = std::max<std::size_t>(1, threadCount);
    threads_.reserve(threadCount);
    for (std::size_t i = 0; i < threadCount; ++i) threads_.emplace_back([this] { WorkerLoop(); });
}

JobScheduler::~JobScheduler() {
    Queue dropped;
    {
        std::lock_guard lock(lock_);
        stopping_ = true;
        dropped.swap(queue_);
        for (auto& [key, job] : dropped) job->status = JobStatus::Cancelled;
    }
    workQueued_.notify_all();
    jobEnded_.notify_all();
    // The functions are destroyed here, outside the lock: what they captured may call back.
    for (auto& [key, job] : dropped) job->work = nullptr;
    for (std::thread& thread : threads_) thread.join();
}

JobHandle JobScheduler::Submit(std::function<void()> work, JobPriority priority) {
    auto job = std::make_shared<JobState>();
    job->work = std::move(work);
    bool queued = false;
    {
        std::lock_guard lock(lock_);
        if (stopping_) {
            job->status = JobStatus::Cancelled;
        } else {
            job->rank = static_cast<int64_t>(priority);
            job->sequence = nextSequence_++;
            queue_.emplace(QueueKey{job->rank, job->sequence}, job);
            queued = true;
        }
    }
    if (queued) {
        workQueued_.notify_one();
    } else {
        job->work = nullptr;  // submitted while shutting down: never runs
    }
    return JobHandle(job);
}

std::shared_ptr<JobState> JobScheduler::TakeQueued(JobState& job) {
    auto node = queue_.extract(QueueKey{job.rank, job.sequence});
    return node ? std::move(node.mapped()) : nullptr;
}

bool JobScheduler::Prioritize(const JobHandle& handle) {
    if (!handle) return false;
    std::lock_guard lock(lock_);
    JobState& job = *handle.state_;
    if (job.status != JobStatus::Queued) return false;
    std::shared_ptr<JobState> taken = TakeQueued(job);
    job.rank = kFrontRank;
    job.sequence = --nextFrontSequence_;
    queue_.emplace(QueueKey{job.rank, job.sequence}, std::move(taken));
    return true;
}

bool JobScheduler::Cancel(const JobHandle& handle) {
    if (!handle) return false;
    std::shared_ptr<JobState> taken;
    {
        std::lock_guard lock(lock_);
        JobState& job = *handle.state_;
        if (job.status != JobStatus::Queued) return false;
        taken = TakeQueued(job);
        job.status = JobStatus::Cancelled;
    }
    jobEnded_.notify_all();
    taken->work = nullptr;
    return true;
}

void JobScheduler::Wait(const JobHandle& handle) {
    if (!handle) return;
    JobState& job = *handle.state_;
    std::unique_lock lock(lock_);
    if (job.status == JobStatus::Queued) {
        TakeQueued(job);  // the handle keeps the job alive
        job.status = JobStatus::Running;
        lock.unlock();
        Run(job);
        lock.lock();
    } else {
        jobEnded_.wait(lock, [&] {
            return job.status == JobStatus::Finished || job.status == JobStatus::Cancelled;
        });
    }
    if (job.error) std::rethrow_exception(job.error);
}

JobStatus JobScheduler::Status(const JobHandle& handle) const {
    if (!handle) return JobStatus::Cancelled;
    std::lock_guard lock(lock_);
    return handle.state_->status;
}

void JobScheduler::Run(JobState& job) {
    std::exception_ptr error;
    try {
        job.work();
    } catch (...) {
        error = std::current_exception();
    }
    job.work = nullptr;  // what it captured goes before anyone learns it finished
    {
        std::lock_guard lock(lock_);
        job.error = error;
        job.status = JobStatus::Finished;
    }
    jobEnded_.notify_all();
}

void JobScheduler::WorkerLoop() {
    for (;;) {
        std::shared_ptr<JobState> job;
        {
            std::unique_lock lock(lock_);
            workQueued_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;  // stopping, and the queue was cancelled
            job = std::move(queue_.extract(queue_.begin()).mapped());
            job->status = JobStatus::Running;
        }
        Run(*job);
    }
}

}  // namespace anitrope
