#include "model/frame_alloc.h"

#include <gtest/gtest.h>

#include <limits>

#include "frame_fixtures.h"
#include "model/gif.h"

namespace anitrope {
namespace {

TEST(FrameAlloc, IndexedTakesTheSizeAndIsOwnedByTheFrame) {
    Gif gif(nullptr);
    EXPECT_EQ(AllocIndexed(gif, 7, 3), 0);
    EXPECT_EQ(gif.width, 7u);
    EXPECT_EQ(gif.height, 3u);
    ASSERT_NE(gif.indexed, nullptr);
    EXPECT_EQ(gif.indexed->Owner(), &gif);
    EXPECT_EQ(gif.indexed->Width(), 7);
    EXPECT_EQ(gif.indexed->Height(), 3);
    EXPECT_TRUE(gif.indexed->HasRows());
    EXPECT_EQ(gif.indexed->Get(6, 2), 0);
}

TEST(FrameAlloc, IndexedReplacesEarlierPixels) {
    Gif gif(nullptr);
    AllocIndexed(gif, 2, 2);
    gif.indexed->Set(0, 0, 9);
    AllocIndexed(gif, 2, 2);
    EXPECT_EQ(gif.indexed->Get(0, 0), 0);
}

TEST(FrameAlloc, SizesBeyondInt32GetNoRowsInsteadOfWrapping) {
    Gif gif(nullptr);
    // 2^32 - 1 would wrap to -1 as int32 and 2^31 + 1 to a negative width.
    AllocIndexed(gif, std::numeric_limits<uint32_t>::max(), (1u << 31) + 1);
    EXPECT_FALSE(gif.indexed->HasRows());
    EXPECT_EQ(gif.indexed->Width(), std::numeric_limits<int32_t>::max());
    AllocTrueColor(gif);
    EXPECT_FALSE(gif.trueColor->HasRows());
}

TEST(FrameAlloc, TrueColorHasTheFrameSizeAndMarksItPending) {
    Gif gif(nullptr);
    AllocIndexed(gif, 4, 5);
    ASSERT_EQ(IsIndexedReady(gif), 1);
    EXPECT_EQ(AllocTrueColor(gif), 0);
    EXPECT_EQ(IsIndexedReady(gif), 0);
    ASSERT_NE(gif.trueColor, nullptr);
    EXPECT_EQ(gif.trueColor->Width(), 4);
    EXPECT_EQ(gif.trueColor->Height(), 5);
    EXPECT_EQ(gif.trueColor->Get(3, 4), 0u);
}

}  // namespace
}  // namespace anitrope
