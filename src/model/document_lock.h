#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace anitrope {

// Keeps background readers of a document (compositions) off it while its owner changes it.
//
// The owner thread writes: it takes the lock exclusively for each change, and again inside
// one (a change may wait for a reduction whose result is itself a change). It never takes the
// lock to read, since nothing else writes. Readers on other threads only try: while a change
// runs or waits to run they give up at once, so a change never waits behind a queue of
// readers, and a reader never blocks a thread that waits for it.
class DocumentLock {
public:
    DocumentLock() = default;
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;

    // Waits for the readers inside to leave; re-entrant for the thread that holds it.
    void LockExclusive();
    void UnlockExclusive();
    bool HeldByThisThread() const;

    // False, changing nothing, while a writer holds or waits for the lock.
    bool TryLockShared();
    void UnlockShared();

private:
    mutable std::mutex mutex_;
    std::condition_variable readersLeft_;
    int readers_ = 0;
    int depth_ = 0;           // nested exclusive holds of the writer
    bool writerWaits_ = false;
    std::thread::id writer_;
};

// Holds a document's lock exclusively for its scope; does nothing without a lock.
class ExclusiveDocumentLock {
public:
    explicit ExclusiveDocumentLock(DocumentLock* lock) : lock_(lock) {
        if (lock_) lock_->LockExclusive();
    }
    ~ExclusiveDocumentLock() {
        if (lock_) lock_->UnlockExclusive();
    }
    ExclusiveDocumentLock(const ExclusiveDocumentLock&) = delete;
    ExclusiveDocumentLock& operator=(const ExclusiveDocumentLock&) = delete;

private:
    DocumentLock* lock_;
};

}  // namespace anitrope
