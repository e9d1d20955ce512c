#include "model/convolve.h"

#include <gtest/gtest.h>

#include "model/true_color_bitmap.h"

namespace anitrope {
namespace {

EffectKernel Kernel(std::array<std::array<double, 3>, 3> weights, int32_t bias = 0) {
    EffectKernel k;
    k.weights = weights;
    k.bias = bias;
    return k;
}

const EffectKernel kBoxSum = Kernel({{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}});
const EffectKernel kIdentity = Kernel({{{0, 0, 0}, {0, 1, 0}, {0, 0, 0}}});
const EffectKernel kRightNeighbour = Kernel({{{0, 0, 0}, {0, 0, 1}, {0, 0, 0}}});

void Fill(TrueColorBitmap& b, uint32_t value) {
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x) b.Set(x, y, value);
}

TEST(Convolve, IdentityKernelCopiesOpaquePixels) {
    TrueColorBitmap source(2, 2), target(2, 2);
    source.Set(0, 0, 0x123456);
    source.Set(1, 1, 0xFEDCBA);
    Convolve3x3(kIdentity, target, source);
    EXPECT_EQ(target.Get(0, 0), 0x123456u);
    EXPECT_EQ(target.Get(1, 1), 0xFEDCBAu);
    EXPECT_EQ(target.Get(1, 0), 0u);
}

TEST(Convolve, NeighboursOutsideTheSourceAreLeftOut) {
    TrueColorBitmap source(3, 3), target(3, 3);
    Fill(source, 0x010203);
    Convolve3x3(kBoxSum, target, source);
    EXPECT_EQ(target.Get(0, 0), 0x04080Cu);  // corner: 4 terms
    EXPECT_EQ(target.Get(1, 0), 0x060C12u);  // edge: 6 terms
    EXPECT_EQ(target.Get(2, 1), 0x060C12u);
    EXPECT_EQ(target.Get(1, 1), 0x09121Bu);  // centre: all 9
    EXPECT_EQ(target.Get(2, 2), 0x04080Cu);
}

TEST(Convolve, TransparentPixelsAreCopiedWithTheirBit) {
    TrueColorBitmap source(2, 1), target(2, 1);
    source.Set(0, 0, 0x123456 | TransparentBit);
    source.Set(1, 0, 0x000010);
    Convolve3x3(kBoxSum, target, source);
    EXPECT_EQ(target.Get(0, 0), 0x123456 | TransparentBit);
    EXPECT_EQ(target.Get(1, 0), 0x808090u);  // grey for the transparent one, plus its own
}

TEST(Convolve, TransparentNeighbourCountsAsGrey) {
    TrueColorBitmap source(2, 1), target(2, 1);
    source.Set(0, 0, 0x010101);
    source.Set(1, 0, 0xFF0000 | TransparentBit);
    Convolve3x3(kRightNeighbour, target, source);
    EXPECT_EQ(target.Get(0, 0), 0x808080u);
}

TEST(Convolve, BiasIsAddedAndChannelsClamp) {
    TrueColorBitmap source(1, 1), target(1, 1);
    source.Set(0, 0, 0x050A14);
    Convolve3x3(Kernel({{{0, 0, 0}, {0, -1, 0}, {0, 0, 0}}}, 10), target, source);
    EXPECT_EQ(target.Get(0, 0), 0x050000u);  // 5, 0, -10 clamped to 0
    source.Set(0, 0, 0xC80102);
    Convolve3x3(Kernel({{{0, 0, 0}, {0, 2, 0}, {0, 0, 0}}}, 1), target, source);
    EXPECT_EQ(target.Get(0, 0), 0xFF0305u);  // 401 clamped to 255
}

TEST(Convolve, FractionalResultsAreTruncated) {
    TrueColorBitmap source(1, 1), target(1, 1);
    source.Set(0, 0, 0x0B0B0B);
    Convolve3x3(Kernel({{{0, 0, 0}, {0, 0.5, 0}, {0, 0, 0}}}), target, source);
    EXPECT_EQ(target.Get(0, 0), 0x050505u);
}

TEST(Convolve, TargetBeyondTheSourceUsesTheNeighboursThatExist) {
    TrueColorBitmap source(1, 1), target(3, 1);
    source.Set(0, 0, 0x0A0A0A);
    Convolve3x3(kBoxSum, target, source);
    EXPECT_EQ(target.Get(0, 0), 0x0A0A0Au);
    EXPECT_EQ(target.Get(1, 0), 0x0A0A0Au);
    EXPECT_EQ(target.Get(2, 0), 0u);  // no neighbour inside at all
}

TEST(Convolve, SmallerKernelIsCentredOnThePixel) {
    TrueColorBitmap source(2, 1), target(2, 1);
    source.Set(0, 0, 0x010203);
    source.Set(1, 0, 0x102030);
    EffectKernel single = Kernel({{{2, 9, 9}, {9, 9, 9}, {9, 9, 9}}});
    single.width = 1;
    single.height = 1;
    Convolve3x3(single, target, source);
    EXPECT_EQ(target.Get(0, 0), 0x020406u);
    EXPECT_EQ(target.Get(1, 0), 0x204060u);
}

}  // namespace
}  // namespace anitrope
