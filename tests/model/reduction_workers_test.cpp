#include "model/reduction_workers.h"

#include <gtest/gtest.h>

#include <memory>

#include "frame_fixtures.h"
#include "model/gif.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillTrueColor;

TEST(ModelReduction, AppliedResultBecomesTheFramesPixelsPaletteAndTransparency) {
    for (bool keepTrueColor : {true, false}) {
        SCOPED_TRACE(::testing::Message() << "keep true colour " << keepTrueColor);
        Animation doc;
        Gif* gif = AppendFrame(doc, 2, 1);
        gif->usesLocalPalette = 0;
        gif->bitsPerPixel = 3;
        gif->transparent = 0;
        gif->hasTransparentPixels = 1;
        FillTrueColor(*gif, {0x102030, 0x405060});
        SetIndexedReady(*gif, 0);
        const auto trueColor = gif->trueColor;

        ReductionResult result;
        result.palette[0] = PaletteEntry{0x10, 0x20, 0x30};
        result.indexed = std::make_shared<IndexedBitmap>(gif, 2, 1);
        result.indexed->Set(1, 0, 1);
        result.transparent = 1;
        result.transparentIndex = 7;
        result.hasTransparentPixels = 0;
        const IndexedBitmap* pixels = result.indexed.get();
        ApplyReduction(*gif, std::move(result), keepTrueColor);

        EXPECT_EQ(gif->indexed.get(), pixels);
        EXPECT_EQ(gif->palette[0], (PaletteEntry{0x10, 0x20, 0x30}));
        EXPECT_EQ(gif->usesLocalPalette, 1);
        EXPECT_EQ(gif->transparent, 1);
        EXPECT_EQ(gif->transparentIndex, 7);
        EXPECT_EQ(gif->hasTransparentPixels, 0);
        EXPECT_EQ(gif->bitsPerPixel, 8);
        EXPECT_EQ(IsIndexedReady(*gif), 1);
        EXPECT_FALSE(AwaitsReduction(*gif));
        EXPECT_EQ(gif->trueColor, keepTrueColor ? trueColor : nullptr);
    }
}

}  // namespace
}  // namespace anitrope
