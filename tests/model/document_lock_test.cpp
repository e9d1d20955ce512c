#include "model/document_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace anitrope {
namespace {

TEST(DocumentLockThreads, TheOwnerNestsItsHoldsAndReadersStayOutMeanwhile) {
    DocumentLock lock;
    EXPECT_FALSE(lock.HeldByThisThread());
    {
        ExclusiveDocumentLock change(&lock);
        ExclusiveDocumentLock inner(&lock);  // a change that waits for another one
        EXPECT_TRUE(lock.HeldByThisThread());
        bool readerGotIn = true;
        std::thread([&] { readerGotIn = lock.TryLockShared(); }).join();
        EXPECT_FALSE(readerGotIn);
    }
    EXPECT_FALSE(lock.HeldByThisThread());
    ASSERT_TRUE(lock.TryLockShared());
    lock.UnlockShared();
    ExclusiveDocumentLock nothing(nullptr);  // a document nobody shares
}

// A writer waits for the readers inside, and from the moment it waits no new reader gets in,
// so that a stream of readers cannot keep it out.
TEST(DocumentLockThreads, AWaitingWriterTurnsNewReadersAwayAndGoesFirst) {
    DocumentLock lock;
    ASSERT_TRUE(lock.TryLockShared());  // a composition inside
    std::atomic<bool> written{false};
    std::thread writer([&] {
        ExclusiveDocumentLock change(&lock);
        written = true;
    });
    while (lock.TryLockShared()) {  // until the writer waits
        lock.UnlockShared();
        std::this_thread::yield();
    }
    EXPECT_FALSE(written.load()) << "the writer did not wait for the reader inside";
    lock.UnlockShared();
    writer.join();
    EXPECT_TRUE(written.load());
    EXPECT_TRUE(lock.TryLockShared());
    lock.UnlockShared();
}

}  // namespace
}  // namespace anitrope
