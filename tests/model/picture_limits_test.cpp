#include "model/picture_limits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace anitrope {
namespace {

TEST(ModelPictureLimits, AllowsUpToTheDimensionAndPixelBounds) {
    EXPECT_TRUE(PictureSizeAllowed(0, 0));
    EXPECT_TRUE(PictureSizeAllowed(kMaxPictureDimension, 1));
    EXPECT_TRUE(PictureSizeAllowed(kMaxPictureDimension, kMaxPicturePixels / kMaxPictureDimension));
}

TEST(ModelPictureLimits, RefusesNegativeOversizedAndTooManyPixels) {
    EXPECT_FALSE(PictureSizeAllowed(-1, 1));
    EXPECT_FALSE(PictureSizeAllowed(1, -1));
    EXPECT_FALSE(PictureSizeAllowed(kMaxPictureDimension + 1, 1));
    EXPECT_FALSE(PictureSizeAllowed(1, kMaxPictureDimension + 1));
    EXPECT_FALSE(
        PictureSizeAllowed(kMaxPictureDimension, kMaxPicturePixels / kMaxPictureDimension + 1));
    EXPECT_FALSE(PictureSizeAllowed(std::numeric_limits<int64_t>::max(),
                                    std::numeric_limits<int64_t>::max()));
}

TEST(ModelPictureLimits, CheckedBufferSizeMultipliesAllThreeFactors) {
    EXPECT_EQ(CheckedBufferSize(3, 4, 5), 60u);
    EXPECT_EQ(CheckedBufferSize(0, 1000, 4), 0u);
}

TEST(ModelPictureLimits, CheckedBufferSizeRefusesNegativeAndOverflow) {
    EXPECT_FALSE(CheckedBufferSize(-1, 4, 1));
    EXPECT_FALSE(CheckedBufferSize(4, -1, 1));
    constexpr int64_t big = int64_t{1} << 40;
    EXPECT_FALSE(CheckedBufferSize(big, big, 1));             // width x height overflows
    EXPECT_FALSE(CheckedBufferSize(int64_t{1} << 62, 1, 8));  // the element size overflows it
}

}  // namespace
}  // namespace anitrope
