#include <gtest/gtest.h>

#include <string>

#include "frame_fixtures.h"
#include "model/gif.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;
using testing::FillTrueColor;

class ModelDuplicate : public ::testing::Test {
  protected:
    Gif* Source(uint32_t w = 2, uint32_t h = 2) {
        Gif* g = AppendFrame(doc, w, h, 3, 4);
        g->name = "walk.gif";
        return g;
    }
    Gif* Target() { return AppendFrame(doc, 1, 1); }
    Animation doc;
};

TEST_F(ModelDuplicate, NamesTheCopy) {
    Gif* source = Source();
    Gif* target = Target();
    ASSERT_EQ(DuplicateGif(*source, target, false), 0);
    EXPECT_EQ(target->name, "Copy of walk.gif");
}

TEST_F(ModelDuplicate, CopyOfACopyKeepsItsName) {
    Gif* source = Source();
    source->name = "Copy of walk.gif";
    Gif* target = Target();
    ASSERT_EQ(DuplicateGif(*source, target, false), 0);
    EXPECT_EQ(target->name, "Copy of walk.gif");
}

TEST_F(ModelDuplicate, CopyNameIsCappedAt256Characters) {
    Gif* source = Source();
    source->name = std::string(300, 'x');
    Gif* target = Target();
    ASSERT_EQ(DuplicateGif(*source, target, false), 0);
    ASSERT_EQ(target->name.size(), 256u);
    EXPECT_EQ(target->name.substr(0, 8), "Copy of ");
    EXPECT_EQ(target->name.back(), 'x');
}

TEST_F(ModelDuplicate, CopiesGeometryTimingTransparencyPixelsAndPalette) {
    Gif* source = Source();
    FillIndexed(*source, {1, 2, 3, 4});
    source->delay = 12;
    source->transparent = 1;
    source->transparentIndex = 3;
    source->palette[2] = PaletteEntry{9, 8, 7};
    source->keepColors[1] = 0x123456;
    Gif* target = Target();
    ASSERT_EQ(DuplicateGif(*source, target, false), 0);
    EXPECT_EQ(target->left, 3);
    EXPECT_EQ(target->top, 4);
    EXPECT_EQ(target->width, 2u);
    EXPECT_EQ(target->height, 2u);
    EXPECT_EQ(target->delay, 12);
    EXPECT_EQ(target->transparent, 1);
    EXPECT_EQ(target->transparentIndex, 3);
    EXPECT_EQ(target->palette, source->palette);
    EXPECT_EQ(target->keepColors, source->keepColors);
    ASSERT_NE(target->indexed, nullptr);
    EXPECT_EQ(target->indexed->Owner(), target);
    EXPECT_EQ(target->indexed->Get(0, 0), 1);
    EXPECT_EQ(target->indexed->Get(1, 1), 4);
    EXPECT_EQ(target->trueColor, nullptr);
    EXPECT_EQ(IsIndexedReady(*target), 1);
}

TEST_F(ModelDuplicate, KeepsTheTargetsDisposalPaletteFlagAndComments) {
    Gif* source = Source();
    Gif* target = Target();  // before the source's flag changes: new frames inherit it
    source->disposal = DisposalRestorePrevious;
    source->usesLocalPalette = 0;
    source->comments.Append("source");
    target->disposal = DisposalDoNotDispose;
    target->comments.Append("target");
    ASSERT_EQ(DuplicateGif(*source, target, false), 0);
    EXPECT_EQ(target->disposal, DisposalDoNotDispose);
    EXPECT_EQ(target->usesLocalPalette, 1);
    ASSERT_EQ(target->comments.Size(), 1u);
    EXPECT_EQ(target->comments.At(0), "target");
}

// The true colour goes along when asked for, and always from a source awaiting its reduction,
// whose indexed pixels are not its picture yet; the copy then awaits one too.
TEST_F(ModelDuplicate, TrueColourIsCopiedWhenAskedOrWhileTheSourceAwaitsItsReduction) {
    struct Case {
        bool sourceTrueColor;
        int32_t sourceReady;
        bool withTrueColor;
        bool copied;
    };
    for (const Case& c : {Case{true, 0, false, true}, Case{true, 0, true, true},
                          Case{true, 1, true, true}, Case{true, 1, false, false},
                          Case{false, 1, true, false}, Case{false, 1, false, false}}) {
        SCOPED_TRACE(::testing::Message() << "source true colour " << c.sourceTrueColor
                                          << " ready " << c.sourceReady << " asked "
                                          << c.withTrueColor);
        Gif* source = Source();
        if (c.sourceTrueColor) FillTrueColor(*source, {0x010203, 0x040506 | TransparentBit, 7, 8});
        SetIndexedReady(*source, c.sourceReady);
        Gif* target = Target();
        ASSERT_EQ(DuplicateGif(*source, target, c.withTrueColor), 0);
        EXPECT_EQ(IsIndexedReady(*target), c.copied ? 0 : 1);
        if (!c.copied) {
            EXPECT_EQ(target->trueColor, nullptr);
            continue;
        }
        ASSERT_NE(target->trueColor, nullptr);
        EXPECT_NE(target->trueColor, source->trueColor) << "a copy, not the source's buffer";
        EXPECT_EQ(target->trueColor->Get(0, 0), 0x010203u);
        EXPECT_EQ(target->trueColor->Get(1, 0), 0x040506 | TransparentBit);
        EXPECT_EQ(target->trueColor->Get(1, 1), 8u);
    }
}

TEST_F(ModelDuplicate, NullTargetAndOversizedSourceFail) {
    Gif* source = Source();
    EXPECT_EQ(DuplicateGif(*source, nullptr, false), -1);
    Gif* huge = Source(20000, 1);  // beyond the picture limits: no pixels can be had
    EXPECT_EQ(DuplicateGif(*huge, Target(), false), 5);
}

}  // namespace
}  // namespace anitrope
