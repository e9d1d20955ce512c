#include "model/document_lock.h"

namespace anitrope {

void DocumentLock::LockExclusive() {
    std::unique_lock lock(mutex_);
    if (depth_ > 0 && writer_ == std::this_thread::get_id()) {
        ++depth_;
        return;
    }
    writerWaits_ = true;
    readersLeft_.wait(lock, [this] { return readers_ == 0 && depth_ == 0; });
    writerWaits_ = false;
    writer_ = std::this_thread::get_id();
    depth_ = 1;
}

void DocumentLock::UnlockExclusive() {
    std::lock_guard lock(mutex_);
    if (depth_ > 0 && --depth_ == 0) {
        writer_ = std::thread::id();
        readersLeft_.notify_all();
    }
}

bool DocumentLock::HeldByThisThread() const {
    std::lock_guard lock(mutex_);
    return depth_ > 0 && writer_ == std::this_thread::get_id();
}

bool DocumentLock::TryLockShared() {
    std::lock_guard lock(mutex_);
    if (depth_ > 0 || writerWaits_) return false;
    ++readers_;
    return true;
}

void DocumentLock::UnlockShared() {
    std::lock_guard lock(mutex_);
    if (--readers_ == 0) readersLeft_.notify_all();
}

}  // namespace anitrope
