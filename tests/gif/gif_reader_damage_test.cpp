// Files damaged in random places: whatever the bytes say, the read ends with a defined
// status and a consistent frame list, and (under the sanitizers) touches no memory it does
// not own.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/gif_loading.h"
#include "support/sample_gifs.h"

namespace anitrope::test {
namespace {

::testing::AssertionResult ConsistentResult(const GifLoad& load) {
    const int code = static_cast<int>(load.status);
    if (code < 0 || code > 6)
        return ::testing::AssertionFailure() << "status " << code << " is not produced";
    if (load.status != GifReadStatus::Ok) {
        if (load.animation)
            return ::testing::AssertionFailure() << "failed read left a document behind";
        return ::testing::AssertionSuccess();
    }
    if (!load.animation->head) return ::testing::AssertionFailure() << "Ok without a frame";
    std::size_t index = 0;
    for (const Gif* g = load.animation->head; g; g = g->next, ++index) {
        if (g->next && g->next->prev != g)
            return ::testing::AssertionFailure() << "frame " << index << " is badly linked";
        if (!g->indexed || g->indexed->Width() != static_cast<int32_t>(g->width) ||
            g->indexed->Height() != static_cast<int32_t>(g->height))
            return ::testing::AssertionFailure() << "frame " << index << " has no bitmap of its "
                                                 << g->width << "x" << g->height << " size";
    }
    return ::testing::AssertionSuccess();
}

TEST(GifReaderDamage, RandomlyOverwrittenBytesEndCleanly) {
    std::mt19937 random(2024);
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        std::vector<uint8_t> bytes = RandomGif(seed);
        // Past the signature, or the read would stop at once.
        std::uniform_int_distribution<std::size_t> position(3, bytes.size() - 1);
        for (int n = static_cast<int>(random() % 4) + 1; n > 0; --n)
            bytes[position(random)] = static_cast<uint8_t>(random());
        SCOPED_TRACE(testing::Message() << "RandomGif(" << seed << ") overwritten");
        EXPECT_TRUE(ConsistentResult(ReadIntoNewAnimation(bytes)));
        if (testing::Test::HasFailure()) break;
    }
}

TEST(GifReaderDamage, RandomlyDroppedBytesEndCleanly) {
    // A missing byte shifts every block after it: lengths become data and data lengths.
    std::mt19937 random(99);
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        std::vector<uint8_t> bytes = RandomGif(seed);
        std::uniform_int_distribution<std::size_t> position(3, bytes.size() - 1);
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(position(random)));
        SCOPED_TRACE(testing::Message() << "RandomGif(" << seed << ") with a byte dropped");
        EXPECT_TRUE(ConsistentResult(ReadIntoNewAnimation(bytes)));
        if (testing::Test::HasFailure()) break;
    }
}

}  // namespace
}  // namespace anitrope::test
