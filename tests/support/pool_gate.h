#pragma once

#include <future>

#include "platform/job_scheduler.h"

namespace anitrope::test {

// Holds a pool's only thread until released, so that jobs submitted meanwhile stay queued.
class PoolGate {
public:
    explicit PoolGate(JobScheduler& scheduler) {
        // The job holds its own end of the promise: it may start only after the gate is gone.
        job_ = scheduler.Submit([opened = released_.get_future().share()] { opened.wait(); },
                                JobPriority::Urgent);
    }
    ~PoolGate() { Release(); }
    PoolGate(const PoolGate&) = delete;
    PoolGate& operator=(const PoolGate&) = delete;
    void Release() {
        if (!done_) released_.set_value();
        done_ = true;
    }

private:
    std::promise<void> released_;
    bool done_ = false;
    JobHandle job_;
};

}  // namespace anitrope::test
